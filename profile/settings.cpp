// Loading and saving the persistent part of the player record as config.json.
#include "profile/settings.h"

#include <picojson.h>

#include <cmath>
#include <optional>
#include <string>
#include <system_error>

#include "profile/catalogue.h"
#include "services/record_file.h"
#include "profile/settings_text.h"
#include "util/numeric.h"
#include "util/utf.h"

namespace orelog {

namespace {

constexpr const char* kVersionKey = "Version";
constexpr const char* kPlayerNameKey = "Player Name";
constexpr const char* kPlayTimeKey = "Play Time";
constexpr const char* kServerKey = "Server";
constexpr const char* kApiKeyKey = "API Key";
constexpr const char* kLastTimestampKey = "Last Timestamp";
constexpr const char* kPayoutKey = "Payout";
constexpr const char* kLevelKey = "Level";
constexpr const char* kExperienceKey = "Experience";
constexpr const char* kCoinSpentKey = "Poko Coin Coin Spent";
constexpr const char* kPointsKey = "Poko Point";
constexpr const char* kItemsKey = "Items";
constexpr const char* kItemIdKey = "Item ID";
constexpr const char* kItemXKey = "X";
constexpr const char* kItemYKey = "Y";

constexpr int32_t kDefaultLevel = 1;
constexpr int64_t kDefaultExperience = 10;  // the threshold of level 1
// Texts are written through a 256-byte buffer that holds the terminator too.
constexpr std::size_t kUtf8FieldBytes = 256;
constexpr std::size_t kMaxNestingDepth = picojson::DEFAULT_MAX_DEPTHS;
constexpr const char* kBrokenSuffix = ".broken";

// ---- Parsing -------------------------------------------------------------------------------

// A parse context that adds a member or an element to its container only once its whole value
// has been read, so after a syntax error the value holds exactly the members completed before it
// (the library's own context leaves the member in progress behind, half-read or null). Objects
// count towards the nesting limit as arrays do, so deep nesting cannot exhaust the stack.
class CompletedValuesContext {
 public:
  CompletedValuesContext(picojson::value* out, std::size_t depthLeft, bool* outOfRange)
      : out_(out), depthLeft_(depthLeft), outOfRange_(outOfRange) {}

  bool set_null() { return set(picojson::value()); }
  bool set_bool(bool b) { return set(picojson::value(b)); }
  // A number beyond the double range (1e400) is no figure the game wrote: the text is damaged.
  // Reading stops there, and the caller learns of it.
  bool set_number(double f) {
    if (!std::isfinite(f)) {
      *outOfRange_ = true;
      return false;
    }
    return set(picojson::value(f));
  }
  template <typename Iter>
  bool parse_string(picojson::input<Iter>& in) {
    std::string text;
    return picojson::_parse_string(text, in) && set(picojson::value(std::move(text)));
  }

  bool parse_array_start() { return enter(picojson::array_type); }
  template <typename Iter>
  bool parse_array_item(picojson::input<Iter>& in, std::size_t) {
    std::optional<picojson::value> element = parseChild(in);
    if (!element) return false;
    out_->get<picojson::array>().push_back(std::move(*element));
    return true;
  }
  bool parse_array_stop(std::size_t) { return leave(); }

  bool parse_object_start() { return enter(picojson::object_type); }
  template <typename Iter>
  bool parse_object_item(picojson::input<Iter>& in, const std::string& key) {
    std::optional<picojson::value> member = parseChild(in);
    if (!member) return false;
    out_->get<picojson::object>()[key] = std::move(*member);  // a repeated name: the last one wins
    return true;
  }
  bool parse_object_stop() { return leave(); }

 private:
  bool set(picojson::value value) {
    *out_ = std::move(value);
    return true;
  }
  bool enter(int type) {
    if (depthLeft_ == 0) return false;
    --depthLeft_;
    *out_ = picojson::value(type, false);
    return true;
  }
  bool leave() {
    ++depthLeft_;
    return true;
  }
  template <typename Iter>
  std::optional<picojson::value> parseChild(picojson::input<Iter>& in) {
    picojson::value child;
    CompletedValuesContext context(&child, depthLeft_, outOfRange_);
    if (!picojson::_parse(context, in)) return std::nullopt;
    return child;
  }

  picojson::value* out_;
  std::size_t depthLeft_;
  bool* outOfRange_;
};

struct ParsedText {
  picojson::value value;
  bool clean = false;       // no syntax error
  bool outOfRange = false;  // a number beyond the double range: the whole load fails
};

// One JSON value from the start of the text; whatever follows it is not looked at.
ParsedText parseSettingsText(const std::string& text) {
  ParsedText parsed;
  CompletedValuesContext context(&parsed.value, kMaxNestingDepth, &parsed.outOfRange);
  std::string error;
  picojson::_parse(context, text.begin(), text.end(), &error);
  parsed.clean = error.empty() && !parsed.outOfRange;
  return parsed;
}

// ---- Reading the members -------------------------------------------------------------------

// A member is absent, present with the wanted type, or present with another type (a fault).
template <typename T>
bool readMember(const picojson::object& object, const char* key, T& out) {
  const auto found = object.find(key);
  if (found == object.end()) return true;
  if (!found->second.is<T>()) return false;
  out = found->second.get<T>();
  return true;
}

// The text up to its first NUL, as a terminated field holds it.
std::string untilNul(const std::string& text) { return text.substr(0, text.find('\0')); }

// The scalar members as read from the file, absent ones holding their defaults.
struct SavedScalars {
  double version = kSettingsVersion;
  std::string playerName, server, apiKey;
  double playTime = 0, lastTimestamp = 0, payout = 0, level = kDefaultLevel, experience = kDefaultExperience;
  double coinSpent = 0, points = 0;
};

bool readScalars(const picojson::object& object, SavedScalars& saved) {
  return readMember(object, kVersionKey, saved.version) && readMember(object, kPlayerNameKey, saved.playerName) &&
         readMember(object, kPlayTimeKey, saved.playTime) && readMember(object, kServerKey, saved.server) &&
         readMember(object, kApiKeyKey, saved.apiKey) && readMember(object, kLastTimestampKey, saved.lastTimestamp) &&
         readMember(object, kPayoutKey, saved.payout) && readMember(object, kLevelKey, saved.level) &&
         readMember(object, kExperienceKey, saved.experience) && readMember(object, kCoinSpentKey, saved.coinSpent) &&
         readMember(object, kPointsKey, saved.points);
}

void storeScalars(const SavedScalars& saved, PlayerRecord& record) {
  record.version = truncateToInt32(saved.version);
  // A name that does not fit the 64-unit field is dropped whole; a URL or key is cut to fit.
  record.playerName = utf8ToUtf16Field(untilNul(saved.playerName), kPlayerNameCapacity).value_or(u"");
  record.playTimeMs = truncateToInt64(saved.playTime);
  record.serverUrl = truncateUtf16(utf8ToUtf16(untilNul(saved.server)), kServerUrlMaxUnits);
  record.apiKey = truncateUtf16(utf8ToUtf16(untilNul(saved.apiKey)), kApiKeyMaxUnits);
  record.lastTimestamp = truncateToInt64(saved.lastTimestamp);
  record.payout = saved.payout;
  record.level = truncateToInt32(saved.level);
  record.experience = truncateToInt64(saved.experience);
  refreshExperienceToNext(record);
  record.coinSpent = saved.coinSpent;
  record.points = truncateToInt32(saved.points);
}

enum class ItemRead { Appended, NotAKind, Fault };

ItemRead appendItem(const picojson::value& element, PlayerRecord& record) {
  if (!element.is<picojson::object>()) return ItemRead::Fault;
  const picojson::object& item = element.get<picojson::object>();
  const auto id = item.find(kItemIdKey);
  if (id == item.end() || !id->second.is<double>()) return ItemRead::Fault;
  const int64_t kind = truncateToInt64(id->second.get<double>());
  if (!isItemKind(kind)) return ItemRead::NotAKind;
  const auto x = item.find(kItemXKey);
  const auto y = item.find(kItemYKey);
  if (x == item.end() || y == item.end() || !x->second.is<double>() || !y->second.is<double>()) {
    return ItemRead::Fault;
  }
  record.items.push_back(ownedItemOfKind(static_cast<int32_t>(kind), truncateToInt32(x->second.get<double>()),
                                         truncateToInt32(y->second.get<double>())));
  return ItemRead::Appended;
}

// Appends the saved items in file order; reading ends quietly at the first identifier that is
// not an item kind. False on a fault; the items appended before it stay.
bool readItems(const picojson::object& object, PlayerRecord& record) {
  const auto found = object.find(kItemsKey);
  if (found == object.end()) return true;
  if (!found->second.is<picojson::array>()) return false;
  for (const picojson::value& element : found->second.get<picojson::array>()) {
    const ItemRead read = appendItem(element, record);
    if (read == ItemRead::Fault) return false;
    if (read == ItemRead::NotAKind) break;
  }
  return true;
}

bool readSettings(const picojson::value& value, PlayerRecord& record) {
  if (!value.is<picojson::object>()) return false;
  const picojson::object& object = value.get<picojson::object>();
  SavedScalars saved;
  if (!readScalars(object, saved)) return false;
  storeScalars(saved, record);
  return readItems(object, record);
}

void applyDefaults(PlayerRecord& record) {
  record.version = kSettingsVersion;
  record.playerName.clear();
  record.serverUrl.clear();
  record.apiKey.clear();
  record.playTimeMs = 0;
  record.lastTimestamp = 0;
  record.payout = 0.0;
  record.level = kDefaultLevel;
  record.experience = kDefaultExperience;
  refreshExperienceToNext(record);
  record.coinSpent = 0.0;
  record.points = 0;
}

// A file that was not read cleanly is kept as "<name>.broken" (replacing an older copy) before
// the next save can overwrite it, so the player's progress can still be recovered by hand.
void keepBrokenCopy(const std::filesystem::path& file) {
  std::filesystem::path copy = file;
  copy += kBrokenSuffix;
  std::error_code ignored;
  std::filesystem::copy_file(file, copy, std::filesystem::copy_options::overwrite_existing, ignored);
}

// ---- Writing -------------------------------------------------------------------------------

// UTF-8 through the 256-byte buffer: longer forms are cut on a character boundary.
picojson::value textValue(const std::u16string& text) {
  return picojson::value(truncateUtf8(utf16ToUtf8(text), kUtf8FieldBytes - 1));
}

picojson::value numberValue(double number) { return picojson::value(number); }

picojson::value itemsValue(const std::vector<OwnedItem>& items) {
  picojson::array array;
  for (const OwnedItem& item : items) {
    picojson::object object;
    object[kItemIdKey] = numberValue(item.itemId);
    object[kItemXKey] = numberValue(item.x);
    object[kItemYKey] = numberValue(item.y);
    array.emplace_back(std::move(object));
  }
  return picojson::value(std::move(array));
}

// The library's object is ordered by member name, which is the order the file has.
std::string serialise(const PlayerRecord& record) {
  picojson::object object;
  object[kVersionKey] = numberValue(record.version);
  object[kPlayerNameKey] = textValue(record.playerName);
  object[kPlayTimeKey] = numberValue(static_cast<double>(record.playTimeMs));
  object[kServerKey] = textValue(record.serverUrl);
  object[kApiKeyKey] = textValue(record.apiKey);
  object[kLastTimestampKey] = numberValue(static_cast<double>(record.lastTimestamp));
  object[kPayoutKey] = numberValue(record.payout);
  object[kLevelKey] = numberValue(record.level);
  object[kExperienceKey] = numberValue(static_cast<double>(record.experience));
  object[kCoinSpentKey] = numberValue(record.coinSpent);
  object[kPointsKey] = numberValue(record.points);
  object[kItemsKey] = itemsValue(record.items);
  return picojson::value(std::move(object)).serialize();
}

}  // namespace

SettingsTextRead readSettingsText(PlayerRecord& record, std::string_view text) {
  const ParsedText parsed = parseSettingsText(std::string(text));
  const bool loaded = !parsed.outOfRange && readSettings(parsed.value, record);
  if (!loaded) applyDefaults(record);
  return {loaded, parsed.clean};
}

std::optional<std::string> settingsText(const PlayerRecord& record) {
  // The library cannot hold a number that is not finite.
  if (!std::isfinite(record.payout) || !std::isfinite(record.coinSpent)) return std::nullopt;
  return serialise(record);
}

bool loadSettings(PlayerRecord& record, const std::filesystem::path& file, uint32_t nowTick) {
  record.lastTick = nowTick;
  record.balance = 0.0;
  const RecordFileRead read = readRecordFile(file);
  const SettingsTextRead result =
      readSettingsText(record, read.state == RecordFileState::Read ? read.bytes : "");
  const bool loaded = read.state == RecordFileState::Read && result.loaded;
  if (read.state != RecordFileState::Missing && (!loaded || !result.clean)) keepBrokenCopy(file);
  return loaded;
}

bool saveSettings(const PlayerRecord& record, const std::filesystem::path& file) {
  // A number that is not finite cannot be written; the old file stays as it was.
  const std::optional<std::string> text = settingsText(record);
  return text && replaceRecordFile(file, *text);
}

}  // namespace orelog

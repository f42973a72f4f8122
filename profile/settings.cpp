// Loading and saving the persistent part of the player record as config.json.
#include "profile/settings.h"

#include <picojson.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <map>
#include <optional>
#include <string>

#include "profile/settings_parse.h"
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
// Written only once the pool has sent transaction ids, so a record without ids keeps its old text.
constexpr const char* kLastTransactionIdKey = "Last Transaction Id";
const std::vector<std::string_view> kScalarKeys = {kVersionKey,    kPlayerNameKey, kPlayTimeKey,      kServerKey,
                                                   kApiKeyKey,     kLastTimestampKey, kPayoutKey,     kLevelKey,
                                                   kExperienceKey, kCoinSpentKey,  kPointsKey, kLastTransactionIdKey};

constexpr int32_t kDefaultLevel = 1;
constexpr int64_t kDefaultExperience = 10;  // the threshold of level 1
constexpr const char* kBrokenSuffix = ".broken";
constexpr int kBrokenCopyNames = 9;  // ".broken", ".broken-2" ... ".broken-9"

// ---- Reading the members -------------------------------------------------------------------

// A member is absent, present with the wanted type, or present with another type (a fault).
template <typename T>
bool readMember(const ParsedSettings& parsed, const char* key, T& out) {
  const auto found = parsed.scalars.find(std::string_view(key));
  if (found == parsed.scalars.end()) return true;
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
  double lastTransactionId = 0;
};

bool readScalars(const ParsedSettings& object, SavedScalars& saved) {
  return readMember(object, kVersionKey, saved.version) && readMember(object, kPlayerNameKey, saved.playerName) &&
         readMember(object, kPlayTimeKey, saved.playTime) && readMember(object, kServerKey, saved.server) &&
         readMember(object, kApiKeyKey, saved.apiKey) && readMember(object, kLastTimestampKey, saved.lastTimestamp) &&
         readMember(object, kPayoutKey, saved.payout) && readMember(object, kLevelKey, saved.level) &&
         readMember(object, kExperienceKey, saved.experience) && readMember(object, kCoinSpentKey, saved.coinSpent) &&
         readMember(object, kPointsKey, saved.points) &&
         readMember(object, kLastTransactionIdKey, saved.lastTransactionId);
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
  record.lastTransactionId = std::max<int64_t>(truncateToInt64(saved.lastTransactionId), 0);
}

// Appends the saved items in file order; reading ended quietly at the first identifier that is
// not an item kind. False on a fault; the items appended before it stay.
bool readItems(ParsedSettings& parsed, PlayerRecord& record) {
  if (!parsed.items) return true;
  if (!parsed.items->isArray) return false;
  std::vector<OwnedItem>& items = parsed.items->items;
  if (record.items.empty()) {
    record.items = std::move(items);  // a large list is not copied
  } else {
    record.items.insert(record.items.end(), items.begin(), items.end());
  }
  return parsed.items->end != ItemsEnd::Fault;
}

bool readSettings(ParsedSettings& parsed, PlayerRecord& record) {
  if (!parsed.isObject) return false;
  SavedScalars saved;
  if (!readScalars(parsed, saved)) return false;
  storeScalars(saved, record);
  return readItems(parsed, record);
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
  record.lastTransactionId = 0;
}

// "<name>.broken", then "<name>.broken-2" and on: false when none could take the copy.
bool keepBrokenCopy(const std::filesystem::path& file) {
  for (int number = 1; number <= kBrokenCopyNames; ++number) {
    std::filesystem::path copy = file;
    copy += kBrokenSuffix;
    if (number > 1) copy += "-" + std::to_string(number);
    const RecordCopy made = copyRecordFile(file, copy);
    if (made == RecordCopy::Kept || made == RecordCopy::NothingToCopy) return true;
  }
  return false;
}

// ---- Writing -------------------------------------------------------------------------------

// UTF-8 through the 256-byte buffer: longer forms are cut on a character boundary.
std::string textJson(const std::u16string& text) {
  return picojson::value(truncateUtf8(utf16ToUtf8(text), kSavedTextMaxBytes)).serialize();
}

std::string numberJson(double number) { return picojson::value(number).serialize(); }

// An item's member: the library writes a whole number below 2^53 as plain decimal digits, which is
// what to_chars gives for a 32-bit integer, at a fraction of the cost of its printf.
template <typename Text>
void appendItemMember(Text& out, const std::string& key, int32_t number) {
  out += key;
  out += ':';
  char digits[16];
  const auto end = std::to_chars(std::begin(digits), std::end(digits), number).ptr;
  out.append(digits, static_cast<std::size_t>(end - digits));
}

// The items straight into the text, without a tree of them; false once the text has grown past
// what a load accepts.
template <typename Text>
bool appendItemsJson(const std::vector<OwnedItem>& items, Text& out) {
  static const std::string idKey = picojson::value(kItemIdKey).serialize();
  static const std::string xKey = picojson::value(kItemXKey).serialize();
  static const std::string yKey = picojson::value(kItemYKey).serialize();
  out += '[';
  for (std::size_t i = 0; i < items.size(); ++i) {
    out += i > 0 ? ",{" : "{";
    appendItemMember(out, idKey, items[i].itemId);
    out += ',';
    appendItemMember(out, xKey, items[i].x);
    out += ',';
    appendItemMember(out, yKey, items[i].y);
    out += '}';
    if (out.size() > kRecordFileMaxBytes) return false;
  }
  out += ']';
  return true;
}

// The library cannot write a number that is not finite.
bool numbersCanBeWritten(const PlayerRecord& record) {
  return std::isfinite(record.payout) && std::isfinite(record.coinSpent);
}

// Counts what a text would hold, so a record's size is known without the memory of its text.
class TextLength {
 public:
  TextLength& operator+=(char) { return append(nullptr, 1); }
  TextLength& operator+=(std::string_view text) { return append(text.data(), text.size()); }
  TextLength& append(const char*, std::size_t count) {
    length_ += count;
    return *this;
  }
  std::size_t size() const { return length_; }

 private:
  std::size_t length_ = 0;
};

// The historical members in ascending byte order of their names, as the library's ordered object
// writes them, so their text is the one the library would give for the whole record; members added
// later follow them. False when the text would
// be larger than a load accepts.
template <typename Text>
bool serialise(const PlayerRecord& record, Text& out) {
  std::map<std::string_view, std::optional<std::string>> members = {
      {kVersionKey, numberJson(record.version)},
      {kPlayerNameKey, textJson(record.playerName)},
      {kPlayTimeKey, numberJson(static_cast<double>(record.playTimeMs))},
      {kServerKey, textJson(record.serverUrl)},
      {kApiKeyKey, textJson(record.apiKey)},
      {kLastTimestampKey, numberJson(static_cast<double>(record.lastTimestamp))},
      {kPayoutKey, numberJson(record.payout)},
      {kLevelKey, numberJson(record.level)},
      {kExperienceKey, numberJson(static_cast<double>(record.experience))},
      {kCoinSpentKey, numberJson(record.coinSpent)},
      {kPointsKey, numberJson(record.points)},
      {kItemsKey, std::nullopt},  // written in its place straight from the list
  };
  out += '{';
  bool first = true;
  for (const auto& [key, json] : members) {
    if (!first) out += ',';
    first = false;
    out += picojson::value(std::string(key)).serialize() + ':';
    if (json) {
      out += *json;
    } else if (!appendItemsJson(record.items, out)) {
      return false;
    }
  }
  // Members added later are written after the historical ones, which keep their text and order.
  if (record.lastTransactionId > 0) {
    out += ',' + picojson::value(kLastTransactionIdKey).serialize() + ':' +
           numberJson(static_cast<double>(record.lastTransactionId));
  }
  out += '}';
  return out.size() <= kRecordFileMaxBytes;
}

}  // namespace

SettingsTextRead readSettingsText(PlayerRecord& record, std::string_view text) {
  ParsedSettings parsed = parseSettings(text, kScalarKeys);
  const bool loaded = !parsed.outOfRange && readSettings(parsed, record);
  if (!loaded) applyDefaults(record);
  return {loaded, parsed.clean};
}

std::optional<std::string> settingsText(const PlayerRecord& record) {
  std::string text;
  if (!numbersCanBeWritten(record) || !serialise(record, text)) return std::nullopt;
  return text;
}

bool settingsCanBeSaved(const PlayerRecord& record) {
  TextLength length;
  return numbersCanBeWritten(record) && serialise(record, length);
}

SettingsLoad loadSettings(PlayerRecord& record, const std::filesystem::path& file, uint32_t nowTick) {
  record.lastTick = nowTick;
  record.balance = 0.0;
  const RecordFileRead read = readRecordFile(file);
  // A view, so a large text is not copied.
  const SettingsTextRead result =
      readSettingsText(record, read.state == RecordFileState::Read ? std::string_view(read.bytes) : "");
  SettingsLoad load;
  load.loaded = read.state == RecordFileState::Read && result.loaded;
  if (read.state == RecordFileState::Unreadable) {
    load.savesOff = SavesOff::Unreadable;
  } else if (read.state != RecordFileState::Missing && (!load.loaded || !result.clean)) {
    if (!keepBrokenCopy(file)) load.savesOff = SavesOff::DamagedNotKeptAside;
  } else if (load.loaded && !settingsCanBeSaved(record)) {
    load.savesOff = SavesOff::TooLargeToSave;  // every save of this run would be refused
  }
  return load;
}

bool saveSettings(const PlayerRecord& record, const std::filesystem::path& file) {
  // A number that is not finite, or a text the next load would refuse, is not written; the old
  // file stays as it was.
  const std::optional<std::string> text = settingsText(record);
  return text && replaceRecordFile(file, *text);
}

}  // namespace orelog

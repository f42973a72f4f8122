// Reading config.json's text in one pass into what the load looks at, without a tree of the whole
// document: the scalar members by value, the items as owned items.
#include "profile/settings_parse.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "profile/catalogue.h"
#include "util/numeric.h"

namespace orelog {

namespace {

using Input = picojson::input<const char*>;

constexpr std::size_t kMaxNestingDepth = picojson::DEFAULT_MAX_DEPTHS;

// What every context of one parse shares. Objects count towards the nesting limit as arrays do,
// so deep nesting cannot exhaust the stack.
struct ParseState {
  std::size_t depthLeft = kMaxNestingDepth;
  bool outOfRange = false;
};

bool enter(ParseState& state) {
  if (state.depthLeft == 0) return false;
  --state.depthLeft;
  return true;
}

bool leave(ParseState& state) {
  ++state.depthLeft;
  return true;
}

// A number beyond the double range (1e400) is no figure the game wrote: the text is damaged.
bool finite(ParseState& state, double number) {
  if (std::isfinite(number)) return true;
  state.outOfRange = true;
  return false;
}

// Takes the characters of a string that is skipped.
struct DiscardedText {
  void push_back(int) {}
};

// Reads one value and keeps nothing of it; its syntax, depth and numbers are still checked. The
// contexts that keep something derive from it and replace only the handlers they read with.
class SkipContext {
 public:
  explicit SkipContext(ParseState& state) : state_(state) {}
  bool set_null() { return true; }
  bool set_bool(bool) { return true; }
  bool set_number(double number) { return finite(state_, number); }
  bool parse_string(Input& in) {
    DiscardedText text;
    return picojson::_parse_string(text, in);
  }
  bool parse_array_start() { return enter(state_); }
  bool parse_array_item(Input& in, std::size_t) { return picojson::_parse(*this, in); }
  bool parse_array_stop(std::size_t) { return leave(state_); }
  bool parse_object_start() { return enter(state_); }
  bool parse_object_item(Input& in, const std::string&) { return picojson::_parse(*this, in); }
  bool parse_object_stop() { return leave(state_); }

 protected:
  ParseState& state_;
};

bool skipValue(ParseState& state, Input& in) {
  SkipContext skip(state);
  return picojson::_parse(skip, in);
}

// Reads one value into `out`: a scalar whole, an array or object as an empty one of its type.
class ScalarContext {
 public:
  ScalarContext(picojson::value& out, ParseState& state) : out_(out), state_(state) {}
  bool set_null() { return set(picojson::value()); }
  bool set_bool(bool b) { return set(picojson::value(b)); }
  bool set_number(double number) { return finite(state_, number) && set(picojson::value(number)); }
  bool parse_string(Input& in) {
    std::string text;
    return picojson::_parse_string(text, in) && set(picojson::value(std::move(text)));
  }
  bool parse_array_start() { return enter(state_) && set(picojson::value(picojson::array_type, false)); }
  bool parse_array_item(Input& in, std::size_t) { return skipValue(state_, in); }
  bool parse_array_stop(std::size_t) { return leave(state_); }
  bool parse_object_start() { return enter(state_) && set(picojson::value(picojson::object_type, false)); }
  bool parse_object_item(Input& in, const std::string&) { return skipValue(state_, in); }
  bool parse_object_stop() { return leave(state_); }

 private:
  bool set(picojson::value value) {
    out_ = std::move(value);
    return true;
  }
  picojson::value& out_;
  ParseState& state_;
};

using Fields = std::map<std::string, picojson::value, std::less<>>;

// A member's value is stored only once it has been read whole.
bool readScalar(ParseState& state, Input& in, Fields& fields, const std::string& key) {
  picojson::value value;
  ScalarContext context(value, state);
  if (!picojson::_parse(context, in)) return false;
  fields[key] = std::move(value);
  return true;
}

// An object read for some of its members by name; any other value only by its type.
class FieldsContext : public SkipContext {
 public:
  FieldsContext(const std::vector<std::string_view>& wanted, Fields& fields, bool& isObject, ParseState& state)
      : SkipContext(state), wanted_(wanted), fields_(fields), isObject_(isObject) {}
  bool parse_object_start() {
    isObject_ = true;
    return enter(state_);
  }
  bool parse_object_item(Input& in, const std::string& key) {
    if (std::find(wanted_.begin(), wanted_.end(), key) == wanted_.end()) return skipValue(state_, in);
    return readScalar(state_, in, fields_, key);
  }

 protected:
  const std::vector<std::string_view>& wanted_;
  Fields& fields_;
  bool& isObject_;
};

const std::vector<std::string_view> kItemFieldKeys = {kItemIdKey, kItemXKey, kItemYKey};

// One element of "Items" becomes an owned item, or tells why reading ends there.
ItemsEnd appendItem(bool isObject, const Fields& fields, std::vector<OwnedItem>& items) {
  const auto id = fields.find(kItemIdKey);
  if (!isObject || id == fields.end() || !id->second.is<double>()) return ItemsEnd::Fault;
  const int64_t kind = truncateToInt64(id->second.get<double>());
  if (!isItemKind(kind)) return ItemsEnd::NotAKind;
  const auto x = fields.find(kItemXKey);
  const auto y = fields.find(kItemYKey);
  if (x == fields.end() || y == fields.end() || !x->second.is<double>() || !y->second.is<double>()) {
    return ItemsEnd::Fault;
  }
  items.push_back(ownedItemOfKind(static_cast<int32_t>(kind), truncateToInt32(x->second.get<double>()),
                                  truncateToInt32(y->second.get<double>())));
  return ItemsEnd::AllRead;
}

// The "Items" array element by element: items are kept until the first element that ends the
// reading; the elements after it are only checked.
class ItemsContext : public SkipContext {
 public:
  ItemsContext(SavedItems& out, ParseState& state) : SkipContext(state), out_(out) {}
  bool parse_array_start() {
    out_.isArray = true;
    return enter(state_);
  }
  bool parse_array_item(Input& in, std::size_t) {
    if (out_.end != ItemsEnd::AllRead) return skipValue(state_, in);
    Fields fields;
    bool isObject = false;
    FieldsContext element(kItemFieldKeys, fields, isObject, state_);
    if (!picojson::_parse(element, in)) return false;
    out_.end = appendItem(isObject, fields, out_.items);
    return true;
  }

 private:
  SavedItems& out_;
};

// The whole document: the wanted scalar members, and "Items" read as items.
class SettingsContext : public FieldsContext {
 public:
  SettingsContext(const std::vector<std::string_view>& scalarKeys, ParsedSettings& out, ParseState& state)
      : FieldsContext(scalarKeys, out.scalars, out.isObject, state), out_(out) {}
  bool parse_object_item(Input& in, const std::string& key) {
    if (key != kItemsKey) return FieldsContext::parse_object_item(in, key);
    SavedItems items;
    ItemsContext context(items, state_);
    if (!picojson::_parse(context, in)) return false;
    out_.items = std::move(items);
    return true;
  }

 private:
  ParsedSettings& out_;
};

}  // namespace

ParsedSettings parseSettings(std::string_view text, const std::vector<std::string_view>& scalarKeys) {
  ParsedSettings parsed;
  ParseState state;
  SettingsContext context(scalarKeys, parsed, state);
  std::string error;
  picojson::_parse(context, text.data(), text.data() + text.size(), &error);
  parsed.outOfRange = state.outOfRange;
  parsed.clean = error.empty() && !state.outOfRange;
  return parsed;
}

}  // namespace orelog

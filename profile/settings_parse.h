// Reading config.json's text in one pass into what the load looks at, without a tree of the whole
// document: the scalar members by value, the items as owned items.
#pragma once
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <picojson.h>

#include "profile/player_record.h"

namespace orelog {

inline constexpr const char* kItemsKey = "Items";
inline constexpr const char* kItemIdKey = "Item ID";
inline constexpr const char* kItemXKey = "X";
inline constexpr const char* kItemYKey = "Y";

// Why reading "Items" stopped: every element was an item, an identifier was no item kind (later
// elements are ignored), or an element was faulty (the load fails).
enum class ItemsEnd { AllRead, NotAKind, Fault };

struct SavedItems {
  bool isArray = false;
  std::vector<OwnedItem> items;  // the elements read before `end`, in file order
  ItemsEnd end = ItemsEnd::AllRead;
};

struct ParsedSettings {
  bool isObject = false;
  // The members the load reads by name, the last of a repeated name winning: a scalar as it is, an
  // array or object as an empty one of its type (its contents are never kept).
  std::map<std::string, picojson::value, std::less<>> scalars;
  std::optional<SavedItems> items;  // the last complete "Items" member
  bool clean = false;               // no syntax error and every number finite
  bool outOfRange = false;          // a number beyond the double range: the whole load fails
};

// One JSON value from the start of the text; whatever follows it is not looked at. After a syntax
// error the result holds exactly the members completed before it; a half-read member is not there.
// `scalarKeys` are the names kept in `scalars`; members of any other name but "Items" are skipped.
ParsedSettings parseSettings(std::string_view text, const std::vector<std::string_view>& scalarKeys);

}  // namespace orelog

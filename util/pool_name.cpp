// The one rule for every name the pool sends, applied before any page, notice, terminal or file sees it.
#include "util/pool_name.h"

#include "util/utf.h"

namespace orelog {
namespace {

constexpr char16_t kReplacement = u'\uFFFD';

constexpr bool isControl(char16_t unit) { return unit < 0x20 || (unit >= 0x7F && unit <= 0x9F); }

constexpr bool isBidiControl(char16_t unit) {
  return (unit >= 0x202A && unit <= 0x202E) || (unit >= 0x2066 && unit <= 0x2069);
}

}  // namespace

std::string cleanPoolName(std::string_view name) {
  std::u16string cleaned;
  for (const char16_t unit : utf8ToUtf16(name)) {  // invalid UTF-8 is U+FFFD already
    if (isBidiControl(unit)) continue;
    cleaned.push_back(isControl(unit) ? kReplacement : unit);
  }
  return utf16ToUtf8(cleaned);
}

}  // namespace orelog

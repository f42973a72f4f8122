// Windows' wide strings and the core's UTF-16 strings are the same units under two type names.
#pragma once
#include <string>
#include <string_view>

#include "util/utf.h"

namespace orelog {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16 units");

inline std::wstring wideText(std::u16string_view text) {
  return std::wstring(text.begin(), text.end());
}
inline std::wstring wideFromUtf8(std::string_view utf8) {
  return wideText(utf8ToUtf16(utf8));
}
inline std::u16string utf16Text(std::wstring_view text) {
  return std::u16string(text.begin(), text.end());
}

}  // namespace orelog

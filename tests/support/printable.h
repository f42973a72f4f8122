// Test parameters shown in test names: only characters that every test runner's list format takes.
#pragma once
#include <string>
#include <string_view>

#include "util/utf.h"

namespace orelog::test {

inline std::string printable(std::string_view text) {
  std::string out;
  for (unsigned char c : text) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       std::string_view(" .:-/=@+").find(static_cast<char>(c)) != std::string_view::npos;
    if (plain) {
      out += static_cast<char>(c);
    } else {  // as "_" and two hex digits, so two parameters never print alike
      constexpr char kHex[] = "0123456789ABCDEF";
      out += {'_', kHex[c >> 4], kHex[c & 15]};
    }
  }
  return out;
}

inline std::string printable(std::u16string_view text) { return printable(utf16ToUtf8(text)); }

}  // namespace orelog::test

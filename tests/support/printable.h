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
    out += plain ? static_cast<char>(c) : '_';
  }
  return out;
}

inline std::string printable(std::u16string_view text) { return printable(utf16ToUtf8(text)); }

}  // namespace orelog::test

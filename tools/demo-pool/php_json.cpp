// Writing JSON text as PHP's json_encode does.
#include "php_json.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace orelog::demo {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendUnitEscape(std::string& out, unsigned unit) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "\\u%04x", unit & 0xFFFFu);
  out += buffer;
}

void appendCodePointEscape(std::string& out, char32_t cp) {
  if (cp < 0x10000) return appendUnitEscape(out, cp);
  cp -= 0x10000;
  appendUnitEscape(out, 0xD800 + (cp >> 10));
  appendUnitEscape(out, 0xDC00 + (cp & 0x3FF));
}

// Decodes one UTF-8 character at text[i], advancing i; malformed bytes give U+FFFD.
char32_t decodeUtf8(std::string_view text, std::size_t& i) {
  const auto lead = static_cast<unsigned char>(text[i++]);
  int extra = lead >= 0xF0 && lead < 0xF5 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : -1;
  if (lead >= 0xF5 || extra < 0) return kReplacement;
  char32_t cp = lead & (0x3F >> extra);
  for (int k = 0; k < extra; ++k, ++i) {
    if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return kReplacement;
    cp = (cp << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
  }
  const char32_t minimum[] = {0, 0x80, 0x800, 0x10000};
  if (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) return kReplacement;
  return cp;
}

}  // namespace

void appendJsonString(std::string& out, std::string_view text) {
  out += '"';
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x80) {
      appendCodePointEscape(out, decodeUtf8(text, i));
      continue;
    }
    ++i;
    switch (byte) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '/': out += "\\/"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (byte < 0x20) appendUnitEscape(out, byte);
        else out += static_cast<char>(byte);
    }
  }
  out += '"';
}

void appendJsonNumber(std::string& out, double value) {
  if (!std::isfinite(value)) value = 0;  // PHP refuses these; a pool never sends them
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, ec == std::errc() ? end : buffer);
}

void appendJsonValue(std::string& out, const picojson::value& value) {
  if (value.is<picojson::null>()) {
    out += "null";
  } else if (value.is<bool>()) {
    out += value.get<bool>() ? "true" : "false";
  } else if (value.is<double>()) {
    appendJsonNumber(out, value.get<double>());
  } else if (value.is<std::string>()) {
    appendJsonString(out, value.get<std::string>());
  } else if (value.is<picojson::array>()) {
    out += '[';
    const char* separator = "";
    for (const auto& element : value.get<picojson::array>()) {
      out += separator;
      appendJsonValue(out, element);
      separator = ",";
    }
    out += ']';
  } else {
    out += '{';
    const char* separator = "";
    for (const auto& [key, member] : value.get<picojson::object>()) {
      out += separator;
      appendJsonString(out, key);
      out += ':';
      appendJsonValue(out, member);
      separator = ",";
    }
    out += '}';
  }
}

}  // namespace orelog::demo

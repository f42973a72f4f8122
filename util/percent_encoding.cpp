// Percent-encoding of URL parts, and the two sets of bytes that may stay as they are.
#include "util/percent_encoding.h"

namespace orelog {

namespace {
constexpr char kUpperHex[] = "0123456789ABCDEF";
constexpr char kLowerHex[] = "0123456789abcdef";

bool isLetter(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
}
bool isUnreservedMark(unsigned char byte) {
  return byte == '-' || byte == '_' || byte == '.' || byte == '~';
}
bool mayStandInUrl(unsigned char byte) {
  if (byte <= 0x20 || byte >= 0x7F) return false;
  for (char unsafe : std::string_view("\"<>\\^`{|}#")) {
    if (byte == static_cast<unsigned char>(unsafe)) return false;
  }
  return true;
}
}  // namespace

bool isUnreserved(unsigned char byte) {
  return isUnreservedLetterOrMark(byte) || (byte >= '0' && byte <= '9');
}

bool isUnreservedLetterOrMark(unsigned char byte) {
  return isLetter(byte) || isUnreservedMark(byte);
}

std::string percentEncodeExcept(std::string_view bytes, bool (*keep)(unsigned char), HexCase hexCase) {
  const char* hex = hexCase == HexCase::Upper ? kUpperHex : kLowerHex;
  std::string out;
  out.reserve(bytes.size() * 3);
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (keep(byte)) {
      out += c;
      continue;
    }
    out += '%';
    out += hex[byte >> 4];
    out += hex[byte & 15];
  }
  return out;
}

std::string percentEncodeUnsafe(std::string_view bytes) {
  return percentEncodeExcept(bytes, mayStandInUrl, HexCase::Upper);
}

}  // namespace orelog

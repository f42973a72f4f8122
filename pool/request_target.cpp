// Building the request targets of the pool API queries.
#include "pool/request_target.h"

#include "util/utf.h"

namespace orelog {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void appendEscaped(std::string& out, unsigned char byte) {
  out += '%';
  out += kHex[byte >> 4];
  out += kHex[byte & 15];
}

bool isUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
         c == '.' || c == '~';
}

bool mayStandInUrl(unsigned char c) {
  if (c <= 0x20 || c >= 0x7F) return false;
  for (char unsafe : std::string_view("\"<>\\^`{|}#")) {
    if (c == static_cast<unsigned char>(unsafe)) return false;
  }
  return true;
}

}  // namespace

std::string percentEncodeUnsafe(std::string_view bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (mayStandInUrl(c)) out += static_cast<char>(c);
    else appendEscaped(out, c);
  }
  return out;
}

std::string percentEncodeUnreserved(std::string_view bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (isUnreserved(c)) out += static_cast<char>(c);
    else appendEscaped(out, c);
  }
  return out;
}

std::u16string buildRequestTarget(std::u16string_view path, std::string_view action, std::u16string_view apiKey) {
  // Appended piece by piece: GCC 12 at -O3 misreports `"/" + std::string` inside libstdc++ as an
  // overlapping copy (-Wrestrict).
  std::string target = "/";
  target.append(percentEncodeUnsafe(utf16ToUtf8(path)));
  target.append("?page=api&action=").append(action);
  target.append("&api_key=").append(percentEncodeUnreserved(utf16ToUtf8(apiKey)));
  return utf8ToUtf16(target);
}

}  // namespace orelog

// Building the request targets of the pool API queries.
#include "pool/request_target.h"

#include "util/percent_encoding.h"
#include "util/utf.h"

namespace orelog {
std::string percentEncodeUnreserved(std::string_view bytes) {
  return percentEncodeExcept(bytes, isUnreserved, HexCase::Upper);
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

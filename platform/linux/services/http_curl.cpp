// One blocking HTTP(S) GET over libcurl (placeholder until the pool client lands).
#include "http_curl.h"

namespace orelog {

int curlHttpGet(const HttpRequest&, std::span<uint8_t>, const HttpTimeouts&) { return -1; }

}  // namespace orelog

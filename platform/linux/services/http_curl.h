// The HTTP(S) GET over libcurl, with the behaviour the pool client relies on.
#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "services/http.h"

namespace orelog {

// httpGet() of services/http.h, with one addition for tests: caFile, when not empty, replaces the
// system's CA certificates (tests trust a throwaway one).
HttpResult curlHttpGet(const HttpRequest& request, std::span<uint8_t> buffer, const HttpTimeouts& timeouts,
                       const FetchCancel& cancel, const std::string& caFile = {});

}  // namespace orelog

// One blocking HTTP(S) GET over libcurl, with the behaviour the pool client relies on.
#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "platform/platform.h"

namespace orelog {

// Time-outs as WinHTTP's defaults, so no request can hang for ever; tests shorten them.
// Connect covers name lookup, TCP and the TLS handshake; until the first byte of the answer
// arrives the request may be idle for send + receive, afterwards for receive at a time.
struct HttpTimeouts {
  long connectMs = 60000;
  long sendMs = 30000;
  long receiveMs = 30000;
};

// User agent "Orelog", TLS with certificate checking when secure, status ignored. Returns the
// body length, or -1 on any failure, including a body that leaves no byte of the buffer free.
// caFile, when not empty, replaces the system's CA certificates (tests trust a throwaway one).
int curlHttpGet(const HttpRequest& request, std::span<uint8_t> buffer, const HttpTimeouts& timeouts = {},
                const std::string& caFile = {});

}  // namespace orelog

// Parsing a pool URL into scheme, host, port and path.
#pragma once
#include <string>
#include <variant>

namespace orelog {

struct PoolAddress {
  bool secure = false;
  std::u16string host;
  int port = 0;
  std::u16string path;  // after the first "/" following host and port, without it; may be empty
};

enum class PoolAddressError { NotRecognised, EngineError };

// Whole-text match of (http|https)://([^:/]+)(?::(\d+))?(?:/(.*))? in the ECMAScript grammar.
std::variant<PoolAddress, PoolAddressError> parsePoolUrl(const std::u16string& url);

// True for "localhost" (any case) and dotted-decimal addresses in 127.0.0.0/8: a pool on this machine.
bool isLoopbackHost(const std::u16string& host);

}  // namespace orelog

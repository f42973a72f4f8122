// The services every real platform takes from the same free functions: the fetch, PNG files and the
// local clock. A platform derives from SystemServices<Platform> (or <NullPlatform>) and keeps only
// what is its own.
#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "services/http.h"
#include "services/local_clock.h"
#include "services/png_codec.h"

namespace orelog {

template <class Base>
struct SystemServices : Base {
  HttpTimeouts timeouts;  // the fetch's time-outs; the defaults unless a program or test sets its own

  ZonedDateTime localTime() override { return zonedLocalTime(); }
  HttpResult httpGet(const HttpRequest& request, std::span<uint8_t> buffer, const FetchCancel& cancel) override {
    return orelog::httpGet(request, buffer, timeouts, cancel);
  }
  bool encodePng(const Canvas& canvas, const std::string& path) override { return writePngFile(canvas, path); }
};

}  // namespace orelog

// The local time and its offset from the C library's time-zone rules.
#include "services/local_clock.h"

#include <ctime>

namespace orelog {

namespace {
constexpr long kSecondsPerMinute = 60;
constexpr int kFirstTmYear = 1900;
}  // namespace

ZonedDateTime zonedLocalTime() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  localtime_r(&now, &parts);
  const DateTime local{parts.tm_year + kFirstTmYear, parts.tm_mon + 1, parts.tm_mday,
                       parts.tm_hour, parts.tm_min, parts.tm_sec};
  return {local, static_cast<int32_t>(parts.tm_gmtoff / kSecondsPerMinute)};
}

}  // namespace orelog

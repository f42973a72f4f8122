// The local time and its offset from the C runtime's time-zone rules.
#include "services/local_clock.h"

#include <time.h>

namespace orelog {

namespace {
constexpr long long kSecondsPerMinute = 60;
constexpr int kFirstTmYear = 1900;
}  // namespace

ZonedDateTime zonedLocalTime() {
  const __time64_t now = _time64(nullptr);
  struct tm parts {};
  _localtime64_s(&parts, &now);
  const DateTime local{parts.tm_year + kFirstTmYear, parts.tm_mon + 1, parts.tm_mday,
                       parts.tm_hour, parts.tm_min, parts.tm_sec};
  // The local fields read as if they were UTC, less the instant itself: the offset, daylight saving
  // time included.
  struct tm asUtc = parts;
  const long long offsetSeconds = static_cast<long long>(_mkgmtime64(&asUtc) - now);
  return {local, static_cast<int32_t>(offsetSeconds / kSecondsPerMinute)};
}

}  // namespace orelog

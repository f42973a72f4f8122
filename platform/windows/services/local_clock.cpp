// The local time and its offset from the C runtime's time-zone rules.
#include "services/local_clock.h"

#include <time.h>

#include "util/time_units.h"

namespace orelog {

ZonedDateTime zonedLocalTime() {
  const __time64_t now = _time64(nullptr);
  struct tm parts {};
  if (_localtime64_s(&parts, &now) != 0) return {};
  const DateTime local = dateTimeOfTm(parts);
  // The local fields read as if they were UTC, less the instant itself: the offset, daylight saving
  // time included.
  struct tm asUtc = parts;
  const long long offsetSeconds = static_cast<long long>(_mkgmtime64(&asUtc) - now);
  return {local, static_cast<int32_t>(offsetSeconds / kSecondsPerMinute)};
}

}  // namespace orelog

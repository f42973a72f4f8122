// The local time and its offset from the C library's time-zone rules.
#include "services/local_clock.h"

#include <ctime>

#include "util/time_units.h"

namespace orelog {

ZonedDateTime zonedLocalTime() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  if (!localtime_r(&now, &parts)) return {};
  return {dateTimeOfTm(parts), static_cast<int32_t>(parts.tm_gmtoff / kSecondsPerMinute)};
}

}  // namespace orelog

// The local time with its offset from UTC, one implementation per platform.
#pragma once
#include <ctime>

#include "util/date_time.h"

namespace orelog {

// The date and time of the C library's broken-down time.
inline DateTime dateTimeOfTm(const std::tm& parts) {
  constexpr int kFirstTmYear = 1900;
  return {parts.tm_year + kFirstTmYear, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec};
}

// Now, in the system's local time zone, with that zone's current offset.
ZonedDateTime zonedLocalTime();

}  // namespace orelog

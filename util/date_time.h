// A calendar date and time of day as six numbers, with no time zone attached, and the same with its
// offset from UTC.
#pragma once
#include <cstdint>

namespace orelog {

// The local time a screenshot is named after, or a pool transaction's timestamp as scanned.
struct DateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// A local time that knows where it stands: local = UTC + utcOffsetMinutes.
struct ZonedDateTime {
  DateTime local;
  int32_t utcOffsetMinutes = 0;
};

}  // namespace orelog

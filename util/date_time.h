// A calendar date and time of day as six numbers, with no time zone attached.
#pragma once

namespace orelog {

// The local time a screenshot is named after, or a pool transaction's timestamp as scanned.
struct DateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

}  // namespace orelog

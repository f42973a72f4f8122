// The local time with its offset from UTC, one implementation per platform.
#pragma once
#include "util/date_time.h"

namespace orelog {

// Now, in the system's local time zone, with that zone's current offset.
ZonedDateTime zonedLocalTime();

}  // namespace orelog

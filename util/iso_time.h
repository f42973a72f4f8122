// ISO 8601 time stamps with their UTC offset ("2026-12-11T09:34:00+09:00"), and the seconds
// arithmetic that orders and places them.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "util/date_time.h"
#include "util/time_units.h"

namespace orelog {

// Offsets in use lie within -12:00 and +14:00; a little room either side for history's oddities.
inline constexpr int32_t kMostUtcOffsetMinutes = 18 * 60;

// "YYYY-MM-DDTHH:MM:SS+HH:MM" (the offset "+00:00" for UTC).
std::string isoTimeText(const ZonedDateTime& time);
// Exactly the form isoTimeText writes, plus "Z" for UTC; nullopt for anything else, a date that does
// not exist, a year outside 1 to 9999 or an offset beyond kMostUtcOffsetMinutes.
std::optional<ZonedDateTime> parseIsoTime(std::string_view text);

// a / b rounded down, for times before the epoch too. b must be positive.
constexpr int64_t floorDivide(int64_t a, int64_t b) { return a / b - (a % b != 0 && a < 0 ? 1 : 0); }

// Seconds since 1970-01-01T00:00:00Z of the instant the time names. The fields must be in range.
int64_t utcSeconds(const ZonedDateTime& time);
// The local date and time at that instant for the given offset.
DateTime localDateTimeAt(int64_t utcSeconds, int32_t utcOffsetMinutes);

}  // namespace orelog

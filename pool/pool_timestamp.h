// Pool timestamps: scanning "%d-%d-%d %d:%d:%d" and converting to a 64-bit file-time count.
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

#include "util/date_time.h"

namespace orelog {

// Reads six decimal integers as sscanf reads "%d-%d-%d %d:%d:%d": each number may follow white
// space and carry a sign, the space matches any run of white space (or none), "-" and ":" must
// match exactly, anything after the sixth number is ignored. The text ends at its first zero byte.
// A number beyond the range of int saturates. nullopt when fewer than six numbers are read.
std::optional<DateTime> scanPoolTimestamp(std::string_view text);

// 100-nanosecond intervals since 1601-01-01 00:00:00 in the proleptic Gregorian calendar, no time
// zone applied. nullopt for a date or time that does not exist or lies outside 1601 to 30827.
std::optional<int64_t> toFileTime(const DateTime& time);

// Both steps together.
std::optional<int64_t> poolTimestampToFileTime(std::string_view text);

}  // namespace orelog

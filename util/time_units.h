// How many of one time unit make the next: one home for the seconds per minute, hour and day.
#pragma once
#include <cstdint>

namespace orelog {

inline constexpr int64_t kMsPerSecond = 1000;
inline constexpr int64_t kSecondsPerMinute = 60;
inline constexpr int64_t kSecondsPerHour = 3600;
inline constexpr int64_t kSecondsPerDay = 86400;

}  // namespace orelog

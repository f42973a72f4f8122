// How a hashrate reads on screen and in the share message: KH/s below 1000, else whole MH/s.
#pragma once
#include <cstdint>
#include <string>

namespace orelog {

inline constexpr int32_t kKiloPerMega = 1000;

// The unit rule: a hashrate reads in MH/s from 1000 KH/s on, below that in KH/s.
constexpr bool readsInMegahashes(int64_t khs) { return khs >= kKiloPerMega; }

// "N KH/s" below 1000 KH/s (negative figures included), else "N MH/s" in whole MH/s.
std::u16string miningPowerText(int32_t khs);

}  // namespace orelog

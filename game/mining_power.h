// How a hashrate reads on screen and in the share message, and how fast a character digs for it.
#pragma once
#include <cstdint>
#include <string>

namespace orelog {

inline constexpr int32_t kKiloPerMega = 1000;

// The unit rule: a hashrate reads in MH/s (or a larger unit) from 1000 KH/s on, below that in KH/s.
constexpr bool readsInMegahashes(int64_t khs) { return khs >= kKiloPerMega; }

// "0.49 KH/s" between 0 and 1 KH/s; whole KH/s below 1000 KH/s (0 and negative figures included);
// from there whole MH/s, stepping up to GH/s, TH/s and PH/s once the whole figure would need more
// than four digits ("95 TH/s" for 9.5e10 KH/s). The player box, the worker box, the notices and the
// share message all read this way.
std::u16string miningPowerText(double khs);

// The KH/s a character digs at: a worker above 0 mines, so below 1 KH/s it digs as at 1 KH/s.
int64_t diggingKhs(double khs);

}  // namespace orelog

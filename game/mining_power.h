// How a hashrate reads on screen and in the share message, and how fast a character digs for it.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace orelog {

// A unit a hashrate reads in: its caption and how many KH/s one of it is.
struct PowerUnit {
  std::u16string_view caption;
  int64_t khs = 1;
};

// The unit rule: KH/s below 1000 KH/s (0 and negative figures included); from there MH/s, stepping
// up to GH/s, TH/s and PH/s once the whole figure would need more than four digits (9.5e10 KH/s
// reads in TH/s). Every hashrate the game shows, the chart's value axis included, reads this way.
PowerUnit powerUnitOf(int64_t khs);

// The figure in its unit: "0.49 KH/s" between 0 and 1 KH/s; whole KH/s below 1000 KH/s; from there
// the whole figure in the unit powerUnitOf gives ("95 TH/s" for 9.5e10 KH/s). The player box, the
// worker box and the share message all read this way.
std::u16string miningPowerText(double khs);

// The KH/s a character digs at: a worker above 0 mines, so below 1 KH/s it digs as at 1 KH/s.
int64_t diggingKhs(double khs);

}  // namespace orelog

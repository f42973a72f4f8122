// A worker's hashrate as the pool sends it (KH/s, fractions included) and the figures made from it.
#pragma once
#include <cstdint>
#include <string>

namespace orelog {

// The whole KH/s the game's rules take: truncated toward zero, saturating at the 64-bit limits.
int64_t wholeKhs(double khs);

// Whether a figure lies between 0 and 1 KH/s, where it is shown with two decimals.
bool isBelowOneKhs(double khs);

// The figure as text without its unit: "0.49" between 0 and 1 KH/s (hundredths, never "0.00" for a
// worker that mines), else the whole KH/s ("140", "-3", "95000000000").
std::string khsFigureText(double khs);

}  // namespace orelog

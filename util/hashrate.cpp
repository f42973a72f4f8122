// A worker's hashrate as the pool sends it and the figures made from it.
#include "util/hashrate.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "util/numeric.h"

namespace orelog {
namespace {

constexpr double kHundredths = 100.0;
constexpr long long kLeastHundredths = 1;   // a worker above 0 mines, so it never reads as 0.00
constexpr long long kMostHundredths = 99;   // and below 1 KH/s it never reads as 1.00

}  // namespace

int64_t wholeKhs(double khs) { return truncateToInt64(khs); }

bool isBelowOneKhs(double khs) { return khs > 0.0 && khs < 1.0; }

std::string khsFigureText(double khs) {
  if (!isBelowOneKhs(khs)) return std::to_string(wholeKhs(khs));
  const long long hundredths = std::clamp(std::llround(khs * kHundredths), kLeastHundredths, kMostHundredths);
  char text[8];
  std::snprintf(text, sizeof text, "0.%02lld", hundredths);
  return text;
}

}  // namespace orelog

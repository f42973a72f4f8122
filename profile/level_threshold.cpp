// The total experience at which a level is reached.
#include "profile/level_threshold.h"

#include <cmath>

#include "util/numeric.h"

namespace orelog {

namespace {

// base^exponent by squaring; this order of multiplications is part of the thresholds' exact values.
double powerBySquaring(double base, int64_t exponent) {
  uint64_t remaining = exponent < 0 ? 0 - static_cast<uint64_t>(exponent) : static_cast<uint64_t>(exponent);
  double result = 1.0;
  double factor = base;
  while (remaining != 0) {
    if (remaining & 1) result *= factor;
    remaining >>= 1;
    if (remaining != 0) factor *= factor;
  }
  return exponent < 0 ? 1.0 / result : result;
}

}  // namespace

int64_t levelThreshold(int32_t n) {
  const double base = 1.0 / ((static_cast<double>(n) + 10.0) * 0.05 + 1.0) + 1.0;
  const double power = powerBySquaring(base, int64_t{n} - 1);
  const double value = power * 10.0 * static_cast<double>(n);
  return truncateToInt64(std::round(value));  // halves away from zero: 32.5 becomes 33
}

}  // namespace orelog

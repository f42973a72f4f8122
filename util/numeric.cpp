// Truncating and narrowing conversions that saturate instead of invoking undefined behaviour.
#include "util/numeric.h"

#include <cmath>
#include <limits>

namespace orelog {

namespace {
template <typename Int>
Int truncateSaturating(double value) {
  if (std::isnan(value)) return 0;
  // The upper limit 2^(bits-1) is exact as a double; anything at or above it saturates.
  constexpr double upper = -static_cast<double>(std::numeric_limits<Int>::min());
  if (value >= upper) return std::numeric_limits<Int>::max();
  if (value <= static_cast<double>(std::numeric_limits<Int>::min())) return std::numeric_limits<Int>::min();
  return static_cast<Int>(value);
}
}  // namespace

int32_t truncateToInt32(double value) { return truncateSaturating<int32_t>(value); }
int64_t truncateToInt64(double value) { return truncateSaturating<int64_t>(value); }

int32_t saturateToInt32(int64_t value) {
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

int32_t saturatingAdd(int32_t a, int32_t b) {
  return saturateToInt32(int64_t{a} + b);
}

int64_t saturatingAdd64(int64_t a, int64_t b) {
  constexpr int64_t max = std::numeric_limits<int64_t>::max();
  constexpr int64_t min = std::numeric_limits<int64_t>::min();
  if (b > 0 && a > max - b) return max;
  if (b < 0 && a < min - b) return min;
  return a + b;
}

int64_t saturatingSubtract64(int64_t a, int64_t b) {
  constexpr int64_t max = std::numeric_limits<int64_t>::max();
  constexpr int64_t min = std::numeric_limits<int64_t>::min();
  if (b < 0 && a > max + b) return max;
  if (b > 0 && a < min + b) return min;
  return a - b;
}

}  // namespace orelog

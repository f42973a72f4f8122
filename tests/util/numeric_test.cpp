// Saturating conversions: the edges where a plain cast would be undefined.
#include "util/numeric.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace orelog {
namespace {

TEST(TruncateToInt32, TruncatesTowardZeroAndSaturates) {
  struct Case {
    double in;
    int32_t out;
  };
  const Case cases[] = {
      {2.9, 2},
      {-3.7, -3},
      {2147483647.9, 2147483647},
      {2147483648.0, 2147483647},
      {-2147483648.5, -2147483647 - 1},
      {1e300, 2147483647},
      {-1e300, -2147483647 - 1},
      {std::nan(""), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(truncateToInt32(c.in), c.out) << c.in;
}

TEST(TruncateToInt64, SaturatesAtTheEdges) {
  EXPECT_EQ(truncateToInt64(1e3), 1000);
  EXPECT_EQ(truncateToInt64(9.3e18), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(truncateToInt64(-9.3e18), std::numeric_limits<int64_t>::min());
}

TEST(SaturateToInt32, KeepsValuesInRangeAndStopsAtTheLimits) {
  struct Case {
    int64_t in;
    int32_t out;
  };
  const Case cases[] = {
      {0, 0},
      {-23, -23},
      {2147483647, 2147483647},
      {2147483648, 2147483647},
      {-2147483648LL, -2147483647 - 1},
      {-2147483649LL, -2147483647 - 1},
      {std::numeric_limits<int64_t>::max(), 2147483647},
      {std::numeric_limits<int64_t>::min(), -2147483647 - 1},
  };
  for (const auto& c : cases) EXPECT_EQ(saturateToInt32(c.in), c.out) << c.in;
}

TEST(SaturatingAdd, StopsAtTheLimits) {
  EXPECT_EQ(saturatingAdd(2147483600, 100), 2147483647);
  EXPECT_EQ(saturatingAdd(-2147483600, -100), -2147483647 - 1);
  EXPECT_EQ(saturatingAdd(5, 7), 12);
}

TEST(Saturating64, StopsAtTheLimits) {
  constexpr int64_t max = std::numeric_limits<int64_t>::max();
  constexpr int64_t min = std::numeric_limits<int64_t>::min();
  EXPECT_EQ(saturatingAdd64(max - 1, 5), max);
  EXPECT_EQ(saturatingAdd64(min + 1, -5), min);
  EXPECT_EQ(saturatingAdd64(10, -30), -20);
  EXPECT_EQ(saturatingSubtract64(33, 10), 23);
  EXPECT_EQ(saturatingSubtract64(33, min), max);
  EXPECT_EQ(saturatingSubtract64(-10, max), min);
  EXPECT_EQ(saturatingSubtract64(0, max), -max);
}

}  // namespace
}  // namespace orelog

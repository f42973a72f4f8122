// Truncating and narrowing conversions that saturate instead of invoking undefined behaviour.
#pragma once
#include <cstdint>

namespace orelog {

// Truncates toward zero; values beyond the range saturate, NaN gives 0.
int32_t truncateToInt32(double value);
int64_t truncateToInt64(double value);
// Narrows to the signed 32-bit range, saturating at its limits.
int32_t saturateToInt32(int64_t value);
// Adds with saturation at the signed 32-bit limits.
int32_t saturatingAdd(int32_t a, int32_t b);
// Adds and subtracts with saturation at the signed 64-bit limits.
int64_t saturatingAdd64(int64_t a, int64_t b);
int64_t saturatingSubtract64(int64_t a, int64_t b);

}  // namespace orelog

// The total experience at which a level is reached; the record derives the experience still needed.
#pragma once
#include <cstdint>

namespace orelog {

// Total experience at which level n is reached. Equal to the historical 32-bit value up to
// level 108; from 109 on it keeps growing in 64 bits so the level-up loop always ends.
int64_t levelThreshold(int32_t n);

}  // namespace orelog

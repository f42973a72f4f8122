// Experience, levels and points: the level threshold and the experience tick.
#pragma once
#include <cstdint>
#include <random>

#include "profile/player_record.h"

namespace orelog {

// Total experience at which level n is reached. Equal to the historical 32-bit value up to
// level 108; from 109 on it keeps growing in 64 bits so the level-up loop always ends.
int64_t levelThreshold(int32_t n);

// A uniform integer in [0, k), drawn by the engine-independent rejection rule.
uint32_t drawUniform(std::mt19937& engine, uint32_t k);

// Adds totalHashrate as a sample; every fourth sample turns the average into experience,
// a point draw and level-ups.
void experienceTick(PlayerRecord& record);

}  // namespace orelog

// Experience, levels and points: the experience tick and its draws.
#pragma once
#include <cstdint>
#include <random>

#include "profile/level_threshold.h"
#include "profile/player_record.h"

namespace orelog {

// A uniform integer in [0, k), drawn by the engine-independent rejection rule.
uint32_t drawUniform(std::mt19937& engine, uint32_t k);

// Adds totalHashrate as a sample; every fourth sample turns the average into experience,
// a point draw and level-ups. A negative sample counts as 0 in the average.
void experienceTick(PlayerRecord& record);

}  // namespace orelog

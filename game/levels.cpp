// Experience, levels and points: the experience tick and its draws.
#include "game/levels.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <limits>

#include "util/numeric.h"

namespace orelog {

namespace {

constexpr std::size_t kSamplesPerTick = 4;
constexpr int32_t kFactorLow = 20;
constexpr uint32_t kFactorCount = 31;  // factors 20 to 50
constexpr uint32_t kPointRange = 100000;
constexpr int64_t kGainDivisor = 100;
// The highest level the level-up rule reaches, so that level + 1 is always a level.
constexpr int32_t kMaxLevel = std::numeric_limits<int32_t>::max() - 1;
constexpr int32_t kLowestWalkedLevel = -100;

bool reaches(int64_t experience, int32_t level) { return experience >= levelThreshold(level); }

// The highest level from `level` on whose threshold the experience has reached, as the rule
// "while experience >= threshold(level + 1), level up" gives it.
int32_t levelReached(int64_t experience, int32_t level) {
  // Below level 1 (only a hand-edited file gives one) the thresholds swing in sign, so they are
  // walked one by one. Every threshold below level -49 is at most 0, so for an experience of 0 or
  // more the walk passes them all anyway; starting it at -100 keeps it to a hundred steps instead
  // of minutes from -2^31.
  if (level < kLowestWalkedLevel && experience >= 0) level = kLowestWalkedLevel;
  while (level < 1 && reaches(experience, level + 1)) ++level;
  if (level < 1 || level >= kMaxLevel || !reaches(experience, level + 1)) return level;
  // From level 1 on the thresholds grow with the level, so galloping and bisecting gives the same
  // level as the walk, in a few dozen steps even for an experience near 2^63.
  int64_t reached = int64_t{level} + 1;
  int64_t notReached = int64_t{kMaxLevel} + 1;
  for (int64_t step = 1; reached + step <= kMaxLevel; step *= 2) {
    if (!reaches(experience, static_cast<int32_t>(reached + step))) {
      notReached = reached + step;
      break;
    }
    reached += step;
  }
  while (notReached - reached > 1) {
    const int64_t middle = reached + (notReached - reached) / 2;
    (reaches(experience, static_cast<int32_t>(middle)) ? reached : notReached) = middle;
  }
  return static_cast<int32_t>(reached);
}

// A rig that reports a negative hashrate mined nothing: its sample counts as 0, where the
// unsigned sum would read it as about four billion kH/s.
uint32_t averageOf(const std::vector<int32_t>& samples) {
  uint32_t sum = 0;  // wraps, as the unsigned sum always has
  for (int32_t sample : samples) sum += static_cast<uint32_t>(std::max(sample, 0));
  return sum / static_cast<uint32_t>(samples.size());
}

// (factor * average) / 100. The product is formed in 64 bits and saturates at the signed 32-bit
// maximum, so averages above 42949672 kH/s gain the most a 32-bit product can give instead of
// overflowing.
int64_t gainFor(int32_t factor, uint32_t average) {
  constexpr int64_t productLimit = std::numeric_limits<int32_t>::max();
  int64_t product = int64_t{factor} * int64_t{average};
  if (product > productLimit) product = productLimit;
  return product / kGainDivisor;
}

}  // namespace

uint32_t drawUniform(std::mt19937& engine, uint32_t k) {
  assert(k > 0 && "an empty range has nothing to draw");
  if (k == 0) return 0;
  constexpr uint32_t top = std::numeric_limits<uint32_t>::max();
  const bool everyOutputFair = top % k == k - 1;
  for (;;) {
    const auto r = static_cast<uint32_t>(engine());
    if (everyOutputFair || r / k < top / k) return r % k;
  }
}

void experienceTick(PlayerRecord& record) {
  // The samples keep their 32-bit rules; a total beyond them counts as the largest sample.
  record.hashrateSamples.push_back(saturateToInt32(record.totalHashrate));
  if (record.hashrateSamples.size() < kSamplesPerTick) return;
  const uint32_t average = averageOf(record.hashrateSamples);
  record.hashrateSamples.clear();

  const auto factor = kFactorLow + static_cast<int32_t>(drawUniform(record.random, kFactorCount));
  record.experience = saturatingAdd64(record.experience, gainFor(factor, average));
  const uint32_t point = drawUniform(record.random, kPointRange);
  if (int64_t{point} < record.experience) record.points = saturatingAdd(record.points, 1);

  record.level = levelReached(record.experience, record.level);
  refreshExperienceToNext(record);
}

}  // namespace orelog

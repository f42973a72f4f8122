// Level thresholds, the uniform draw and the experience tick with the fixed seed.
#include "game/levels.h"

#include <gtest/gtest.h>

#include <limits>

#include "util/numeric.h"

namespace orelog {
namespace {

constexpr int32_t kMaxLevel = std::numeric_limits<int32_t>::max() - 1;

TEST(LevelThreshold, MatchesTheTable) {
  struct Case {
    int32_t level;
    int64_t threshold;
  };
  const Case cases[] = {
      {1, 10},   {2, 33},     {3, 77},         {4, 160},        {5, 305},  {6, 546},   {7, 936},
      {8, 1544}, {9, 2469},   {10, 3844},      {20, 119526},    {100, 1421159322},
      {108, 2102179587},
  };
  for (const auto& c : cases) EXPECT_EQ(levelThreshold(c.level), c.threshold) << c.level;
}

TEST(LevelThreshold, KeepsGrowingPastTheThirtyTwoBitRange) {
  EXPECT_GT(levelThreshold(109), std::numeric_limits<int32_t>::max());
  int64_t previous = levelThreshold(1);
  for (int32_t n = 2; n <= 2000000; ++n) {
    const int64_t current = levelThreshold(n);
    ASSERT_GT(current, previous) << n;
    previous = current;
  }
  // Coarse steps up to the top of the level range: still growing, saturating at the very end.
  for (int64_t n = 2000000; n < kMaxLevel; n += 999983) {
    const int64_t current = levelThreshold(static_cast<int32_t>(n));
    ASSERT_GE(current, previous) << n;
    previous = current;
  }
  EXPECT_EQ(levelThreshold(std::numeric_limits<int32_t>::max()), std::numeric_limits<int64_t>::max());
}

TEST(LevelThreshold, IsDefinedForLevelsAHandEditedFileCanHold) {
  for (int32_t n : {0, -1, -29, -30, -31, -42, std::numeric_limits<int32_t>::min()}) {
    (void)levelThreshold(n);  // no undefined behaviour, whatever the value
  }
  EXPECT_EQ(levelThreshold(0), 0);
  // The level-up relies on this to skip the walk through very low levels.
  for (int32_t n = -50; n >= -1000000; --n) ASSERT_LE(levelThreshold(n), 0) << n;
  EXPECT_LE(levelThreshold(std::numeric_limits<int32_t>::min()), 0);
}

TEST(DrawUniform, RejectsOnlyTheOutputsAboveTheLastFullBlock) {
  // Find an output of the seeded engine in the rejected range of k = 100000 and check that the
  // draw skips it and takes the next one.
  std::mt19937 scan{kRandomSeed};
  for (;;) {
    std::mt19937 before = scan;
    const auto r = static_cast<uint32_t>(scan());
    if (r < 4294900000u) continue;
    std::mt19937 draw = before;
    std::mt19937 next = scan;
    EXPECT_EQ(drawUniform(draw, 100000), static_cast<uint32_t>(next()) % 100000);
    break;
  }
  // 2^32 - 1 is congruent to k - 1 for k = 2^16: every output is fair and none is skipped.
  std::mt19937 a{kRandomSeed}, b{kRandomSeed};
  for (int i = 0; i < 1000; ++i) EXPECT_EQ(drawUniform(a, 65536), static_cast<uint32_t>(b()) % 65536);
}

TEST(DrawUniform, GivesTheFixedSeedsFirstFactorsAndPointNumbers) {
  std::mt19937 engine{kRandomSeed};
  const uint32_t expected[][2] = {{49, 69302}, {49, 34585}, {20, 55391}, {21, 33985}};
  for (const auto& tick : expected) {
    EXPECT_EQ(20 + drawUniform(engine, 31), tick[0]);
    EXPECT_EQ(drawUniform(engine, 100000), tick[1]);
  }
}

// A record as a first run leaves it: level 1, experience 10, 23 to go.
PlayerRecord freshRecord() {
  PlayerRecord record;
  record.level = 1;
  record.experience = 10;
  refreshExperienceToNext(record);
  return record;
}

// Runs the four update cycles of one experience tick with the same total hashrate.
void runTick(PlayerRecord& record, int32_t hashrate) {
  for (int i = 0; i < 4; ++i) {
    record.totalHashrate = hashrate;
    experienceTick(record);
  }
}

TEST(ExperienceTick, OnlyEveryFourthSampleCounts) {
  PlayerRecord record = freshRecord();
  record.totalHashrate = 1000;
  for (int i = 0; i < 3; ++i) experienceTick(record);
  EXPECT_EQ(record.hashrateSamples.size(), 3u);
  EXPECT_EQ(record.experience, 10);
  EXPECT_EQ(record.level, 1);
  EXPECT_EQ(record.points, 0);
  EXPECT_EQ(record.random, std::mt19937{kRandomSeed});  // nothing drawn yet
  experienceTick(record);
  EXPECT_TRUE(record.hashrateSamples.empty());
  EXPECT_EQ(record.experience, 10 + 49 * 1000 / 100);
}

// With the fixed seed the factors of the first four ticks are 49, 49, 20, 21.
TEST(ExperienceTick, FollowsTheFixedSeed) {
  struct Step {
    int32_t hashrate;
    int64_t experience;
    int32_t level;
    int64_t toNext;
  };
  const Step steps[] = {
      {62, 40, 2, 37},     // gain 30 passes 33 but not 77
      {100, 89, 3, 71},    // gain 49
      {1, 89, 3, 71},      // factor 20: an average below 2 gains nothing
      {400, 173, 4, 132},  // factor 21: 84
  };
  PlayerRecord record = freshRecord();
  for (const auto& step : steps) {
    runTick(record, step.hashrate);
    EXPECT_EQ(record.experience, step.experience);
    EXPECT_EQ(record.level, step.level);
    EXPECT_EQ(record.experienceToNext, step.toNext);
    EXPECT_EQ(record.points, 0);  // point numbers 69302, 34585, 55391, 33985 exceed the experience
  }
}

TEST(ExperienceTick, AveragesTheSamplesAsWrappingUnsignedValuesWithNegativeOnesAsZero) {
  struct Case {
    const char* name;
    int32_t samples[4];
    int64_t gain;  // with the first factor, 49
  };
  const Case cases[] = {
      {"average 250", {100, 200, 300, 400}, 122},
      {"truncating average", {1, 1, 1, 2}, 0},
      {"average 4", {4, 4, 4, 4}, 1},
      {"largest exact product", {42949672, 42949672, 42949672, 42949672}, 21045339},
      {"sum past 2^32 wraps", {2147483647, 2147483647, 2, 0}, 0},
      // A negative sample counts as 0 rather than as an unsigned value near 2^32.
      {"negative samples", {-1, -1, -1, -1}, 0},
      {"one negative sample among others", {100, 200, 300, -600}, 73},
      {"the most negative sample", {-2147483647 - 1, 400, 400, 400}, 147},
  };
  for (const auto& c : cases) {
    PlayerRecord record = freshRecord();
    for (int32_t sample : c.samples) {
      record.totalHashrate = sample;
      experienceTick(record);
    }
    EXPECT_EQ(record.experience - 10, c.gain) << c.name;
  }
}

TEST(ExperienceTick, ANegativeWorkerGainsNothingButBothDrawsStillHappen) {
  PlayerRecord record = freshRecord();
  runTick(record, -3);
  EXPECT_EQ(record.level, 1);
  EXPECT_EQ(record.experience, 10);
  EXPECT_EQ(record.experienceToNext, 23);
  std::mt19937 twoDraws{kRandomSeed};
  drawUniform(twoDraws, 31);
  drawUniform(twoDraws, 100000);
  EXPECT_EQ(record.random, twoDraws);
}

TEST(ExperienceTick, GainsSeveralLevelsAtOnce) {
  PlayerRecord record = freshRecord();
  runTick(record, 10000);  // gain 4900: experience 4910 passes levels 2 to 10 (3844)
  EXPECT_EQ(record.experience, 4910);
  EXPECT_EQ(record.level, 10);
  EXPECT_EQ(record.experienceToNext, levelThreshold(11) - 4910);
  EXPECT_GT(levelThreshold(11), 4910);
}

TEST(ExperienceTick, EarnsAPointEveryTickFromOneHundredThousandOn) {
  PlayerRecord record = freshRecord();
  record.experience = 100000;
  for (int tick = 1; tick <= 20; ++tick) {
    runTick(record, 0);
    EXPECT_EQ(record.points, tick);
  }
  PlayerRecord poor = freshRecord();
  poor.experience = 0;
  for (int tick = 0; tick < 20; ++tick) runTick(poor, 0);
  EXPECT_EQ(poor.points, 0);
}

// The level the plain rule gives: one level at a time while the next threshold is reached.
int32_t walkLevels(int64_t experience, int32_t level) {
  while (experience >= levelThreshold(level + 1)) ++level;
  return level;
}

TEST(ExperienceTick, LevelsUpLikeTheOneByOneRuleFarPastLevel108) {
  for (int64_t experience : {int64_t{0}, int64_t{32}, int64_t{33}, int64_t{2102179586}, int64_t{2102179587},
                             int64_t{2147483647}, int64_t{10000000000}, int64_t{123456789012345}}) {
    for (int32_t start : {1, 5, 107, 108, 109}) {
      PlayerRecord record = freshRecord();
      record.level = start;
      record.experience = experience;
      runTick(record, 0);
      EXPECT_EQ(record.level, walkLevels(experience, start)) << experience << " from " << start;
      EXPECT_EQ(record.experienceToNext, levelThreshold(record.level + 1) - experience);
    }
  }
}

TEST(ExperienceTick, LevelsBelowOneFromAHandEditedFileWalkUpQuickly) {
  struct Case {
    int32_t level;
    int64_t experience;
  };
  const Case cases[] = {{0, 10}, {-5, 10}, {-60, 10}, {-1000, 0}, {-1000, -5}, {std::numeric_limits<int32_t>::min(), 10}};
  for (const auto& c : cases) {
    PlayerRecord record = freshRecord();
    record.level = c.level;
    record.experience = c.experience;
    runTick(record, 0);
    const int32_t walked = c.level < -100 && c.experience >= 0 ? walkLevels(c.experience, -100)
                                                                : walkLevels(c.experience, c.level);
    EXPECT_EQ(record.level, walked) << c.level;
    EXPECT_EQ(record.experienceToNext, saturatingSubtract64(levelThreshold(record.level + 1), c.experience)) << c.level;
  }
}

TEST(ExperienceTick, EndsEvenAtTheLargestExperience) {
  PlayerRecord record = freshRecord();
  record.level = 108;
  record.experience = std::numeric_limits<int64_t>::max();
  runTick(record, 2147483647);  // the gain saturates too
  EXPECT_EQ(record.experience, std::numeric_limits<int64_t>::max());
  EXPECT_EQ(record.level, kMaxLevel);
  EXPECT_EQ(record.experienceToNext, 0);
  EXPECT_EQ(record.points, 1);

  PlayerRecord top = freshRecord();
  top.level = std::numeric_limits<int32_t>::max();
  top.experience = 5;
  runTick(top, 100);
  EXPECT_EQ(top.level, std::numeric_limits<int32_t>::max());  // never goes down, never wraps
}

}  // namespace
}  // namespace orelog

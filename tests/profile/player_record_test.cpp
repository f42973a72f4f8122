// The player record's derived values: experience still needed and the coin that can be spent.
#include "profile/player_record.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace orelog {
namespace {

TEST(PlayerRecord, StartsEmptyWithTheStandardSeed) {
  const PlayerRecord record;
  EXPECT_EQ(record.level, 0);
  EXPECT_EQ(record.experience, 0);
  EXPECT_TRUE(record.items.empty());
  EXPECT_TRUE(record.workers.empty());
  EXPECT_EQ(record.random, std::mt19937{5489});
}

TEST(RefreshExperienceToNext, SubtractsTheExperienceFromTheNextThreshold) {
  struct Case {
    int32_t level;
    int64_t experience;
    int64_t toNext;
  };
  const Case cases[] = {
      {1, 10, 23},
      {2, 40, 37},
      {107, 0, 2102179587},
      {1, std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max()},  // saturates
      {std::numeric_limits<int32_t>::max(), std::numeric_limits<int64_t>::max(), 0},
  };
  for (const auto& c : cases) {
    PlayerRecord record;
    record.level = c.level;
    record.experience = c.experience;
    refreshExperienceToNext(record);
    EXPECT_EQ(record.experienceToNext, c.toNext) << c.level << " " << c.experience;
  }
}

TEST(AvailableCoin, TruncatesTheSumAndNeverGoesBelowZero) {
  struct Case {
    double payout, balance, spent;
    int32_t available, shown;
  };
  const double nan = std::nan("");
  const Case cases[] = {
      {12.9, 0.0, 0.0, 12, 12},
      {10.0, 2.9, 0.0, 12, 12},
      {20.0, 0.5, 8.0, 12, 12},
      {5.0, 0.0, 10.0, 0, -5},
      {0.0, 0.0, 0.5, 0, 0},  // -0.5 truncates toward zero
      {5.0, 0.0, 12.9, 0, -7},
      {1e12, 0.0, 0.0, 2147483647, 2147483647},
      {0.0, 0.0, 1e12, 0, -2147483647 - 1},
      {nan, 0.0, 0.0, 0, 0},
  };
  for (const auto& c : cases) {
    PlayerRecord record;
    record.payout = c.payout;
    record.balance = c.balance;
    record.coinSpent = c.spent;
    EXPECT_EQ(availableCoin(record), c.available) << c.payout << " " << c.balance << " " << c.spent;
    EXPECT_EQ(coinBalance(record), c.shown) << c.payout << " " << c.balance << " " << c.spent;
  }
}

TEST(OwnedItem, OnlyMinusOneTwiceIsUnplaced) {
  EXPECT_TRUE(isUnplaced(OwnedItem{3, -1, -1, 25, 12}));
  EXPECT_FALSE(isUnplaced(OwnedItem{3, 0, -1, 25, 12}));
  EXPECT_FALSE(isUnplaced(OwnedItem{3, -1, 142, 25, 12}));
  EXPECT_FALSE(isUnplaced(OwnedItem{3, 0, 0, 25, 12}));
}

}  // namespace
}  // namespace orelog

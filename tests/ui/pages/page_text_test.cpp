// The number formats of the pages: mining power, coin, play time, the anonymous name.
#include <gtest/gtest.h>

#include "game/mining_power.h"
#include "ui/pages.h"

namespace orelog {
namespace {

struct PowerCase {
  int32_t khs;
  std::u16string playerBox;
  std::u16string workerBox;
};

TEST(MiningPowerText, PlayerBoxShowsWholeMegahashesAndWorkerBoxKeepsKilohashesBelow1000) {
  const PowerCase cases[] = {
      {0, u"0 KH/s", u"0 KH/s"},         {1, u"0 MH/s", u"1 KH/s"},
      {999, u"0 MH/s", u"999 KH/s"},     {1000, u"1 MH/s", u"1 MH/s"},
      {1999, u"1 MH/s", u"1 MH/s"},      {25500, u"25 MH/s", u"25 MH/s"},
      {-5, u"0 MH/s", u"-5 KH/s"},       {2147483647, u"2147483 MH/s", u"2147483 MH/s"},
  };
  for (const PowerCase& c : cases) {
    EXPECT_EQ(totalMiningPowerText(c.khs), c.playerBox) << c.khs;
    EXPECT_EQ(miningPowerText(c.khs), c.workerBox) << c.khs;
  }
}

TEST(PageNumbers, CoinAndExperienceAreShownInFull) {
  EXPECT_EQ(coinText(-3), u"-3 PCC");
  EXPECT_EQ(coinText(0), u"0 PCC");
  EXPECT_EQ(decimalText(5000000000), u"5000000000");
  EXPECT_EQ(decimalText(INT64_MIN), u"-9223372036854775808");
}

TEST(PlayTimeText, HoursAreNeverWrapped) {
  const std::pair<int64_t, std::u16string> cases[] = {
      {0, u"00:00:00"},
      {999, u"00:00:00"},
      {3723456, u"01:02:03"},
      {86399999, u"23:59:59"},
      {86400000, u"24:00:00"},
      {360000000, u"100:00:00"},
      {INT64_MAX, u"2562047788015:12:55"},
      {-5000, u"00:00:00"},  // only an edited file holds a negative time
  };
  for (const auto& [ms, text] : cases) EXPECT_EQ(playTimeText(ms), text) << ms;
}

TEST(PlayerName, EmptyNameReadsAsTheAnonymousName) {
  PlayerRecord record;
  EXPECT_EQ(displayedPlayerName(record), u"名無しさん");
  record.playerName = u"ねこ";
  EXPECT_EQ(displayedPlayerName(record), u"ねこ");
}

}  // namespace
}  // namespace orelog

// The number formats of the pages: mining power, coin, play time, the anonymous name.
#include <gtest/gtest.h>

#include "game/mining_power.h"
#include "ui/pages.h"

namespace orelog {
namespace {

// One rule for the player box, the worker box, the notices and the share message: KH/s below
// 1000 (two decimals below 1), whole MH/s from there, a larger unit once four digits are not enough.
TEST(MiningPowerText, KilohashesBelow1000ThenWholeFiguresOfAtMostFourDigits) {
  const std::pair<double, std::u16string> cases[] = {
      {0, u"0 KH/s"},          {0.49, u"0.49 KH/s"},     {0.24, u"0.24 KH/s"},     {0.004, u"0.01 KH/s"},
      {0.999, u"0.99 KH/s"},   {1, u"1 KH/s"},           {140.6, u"140 KH/s"},     {999, u"999 KH/s"},
      {1000, u"1 MH/s"},       {1999, u"1 MH/s"},        {25500, u"25 MH/s"},      {-5, u"-5 KH/s"},
      {-0.5, u"0 KH/s"},       {9999999, u"9999 MH/s"},  {10000000, u"10 GH/s"},   {2147483647, u"2147 GH/s"},
      {9999999999, u"9999 GH/s"}, {1e10, u"10 TH/s"},    {95e9, u"95 TH/s"},       {2e11, u"200 TH/s"},
      {1e13, u"10 PH/s"},      {9.2e18, u"9200000 PH/s"}, {1e300, u"9223372 PH/s"},
  };
  for (const auto& [khs, text] : cases) EXPECT_EQ(miningPowerText(khs), text) << khs;
}

TEST(MiningPowerText, CharactersDigAsAt1KilohashBelowIt) {
  const std::pair<double, int64_t> cases[] = {{0, 0}, {-0.5, 0}, {0.01, 1}, {0.49, 1}, {0.999, 1},
                                              {1, 1}, {12.9, 12},  {-3.7, -3}, {95e9, 95000000000}};
  for (const auto& [khs, digging] : cases) EXPECT_EQ(diggingKhs(khs), digging) << khs;
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

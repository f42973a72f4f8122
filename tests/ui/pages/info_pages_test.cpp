// The status, credits, friends and log pages, and the dispatcher's handling of page values.
#include <gtest/gtest.h>

#include "page_fixture.h"
#include "ui/pages.h"
#include "ui/palette.h"
#include "ui/sprite_regions.h"

namespace orelog {
namespace {

using test::colourOf;
using test::compose;
using test::DrawnText;
using test::expectTexts;
using test::label;
using test::rightText;

GameScreen onPage(int32_t page) {
  GameScreen screen;
  screen.page = page;
  return screen;
}

DrawnText value(std::u16string text, int y) { return rightText(std::move(text), 217, y, palette::kTextWhite); }

// No name, experience beyond 32 bits, coin spent beyond what the pool paid.
PlayerRecord statusRecord() {
  PlayerRecord record;
  record.level = 12;
  record.experience = 5000000000;
  record.experienceToNext = 123;
  record.payout = 10.0;
  record.balance = 2.5;
  record.coinSpent = 15.5;
  record.points = 77;
  record.playTimeMs = 3723456;
  return record;
}

TEST(StatusPage, DrawsEveryRowWithValuesRightAligned) {
  const DrawnText nameButton{u"名前設定", 302, 72, FontSize::Small, TextAlign::Centre, palette::kTextWhite};
  expectTexts(compose(onPage(kStatusPage), statusRecord()).texts,
              {label(u"戻る", 490, 284), label(u"名前", 47, 78), value(u"名無しさん", 78),
               label(u"レベル", 47, 94), value(u"12", 94), label(u"経験値", 47, 110), value(u"5000000000", 110),
               label(u"次のレベルまで", 47, 126), value(u"123", 126), label(u"ポココインコイン", 47, 142),
               value(u"0", 142), label(u"ポコポイント", 47, 158), value(u"77", 158),
               label(u"プレイ時間", 47, 190), value(u"01:02:03", 190), nameButton});
}

TEST(StatusPage, PaintsBlueWithBannerPanelsAndAvatar) {
  const test::Composed page = compose(onPage(kStatusPage), statusRecord());
  EXPECT_EQ(page.canvas.at(0, 0), palette::kPageBlue);
  EXPECT_EQ(page.canvas.at(519, 100), palette::kPageBlue);
  EXPECT_EQ(page.canvas.at(32, 16), colourOf(sprites::kStatusBanner));
  EXPECT_EQ(page.canvas.at(480, 46), colourOf(sprites::kScreenshotIcon));
  EXPECT_EQ(page.canvas.at(480, 8), colourOf(sprites::kShareIcon));
  EXPECT_EQ(page.canvas.at(231, 267), colourOf(sprites::kBluePanel));  // the table's frame
  EXPECT_EQ(page.canvas.at(292, 123), colourOf(sprites::kAvatar));
  EXPECT_EQ(page.canvas.at(519, 299), colourOf(sprites::kBluePanel));
}

TEST(CreditsPage, DrawsTitleStaffAndNoticeLineWithoutBanner) {
  const std::vector<DrawnText> texts = compose(onPage(kCreditsPage), PlayerRecord{}).texts;
  ASSERT_EQ(texts.size(), 6u);
  EXPECT_EQ(texts[0], (DrawnText{u"ホリダス(仮)", 32, 24, FontSize::Large, TextAlign::Left, palette::kTextWhite}));
  const std::pair<std::u16string_view, int> staff[] = {
      {u"プロデューサー: ", 50}, {u"キャラクターデザイン: ", 66}, {u"プログラム: ", 82}};
  for (std::size_t i = 0; i < 3; ++i) {
    const DrawnText& line = texts[1 + i];
    EXPECT_TRUE(line.text.starts_with(staff[i].first)) << test::describe(line);
    EXPECT_GT(line.text.size(), staff[i].first.size()) << "a name follows the role";
    EXPECT_EQ(line.x, 48);
    EXPECT_EQ(line.y, staff[i].second);
    EXPECT_EQ(line.font, FontSize::Medium);
  }
  EXPECT_EQ(texts[4], (DrawnText{u"このプログラムは下記の著作物を使用しています。", 30, 180, FontSize::Medium,
                                 TextAlign::Left, palette::kTextWhite}));
  EXPECT_EQ(texts[5], label(u"戻る", 490, 284));

  const test::Composed page = compose(onPage(kCreditsPage), PlayerRecord{});
  EXPECT_EQ(page.canvas.at(32, 16), palette::kCreditsNavy);
  EXPECT_EQ(page.canvas.at(480, 46), colourOf(sprites::kScreenshotIcon));
  EXPECT_EQ(page.canvas.at(519, 299), colourOf(sprites::kBluePanel));
}

TEST(FriendsPage, IsAPlaceholder) {
  const test::Composed friends = compose(onPage(kFriendsPage), statusRecord());
  expectTexts(friends.texts, {label(u"戻る", 490, 284), label(u"未実装", 47, 83)});
  EXPECT_EQ(friends.canvas.at(0, 0), palette::kPageBlue);
  EXPECT_EQ(friends.canvas.at(32, 16), colourOf(sprites::kFriendBanner));
}

TEST(PageDispatch, EveryPageFillsTheWholeCanvas) {
  for (int32_t page = kTopPage; page <= kLogPage; ++page) {
    const test::Composed composed = compose(onPage(page), statusRecord());
    for (const Pixel pixel : composed.canvas.storage) ASSERT_NE(pixel, test::kUntouched) << "page " << page;
  }
}

TEST(PageDispatch, UnknownPageLeavesTheCanvasUntouched) {
  for (const int32_t page : {-1, 7, 1000, INT32_MIN}) {
    const test::Composed composed = compose(onPage(page), statusRecord());
    EXPECT_TRUE(composed.texts.empty()) << page;
    for (const Pixel pixel : composed.canvas.storage) ASSERT_EQ(pixel, test::kUntouched) << "page " << page;
  }
}

}  // namespace
}  // namespace orelog

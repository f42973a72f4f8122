// The log page: every label in its place over a two-hour history, the empty chart's one line, the
// range buttons and the event list's scroll bar, and how an event reads.
#include "ui/log_page.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "page_fixture.h"
#include "tests/support/read_file.h"
#include "tests/support/test_paths.h"
#include "ui/palette.h"
#include "ui/sprite_regions.h"

namespace orelog {
namespace {

using test::DrawnText;
using test::expectTexts;
using test::label;

const std::filesystem::path kTwoHours = test::sourcePath("tests/ui/history/two-hours.csv");

DrawnText centred(std::u16string text, int x, int y) {
  return {std::move(text), x, y, FontSize::Small, TextAlign::Centre, palette::kTextWhite};
}
DrawnText right(std::u16string text, int x, int y) {
  return {std::move(text), x, y, FontSize::Small, TextAlign::Right, palette::kTextWhite};
}

GameScreen logScreen(std::vector<HistoryRow> rows) {
  GameScreen screen;
  initGameScreen(screen, PlayerRecord{});
  screen.page = kLogPage;
  setHistoryRows(screen.log.history, std::move(rows));
  syncLogEvents(screen.log);
  return screen;
}

std::vector<HistoryRow> twoHours() {
  return *parseHistory(test::readFile(kTwoHours));
}

// Two hours from 07:00 to 09:00 (+09:00) every 150 s: rig2 stops from 07:20 to 07:35, the game is
// off from 07:40 to 08:05, and 0.25 is paid out at 08:30.
TEST(LogPage, EveryLabelStandsInItsPlace) {
  const test::Composed page = test::compose(logScreen(twoHours()), PlayerRecord{});
  expectTexts(page.texts, {
                              label(u"戻る", 490, 284),
                              centred(u"24時間", 58, 63),
                              centred(u"7日間", 114, 63),
                              centred(u"30日間", 170, 63),
                              right(u"0", 44, 238),
                              right(u"1", 44, 203),
                              right(u"2", 44, 168),
                              right(u"3", 44, 133),
                              right(u"4", 44, 98),
                              right(u"MH/s", 44, 86),
                              centred(u"07:00", 48, 246),
                              centred(u"07:30", 118, 246),
                              centred(u"08:00", 189, 246),
                              centred(u"08:30", 260, 246),
                              centred(u"09:00", 331, 246),
                              label(u"合計", 23, 272),
                              label(u"停止", 131, 272),
                              label(u"cpu", 239, 272),
                              label(u"rig1", 23, 286),
                              label(u"rig2", 131, 286),
                              label(u"できごと", 348, 63),
                              label(u"12/11 08:30", 350, 86),
                              label(u"入金 0.25", 350, 97),
                              label(u"12/11 08:05", 350, 108),
                              label(u"記録を再開", 350, 119),
                              label(u"12/11 07:35", 350, 130),
                              label(u"rig2 再開", 350, 141),
                              label(u"12/11 07:20", 350, 152),
                              label(u"rig2 停止", 350, 163),
                          });
  EXPECT_EQ(page.canvas.at(32, 16), test::colourOf(sprites::kLogBanner));
  EXPECT_EQ(page.canvas.at(0, 0), palette::kPageBlue);
  EXPECT_EQ(page.canvas.at(33, 60), palette::kTextWhite) << "the 24-hour range is ringed: it is the choice";
  EXPECT_NE(page.canvas.at(89, 60), palette::kTextWhite);
}

// Missing, empty, foreign and damaged files all give no rows: the chart says so on one line.
TEST(LogPage, WithoutAHistoryTheChartSaysSoOnOneLine) {
  const test::Composed page = test::compose(logScreen({}), PlayerRecord{});
  expectTexts(page.texts, {
                              label(u"戻る", 490, 284),
                              centred(u"24時間", 58, 63),
                              centred(u"7日間", 114, 63),
                              centred(u"30日間", 170, 63),
                              centred(std::u16string(kNoHistoryYet), 190, 168),
                              label(u"できごと", 348, 63),
                              label(std::u16string(kNoEventsYet), 350, 86),
                          });
}

TEST(LogPage, RangeButtonsPickTheirRangeAndTheBarScrollsTheList) {
  GameScreen screen = logScreen(twoHours());
  LogPageState& log = screen.log;
  EXPECT_EQ(log.days, 1) << "24 hours at start";
  EXPECT_TRUE(pressLogPage(log, 88, 60));
  EXPECT_EQ(log.days, 7);
  EXPECT_FALSE(pressLogPage(log, 139, 75)) << "the same range again changes nothing";
  EXPECT_TRUE(pressLogPage(log, 195, 75));
  EXPECT_EQ(log.days, 30);
  EXPECT_FALSE(pressLogPage(log, 196, 75)) << "between the buttons";
  EXPECT_FALSE(pressLogPage(log, 31, 60));

  // Many stops and starts: more events than rows; the bar's lower button moves one event.
  std::vector<HistoryRow> rows;
  for (int i = 0; i < 40; ++i) rows.push_back({1796950000 + 150 * i, 540, 100.0 * (i % 2), 0, 0, {{"a.rig", 100 * (i % 2)}}});
  screen = logScreen(rows);
  ASSERT_EQ(screen.log.eventsBar.rowCount, 39);
  const ListScrollBar& bar = screen.log.eventsBar;
  EXPECT_TRUE(pressLogPage(screen.log, bar.x + 1, bar.y + bar.height - 2));
  EXPECT_EQ(screen.log.eventsBar.firstRow, 1);
  const test::Composed page = test::compose(screen, PlayerRecord{});
  EXPECT_EQ(page.canvas.at(bar.x, bar.y), palette::kScrollButtonGrey);
}

TEST(LogPage, AWorkersNameIsCutWithAnEllipsisAndKeepsOnlyWhatTheFontHas) {
  RecordingTextRenderer text;
  HistoryEvent stopped;
  stopped.kind = HistoryEvent::Kind::WorkerStopped;
  stopped.worker = "kuro.averyveryverylongrigname";
  EXPECT_EQ(eventText(text, stopped, 102), u"averyveryvery… 停止");
  stopped.worker = "kuro.r\xEE\x80\x80ig";  // U+E000, which the face lacks
  EXPECT_EQ(eventText(text, stopped, 102), u"rig 停止");
  stopped.worker = "kuro.\xEE\x80\x80";
  EXPECT_EQ(eventText(text, stopped, 102), u"? 停止");
  HistoryEvent payout;
  payout.amount = 0.125;
  EXPECT_EQ(eventText(text, payout, 102), u"入金 0.125");
  payout.amount = 3;
  EXPECT_EQ(eventText(text, payout, 102), u"入金 3");
  EXPECT_EQ(eventTimeText(1796950000, 540), u"12/11 09:46");
}

}  // namespace
}  // namespace orelog

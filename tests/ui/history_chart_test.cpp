// The history chart of a pinned week: its pixels against a committed reference, its texts and their
// places, the value axis's unit, the shading and the gaps; and orelog-tool history run as a program.
#include "ui/history_chart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "services/null_platform.h"
#include "services/png_codec.h"
#include "tests/support/printable.h"
#include "tests/support/read_file.h"
#include "tests/support/recording_text_renderer.h"
#include "tests/support/shell_command.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_paths.h"
#include "ui/palette.h"
#include "ui/sheet_decoding.h"
#include "util/utf.h"

namespace orelog {
namespace {

namespace fs = std::filesystem;

const fs::path kFixtures = test::sourcePath("tests/ui/history");
const std::string kTool = test::binaryPath("orelog-tool");
// The week's rows: 2026-12-04 09:00 to 12-11 09:00 (+09:00) every 30 minutes; rig2 joins after 30
// hours; every worker stops from 12-07 11:00 to 17:00; the cpu stops for the day from 12-08 13:00;
// the game is off from 12-09 05:00 to 15:00.
// To draw the reference again: orelog-tool history seven-days.png --no-text, in a folder holding
// seven-days.csv as history.csv.
const fs::path kWeek = kFixtures / "seven-days.csv";
const fs::path kWeekPicture = kFixtures / "seven-days.png";

const SpriteSheets& sheets() {
  static const SpriteSheets loaded = *loadEmbeddedSheets();
  return loaded;
}

std::vector<HistoryRow> week() {
  return *parseHistory(test::readFile(kWeek));
}

Canvas chartOf(const std::vector<HistoryRow>& rows, TextRenderer& text, int32_t days = kDefaultHistoryDays) {
  Canvas canvas = makeCanvas();
  PageTools tools{canvas, sheets(), text};
  drawHistoryPicture(tools, rows, days);
  return canvas;
}

std::optional<Image> decodePngFile(const fs::path& file) {
  const std::string bytes = test::readFile(file);
  return decodePngBytes({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
}

// How many pixels differ, and where the first one is.
std::string differences(const Canvas& canvas, const Image& image) {
  if (image.width != canvas.width || image.height != canvas.height) return "the sizes differ";
  int count = 0;
  std::string first;
  for (int y = 0; y < canvas.height; ++y)
    for (int x = 0; x < canvas.width; ++x)
      if (canvas.at(x, y) != image.at(x, y) && count++ == 0) first = std::to_string(x) + "," + std::to_string(y);
  return count == 0 ? "" : std::to_string(count) + " pixels differ, the first at " + first;
}

std::vector<std::string> described(const std::vector<RecordedText>& texts) {
  std::vector<std::string> lines;
  for (const RecordedText& t : texts) {
    lines.push_back(utf16ToUtf8(t.text) + " at " + std::to_string(t.x) + "," + std::to_string(t.y) + " size " +
                    std::to_string(static_cast<int>(t.font)) + " align " + std::to_string(static_cast<int>(t.align)) +
                    " colour " + std::to_string(t.colour));
  }
  return lines;
}

int32_t plotXOf(int64_t seconds, int64_t end) {  // the plot's own mapping, for a 7-day chart
  constexpr int32_t kLeft = 60, kWidth = 440;
  return static_cast<int32_t>(kLeft + (seconds - (end - 7 * 86400)) * (kWidth - 1) / (7 * 86400));
}

TEST(HistoryChart, APinnedWeekMatchesItsReferencePicture) {
  NullTextRenderer noText;
  const Canvas canvas = chartOf(week(), noText);
  const std::optional<Image> reference = decodePngFile(kWeekPicture);
  ASSERT_TRUE(reference);
  EXPECT_EQ(differences(canvas, *reference), "");
}

TEST(HistoryChart, TitleAxesDatesAndLegendStandInTheirPlaces) {
  RecordingTextRenderer text;
  chartOf(week(), text);
  const Pixel white = palette::kTextWhite;
  const std::vector<RecordedText> expected = {
      {u"ハッシュレートの推移", 12, 5, FontSize::Medium, TextAlign::Left, white},
      {u"直近7日間", 508, 8, FontSize::Small, TextAlign::Right, white},
      {u"0", 54, 228, FontSize::Small, TextAlign::Right, white},
      {u"1", 54, 136, FontSize::Small, TextAlign::Right, white},
      {u"2", 54, 43, FontSize::Small, TextAlign::Right, white},
      {u"MH/s", 54, 31, FontSize::Small, TextAlign::Right, white},
      {u"12/5", 99, 236, FontSize::Small, TextAlign::Centre, white},
      {u"12/6", 161, 236, FontSize::Small, TextAlign::Centre, white},
      {u"12/7", 224, 236, FontSize::Small, TextAlign::Centre, white},
      {u"12/8", 287, 236, FontSize::Small, TextAlign::Centre, white},
      {u"12/9", 350, 236, FontSize::Small, TextAlign::Centre, white},
      {u"12/10", 412, 236, FontSize::Small, TextAlign::Centre, white},
      {u"12/11", 475, 236, FontSize::Small, TextAlign::Centre, white},
      {u"合計", 23, 271, FontSize::Small, TextAlign::Left, white},
      {u"停止", 107, 271, FontSize::Small, TextAlign::Left, white},
      {u"cpu", 191, 271, FontSize::Small, TextAlign::Left, white},
      {u"rig1", 275, 271, FontSize::Small, TextAlign::Left, white},
      {u"rig2", 359, 271, FontSize::Small, TextAlign::Left, white},
  };
  EXPECT_EQ(described(text.texts), described(expected));
}

// The axis reads as every hashrate in the game does: KH/s below 1000, MH/s from there, then GH/s,
// TH/s and PH/s once four digits are not enough, in whole steps of its unit.
TEST(HistoryChart, TheValueAxisReadsInTheGamesUnit) {
  struct Case {
    double most;
    std::u16string unit;
    std::u16string top;
  };
  // Past 32 bits (a 95 TH/s ASIC) the figures are not clamped; a CPU worker of 0.49 KH/s counts.
  const Case cases[] = {{0, u"KH/s", u"1"},           {3, u"KH/s", u"3"},
                        {188, u"KH/s", u"200"},       {999, u"KH/s", u"1000"},
                        {1000, u"MH/s", u"1"},        {25500, u"MH/s", u"30"},
                        {-5, u"KH/s", u"1"},          {9999999, u"MH/s", u"10000"},
                        {10000000, u"GH/s", u"10"},   {2147483647, u"GH/s", u"2500"},
                        {95e9, u"TH/s", u"100"},      {1e13, u"PH/s", u"10"},
                        {9.2e18, u"PH/s", u"10000000"}, {0.49, u"KH/s", u"1"}};
  for (const Case& c : cases) {
    HistoryRow row{1796949245, 0, c.most, 0, 0, {{"a.rig", c.most}}};
    RecordingTextRenderer text;
    chartOf({row}, text);
    const auto unit = findText(text, c.unit);
    ASSERT_TRUE(unit) << c.most;
    EXPECT_EQ(unit->y, 31);
    // The top label is the one drawn highest on the axis.
    std::optional<RecordedText> top;
    for (const RecordedText& drawn : text.texts)
      if (drawn.x == 54 && drawn.text != c.unit && (!top || drawn.y < top->y)) top = drawn;
    ASSERT_TRUE(top) << c.most;
    EXPECT_EQ(top->text, c.top) << c.most;
  }
}

// Two hours of a 95 TH/s ASIC, and of two CPU workers of 0.49 and 0.24 KH/s: the total's line stands
// at its height on the axis of its unit, and a total below 1 KH/s is mining, never shaded as stopped.
TEST(HistoryChart, AnAsicAndCpuWorkersStandAtTheirHeights) {
  struct Case {
    std::vector<std::pair<std::string, double>> workers;
    double total;
    std::u16string unit;
    std::u16string top;
    int32_t totalY;  // the plot's bottom, less the total's share of its 185 pixels
  };
  const Case cases[] = {{{{"kuro.asic", 95e9}}, 95e9, u"TH/s", u"100", 233 - 175},
                        {{{"kuro.cpu1", 0.49}, {"kuro.cpu2", 0.24}}, 0.73, u"KH/s", u"1", 233 - 135}};
  for (const Case& c : cases) {
    std::vector<HistoryRow> rows;
    const int64_t start = 1796940000;
    for (int i = 0; i <= 48; ++i) rows.push_back({start + 150 * i, 540, c.total, 0, 0, c.workers});
    RecordingTextRenderer text;
    const Canvas canvas = chartOf(rows, text);
    EXPECT_TRUE(findText(text, c.unit)) << test::printable(c.unit);
    EXPECT_TRUE(findText(text, c.top)) << test::printable(c.top);
    EXPECT_FALSE(findText(text, u"100000000")) << "no figure of nine digits";
    EXPECT_EQ(canvas.at(280, c.totalY), palette::kTextWhite) << test::printable(c.unit);
    EXPECT_EQ(canvas.at(280, c.totalY - 1), palette::kTextWhite) << "the total's line is two pixels thick";
    NullTextRenderer noText;
    const Canvas plain = chartOf(rows, noText);
    EXPECT_EQ(plain.at(280, 220), plain.at(280, 221)) << "no shading, no line near the bottom";
    EXPECT_NE(plain.at(280, 220), canvas.at(12 + 84 + 4, 271 + 6)) << "not the stopped shade";
  }
}

TEST(HistoryChart, StoppedStretchesAreShadedAndTheGameOffBreaksTheLines) {
  NullTextRenderer noText;
  const std::vector<HistoryRow> rows = week();
  const Canvas canvas = chartOf(rows, noText);
  const int64_t end = rows.back().utcSeconds;
  const int64_t stopped = 1796619600;  // 12-07 14:00 +09:00, inside the stop
  const int64_t gameOff = 1796778000;  // 12-09 10:00 +09:00, while the game was off
  const Pixel shade = canvas.at(plotXOf(stopped, end), 120);
  EXPECT_NE(shade, canvas.at(plotXOf(stopped - 86400, end), 120)) << "the stretch stands out";
  const int32_t offX = plotXOf(gameOff, end);
  for (int y = 40; y < 234; ++y) EXPECT_NE(canvas.at(offX, y), palette::kTextWhite) << "no line at y " << y;
}

TEST(HistoryChart, ThePeriodEndsAtTheNewestRowWhateverTheirOrder) {
  std::vector<HistoryRow> rows = week();
  std::reverse(rows.begin(), rows.end());
  NullTextRenderer noText;
  const std::optional<Image> reference = decodePngFile(kWeekPicture);
  ASSERT_TRUE(reference);
  EXPECT_EQ(differences(chartOf(rows, noText), *reference), "");
  RecordingTextRenderer text;
  chartOf(week(), text, 1);
  EXPECT_TRUE(findText(text, u"直近1日間"));
  EXPECT_TRUE(findText(text, u"06:00")) << "a day is marked in hours";
  EXPECT_TRUE(findText(text, u"12/11"));
}

// Two hours on a 7-day chart run across the whole plot from the first row, marked in hours.
TEST(HistoryChart, AShortHistoryRunsAcrossThePlotWithHourLabels) {
  std::vector<HistoryRow> rows;
  const int64_t start = 1796940000;  // 2026-12-11 06:59:20 +09:00
  for (int i = 0; i <= 48; ++i) rows.push_back({start + 150 * i, 540, 1000.0 + i, 0, 0, {{"a.rig", 1000 + i}}});
  NullTextRenderer noText;
  const Canvas canvas = chartOf(rows, noText);
  EXPECT_EQ(canvas.at(60, 233 - (1000 * 185 / 2000)), palette::kTextWhite) << "the first row at the plot's left";
  EXPECT_EQ(canvas.at(499, 233 - (1048 * 185 / 2000)), palette::kTextWhite) << "the last at its right";
  RecordingTextRenderer text;
  chartOf(rows, text);
  EXPECT_TRUE(findText(text, u"07:15"));
  EXPECT_TRUE(findText(text, u"09:00"));
  EXPECT_FALSE(findTextContaining(text, u"12/")) << "no dates within one morning";
  RecordingTextRenderer one;
  chartOf({rows.front()}, one);  // a single row still has a place
  EXPECT_TRUE(findText(one, u"合計"));
}

TEST(HistoryChart, TheStoppedSwatchStandsOutFromThePage) {
  NullTextRenderer noText;
  const Canvas canvas = chartOf(week(), noText);
  const Pixel swatch = canvas.at(12 + 84 + 4, 271 + 6);
  const auto apart = [](Pixel a, Pixel b) {
    return std::abs(int(red(a)) - int(red(b))) + std::abs(int(green(a)) - int(green(b))) +
           std::abs(int(blue(a)) - int(blue(b)));
  };
  EXPECT_GE(apart(swatch, palette::kPageBlue), 120);
  EXPECT_GE(apart(swatch, rgb(24, 0, 255)), 120) << "nor from the panel inside";
}

TEST(HistoryChart, LegendNamesAreCutWithAnEllipsisAndKeepOnlyWhatTheFontHas) {
  HistoryRow row{1796949245, 540, 30, 0, 0, {{"a.averyveryverylongname", 10}, {"a.\xEE\x80\x80x", 10}, {"a.\xEE\x80\x81", 10},
                                              {std::string(70, 'w'), 10}}};
  RecordingTextRenderer text;
  chartOf({row}, text);
  EXPECT_TRUE(findText(text, u"averyveryve…"));
  EXPECT_TRUE(findText(text, u"x")) << "U+E000, which the face lacks, is left out";
  EXPECT_TRUE(findText(text, u"?")) << "a name of nothing but such characters";
  EXPECT_FALSE(findTextContaining(text, u"\uE000"));
  // A name too long for a character's is shown by the pool's name, cut, never as "?".
  const auto cutLong = std::count_if(text.texts.begin(), text.texts.end(), [](const RecordedText& drawn) {
    return drawn.text.starts_with(u"www") && drawn.text.ends_with(u"…");
  });
  EXPECT_EQ(cutLong, 1);
  EXPECT_EQ(std::count_if(text.texts.begin(), text.texts.end(), [](const RecordedText& drawn) { return drawn.text == u"?"; }), 1);
}

// --- orelog-tool history ------------------------------------------------------------------------------

struct ToolResult {
  int code = 0;
  std::string err;
};

ToolResult runTool(const fs::path& folder, const std::string& arguments) {
  const fs::path err = folder / "stderr.txt";
  const int code = test::runShellCommand("cd '" + folder.string() + "' && '" + kTool + "' history " + arguments +
                                         " 2>'" + err.string() + "' >/dev/null");
  return {code, test::readFile(err)};
}

TEST(HistoryTool, DrawsTheHistoryBesideTheRecord) {
  test::TempFolder folder{"orelog-history-tool"};
  fs::copy_file(kWeek, folder.file(kHistoryFileName));
  ASSERT_EQ(runTool(folder.path, "plain.png --no-text").code, 0);
  const auto plain = decodePngFile(folder.file("plain.png"));
  ASSERT_TRUE(plain);
  NullTextRenderer noText;
  const Canvas expected = chartOf(week(), noText);
  const Image& picture = *plain;
  EXPECT_TRUE(std::equal(expected.storage.begin(), expected.storage.end(), picture.pixels.begin(),
                         picture.pixels.end()));

  ASSERT_EQ(runTool(folder.path, "text.png --days 7").code, 0);
  const auto withText = decodePngFile(folder.file("text.png"));
  ASSERT_TRUE(withText);
  EXPECT_NE(withText->pixels, plain->pixels) << "the texts are drawn";
}

TEST(HistoryTool, WithoutAHistoryItSaysSoAndExitsOne) {
  test::TempFolder folder{"orelog-history-tool"};
  struct Case {
    const char* content;  // nullptr: no file
    const char* says;
  };
  const std::string header = historyHeaderLine();
  const Case cases[] = {{nullptr, "no history yet"},
                        {header.c_str(), "no history yet"},
                        {"date,value\r\n1,2\r\n", "not a history"}};
  for (const Case& c : cases) {
    fs::remove(folder.file(kHistoryFileName));
    if (c.content) folder.write(kHistoryFileName, c.content);
    const ToolResult result = runTool(folder.path, "chart.png");
    EXPECT_EQ(result.code, 1);
    EXPECT_NE(result.err.find(c.says), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(folder.file("chart.png")));
  }
}

TEST(HistoryTool, UsageErrorsExitTwo) {
  test::TempFolder folder{"orelog-history-tool"};
  fs::copy_file(kWeek, folder.file(kHistoryFileName));
  for (const char* usage : {"", "chart.png --days", "chart.png --days 0", "chart.png --days 3651",
                            "chart.png --days x", "chart.png --weeks 2", "chart.png extra"}) {
    EXPECT_EQ(runTool(folder.path, usage).code, 2) << usage;
  }
}

}  // namespace
}  // namespace orelog

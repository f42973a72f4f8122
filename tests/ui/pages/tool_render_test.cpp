// orelog-tool render and share-link run as a user runs them, on a config.json in a fresh folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "services/png_codec.h"
#include "tests/support/read_file.h"
#include "tests/support/test_paths.h"
#include "tests/support/shell_command.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_paths.h"
#include "ui/palette.h"

namespace orelog {
namespace {

namespace fs = std::filesystem;

const std::string kTool = test::binaryPath("orelog-tool");

// A placed ladder, an unplaced cone and a named player; no server, so no cycle is run.
constexpr const char* kConfig =
    R"({"Version":3,"Player Name":"ねこ","Play Time":3723456,"Server":"","API Key":"","Last Timestamp":0,)"
    R"("Payout":10,"Level":3,"Experience":100,"Poko Coin Coin Spent":2,"Poko Point":5,)"
    R"("Items":[{"Item ID":13,"X":100,"Y":105},{"Item ID":0,"X":-1,"Y":-1}]})";

class ToolRun : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = temp_.path;
    std::ofstream(folder_ / "config.json") << kConfig;
  }

  // Runs the tool in the folder; its exit status, standard output in `out`.
  int run(const std::string& arguments, std::string* out = nullptr) {
    const fs::path output = folder_ / "stdout.txt";
    const std::string command = "cd '" + folder_.string() + "' && '" + kTool + "' " + arguments + " >'" +
                                output.string() + "' 2>/dev/null";
    const int code = test::runShellCommand(command);
    if (out) *out = readFile(output);
    return code;
  }

  static std::string readFile(const fs::path& path) { return test::readFile(path); }

  std::optional<Image> picture(const std::string& name) {
    const std::string bytes = readFile(folder_ / name);
    return decodePngBytes({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
  }

  test::TempFolder temp_{"orelog-pages"};
  fs::path folder_;
};

TEST_F(ToolRun, RenderWritesEveryPageAsA520By300Png) {
  const Pixel backgrounds[] = {palette::kTopPageGrey, palette::kCreditsNavy, palette::kPageBlue, palette::kPageBlue,
                               palette::kPageBlue,    palette::kPageBlue,    palette::kPageBlue};
  for (int page = 0; page <= 6; ++page) {
    const std::string name = "page" + std::to_string(page) + ".png";
    ASSERT_EQ(run("render " + std::to_string(page) + " " + name + " --frame 7 --hover 0"), 0) << page;
    const std::optional<Image> image = picture(name);
    ASSERT_TRUE(image) << page;
    EXPECT_EQ(image->width, 520);
    EXPECT_EQ(image->height, 300);
    EXPECT_EQ(image->at(1, 1), backgrounds[page]) << page;
  }
  EXPECT_NE(picture("page5.png")->pixels, picture("page6.png")->pixels) << "the log page is its own";
}

// The log page of a pinned week and of two hours, against committed pictures. To draw them again:
// orelog-tool render 6 NAME.png --no-text in a folder holding the history as history.csv.
TEST_F(ToolRun, TheLogPageOfAPinnedHistoryMatchesItsPicture) {
  const fs::path histories = test::sourcePath("tests/ui/history");
  for (const char* name : {"seven-days", "two-hours"}) {
    fs::copy_file(histories / (std::string(name) + ".csv"), folder_ / "history.csv",
                  fs::copy_options::overwrite_existing);
    ASSERT_EQ(run("render 6 log.png --no-text"), 0) << name;
    const std::optional<Image> drawn = picture("log.png");
    const std::string bytes = readFile(test::sourcePath("tests/ui/pages/log-" + std::string(name) + ".png"));
    const std::optional<Image> reference =
        decodePngBytes({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
    ASSERT_TRUE(drawn && reference) << name;
    EXPECT_TRUE(drawn->pixels == reference->pixels) << name;
  }
}

// A history that is missing, empty, foreign or damaged leaves the chart empty; the page is drawn.
TEST_F(ToolRun, TheLogPageWithoutAHistoryIsStillDrawn) {
  for (const char* content : {"", "\xEF\xBB\xBFtime,total_khs,balance,payout,worker,khs\r\n", "date,value\r\n1,2\r\n",
                              "\xEF\xBB\xBFtime,total_khs,balance,payout,worker,khs\r\n\x01\xFFgarbage,,,\r\n"}) {
    std::ofstream(folder_ / "history.csv", std::ios::binary) << content;
    ASSERT_EQ(run("render 6 empty.png"), 0) << content;
    ASSERT_TRUE(picture("empty.png")) << content;
  }
  fs::remove(folder_ / "history.csv");
  ASSERT_EQ(run("render 6 missing.png"), 0);
  EXPECT_TRUE(picture("missing.png"));
}

// Without texts a page keeps its pictures and colours, and only loses the texts' pixels.
TEST_F(ToolRun, RenderWithoutTextLeavesOnlyTheTextsOut) {
  ASSERT_EQ(run("render 2 text.png"), 0);
  ASSERT_EQ(run("render 2 plain.png --no-text"), 0);
  ASSERT_EQ(run("render 2 plain-again.png --no-text"), 0);
  const std::optional<Image> text = picture("text.png");
  const std::optional<Image> plain = picture("plain.png");
  ASSERT_TRUE(text && plain);
  EXPECT_EQ(plain->at(1, 1), palette::kPageBlue);
  EXPECT_NE(text->pixels, plain->pixels);
  EXPECT_EQ(readFile(folder_ / "plain.png"), readFile(folder_ / "plain-again.png"));
}

TEST_F(ToolRun, UsageErrorsExitWith2AndWriteNothing) {
  const char* wrong[] = {"render",           "render 0",          "render 7 x.png",         "render -1 x.png",
                         "render 0 x.png --frame", "render 0 x.png --hover -1", "render 0 x.png --cycles 1 --cycles 1",
                         "render 0 x.png --bogus 1", "share-link --frame 1", "share-link --cycles x"};
  for (const char* arguments : wrong) {
    EXPECT_EQ(run(arguments), 2) << arguments;
  }
  EXPECT_FALSE(fs::exists(folder_ / "x.png"));
}

TEST_F(ToolRun, UnwritablePictureIsAFailure) {
  EXPECT_EQ(run("render 0 no-such-folder/x.png"), 1);
}

TEST_F(ToolRun, ShareLinkPrintsTheIntentLink) {
  std::string out;
  ASSERT_EQ(run("share-link", &out), 0);
  EXPECT_TRUE(out.starts_with("https://twitter.com/intent/tweet?text=%e3%81%ad%e3%81%93")) << out;
  EXPECT_TRUE(out.ends_with("\n"));
}

}  // namespace
}  // namespace orelog

// The committed sheets are what sheetgen makes of the committed art, pixel for pixel.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "sheet_pixels.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_paths.h"

namespace orelog::sheetgen {
namespace {

namespace fs = std::filesystem;

// "" when equal, otherwise how many pixels differ and where the first one is.
std::string difference(const RgbImage& made, const RgbImage& committed) {
  if (made.width != committed.width || made.height != committed.height) return "the sizes differ";
  int count = 0;
  std::string first;
  for (int y = 0; y < made.height; ++y) {
    for (int x = 0; x < made.width; ++x) {
      if (pixelAt(made, x, y) == pixelAt(committed, x, y)) continue;
      if (count++ == 0) first = " first at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
    }
  }
  return count == 0 ? "" : std::to_string(count) + " pixels differ," + first;
}

TEST(CommittedSheets, MatchTheArtSources) {
  const test::TempFolder temp("orelog-sheets");
  const fs::path& dir = temp.path;
  const std::string command = test::binaryPath("sheetgen") + " '" + test::sourcePath("res/art") + "' '" +
                              (dir / "colour.png").string() + "' '" + (dir / "mask.png").string() + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  const auto made = readSheets((dir / "colour.png").string(), (dir / "mask.png").string());
  const auto committed = readCommittedSheets();
  ASSERT_TRUE(made.has_value());
  ASSERT_TRUE(committed.has_value()) << "res/sheet-colour.png or res/sheet-mask.png cannot be read";
  const char* regenerate = " (run `ninja sheets` and copy the two sheets to res/)";
  EXPECT_EQ(difference(made->colour, committed->colour), "") << "colour sheet" << regenerate;
  EXPECT_EQ(difference(made->mask, committed->mask), "") << "mask sheet" << regenerate;
}

}  // namespace
}  // namespace orelog::sheetgen

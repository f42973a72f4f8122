// orelog-tool sprites: the contact sheet shows the embedded sheets' pictures, enlarged 4x.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "sheet_pixels.h"
#include "tests/support/shell_command.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_paths.h"
#include "ui/sprite_regions.h"

namespace orelog::sheetgen {
namespace {

namespace fs = std::filesystem;

int runTool(const std::string& arguments) {
  const std::string command = test::binaryPath("orelog-tool") + " sprites " + arguments + " 2>/dev/null";
  return test::runShellCommand(command);
}

TEST(ContactSheet, EnlargesTheFirstRegionFaithfully) {
  const test::TempFolder temp("orelog-contact");
  const fs::path file = temp.file("contact.png");
  ASSERT_EQ(runTool("'" + file.string() + "'"), 0);
  const auto contact = readRgbPng(file.string());
  const auto sheets = readCommittedSheets();
  ASSERT_TRUE(contact && sheets);
  EXPECT_EQ(contact->width, 1700);

  // The title banner comes first: its name at (12, 12), 14 pixels high, then 4 pixels of gap and
  // a one-pixel frame around the picture.
  const SpriteRegion r = sprites::kNamedRegions[0].region;
  constexpr int kLeft = 13, kTop = 31, kZoom = 4;
  ASSERT_GE(contact->height, kTop + r.height * kZoom);
  int drawn = 0, wrong = 0;
  for (int sy = 0; sy < r.height; ++sy) {
    for (int sx = 0; sx < r.width; ++sx) {
      if (pixelAt(sheets->mask, r.x + sx, r.y + sy) == 0) continue;
      ++drawn;
      const uint32_t expected = pixelAt(sheets->colour, r.x + sx, r.y + sy);
      wrong += pixelAt(*contact, kLeft + sx * kZoom, kTop + sy * kZoom) != expected;
      wrong += pixelAt(*contact, kLeft + sx * kZoom + kZoom - 1, kTop + sy * kZoom + kZoom - 1) != expected;
    }
  }
  EXPECT_GT(drawn, 0);
  EXPECT_EQ(wrong, 0);
}

TEST(ContactSheet, UsageAndUnwritableFiles) {
  EXPECT_EQ(runTool(""), 2);
  EXPECT_EQ(runTool("a.png b.png"), 2);
  EXPECT_EQ(runTool("/nonexistent/folder/contact.png"), 1);
}

}  // namespace
}  // namespace orelog::sheetgen

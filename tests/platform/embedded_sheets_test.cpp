// The sprite sheets compiled into the program decode to two 1024 x 1024 pictures that agree.
#include "ui/sheet_decoding.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "png_codec.h"
#include "tests/support/read_file.h"
#include "tests/support/temp_folder.h"
#include "ui/sprite_regions.h"

namespace orelog {
namespace {

// A PNG of a plain picture of the given size, as bytes.
std::vector<uint8_t> plainPng(int width, int height, Pixel colour) {
  test::TempFolder folder;
  const std::string path = folder.file("sheet.png");
  const Image image{width, height, std::vector<Pixel>(static_cast<std::size_t>(width) * height, colour)};
  if (!writePngFile(image, path)) return {};
  return test::readFileBytes(path);
}

TEST(DecodeSheets, TwoFullSizeSheetsDecode) {
  const std::vector<uint8_t> white = plainPng(1024, 1024, rgb(255, 255, 255));
  const std::vector<uint8_t> black = plainPng(1024, 1024, rgb(0, 0, 0));
  const std::optional<SpriteSheets> sheets = decodeSheets(white, black, decodePngBytes);
  ASSERT_TRUE(sheets.has_value());
  EXPECT_EQ(sheets->colour.at(1023, 1023), rgb(255, 255, 255));
  EXPECT_EQ(sheets->mask.at(1023, 1023), rgb(0, 0, 0));
}

TEST(DecodeSheets, AWrongSizeOrUnreadableSheetFailsTheLoad) {
  const std::vector<uint8_t> good = plainPng(1024, 1024, rgb(255, 255, 255));
  const std::vector<uint8_t> shortSheet = plainPng(1024, 1023, rgb(255, 255, 255));
  const std::vector<uint8_t> narrowSheet = plainPng(512, 1024, rgb(255, 255, 255));
  const std::vector<uint8_t> garbage(good.begin(), good.begin() + 100);
  for (const auto* bad : {&shortSheet, &narrowSheet, &garbage}) {
    EXPECT_FALSE(decodeSheets(*bad, good, decodePngBytes).has_value());
    EXPECT_FALSE(decodeSheets(good, *bad, decodePngBytes).has_value());
  }
}

#ifdef ORELOG_HAVE_EMBEDDED_SHEETS

TEST(EmbeddedSheets, DecodeToTwoFullSizeSheets) {
  const std::optional<SpriteSheets> sheets = loadEmbeddedSheets();
  ASSERT_TRUE(sheets.has_value());
  for (const Image* sheet : {&sheets->colour, &sheets->mask}) {
    EXPECT_EQ(sheet->width, sprites::kSheetSize);
    EXPECT_EQ(sheet->height, sprites::kSheetSize);
  }
}

// Where the mask is black no picture has a pixel, so the colour sheet must be white there, or the
// AND of the sprite copy would stain the canvas around every picture.
TEST(EmbeddedSheets, ColourIsWhiteWhereverTheMaskIsBlack) {
  const std::optional<SpriteSheets> sheets = loadEmbeddedSheets();
  ASSERT_TRUE(sheets.has_value());
  int stained = 0, notBlackOrWhite = 0;
  for (std::size_t i = 0; i < sheets->mask.pixels.size(); ++i) {
    const Pixel mask = sheets->mask.pixels[i];
    notBlackOrWhite += mask != rgb(0, 0, 0) && mask != rgb(255, 255, 255);
    stained += mask == rgb(0, 0, 0) && sheets->colour.pixels[i] != rgb(255, 255, 255);
  }
  EXPECT_EQ(notBlackOrWhite, 0);
  EXPECT_EQ(stained, 0);
}

#else

TEST(EmbeddedSheets, WithoutSheetsInTheBuildTheLoadFails) {
  EXPECT_FALSE(loadEmbeddedSheets().has_value());
}

#endif

}  // namespace
}  // namespace orelog

// The sprite sheets compiled into the program decode to two 1024 x 1024 pictures that agree.
#include "embedded_sheets.h"

#include <gtest/gtest.h>

#include "ui/sprite_regions.h"

namespace orelog {
namespace {

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

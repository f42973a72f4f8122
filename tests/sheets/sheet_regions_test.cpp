// Every region the game draws holds a picture on the committed sheets, and the two sheets agree.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <ostream>
#include <string>
#include <vector>

#include "art_file.h"
#include "generate.h"
#include "profile/catalogue.h"
#include "sheet_pixels.h"
#include "tests/support/test_paths.h"
#include "ui/sprite_regions.h"

namespace orelog::sheetgen {
namespace {

constexpr uint32_t kWhite = 0xffffff;
constexpr uint32_t kBlack = 0x000000;

const SheetPixels& sheets() {
  static const std::optional<SheetPixels> loaded = readCommittedSheets();
  if (!loaded) ADD_FAILURE() << "res/sheet-colour.png or res/sheet-mask.png cannot be read";
  static const SheetPixels empty{};
  return loaded ? *loaded : empty;
}

bool loaded() { return sheets().mask.width == sprites::kSheetSize && sheets().colour.width == sprites::kSheetSize; }

struct RegionCase {
  std::string name;
  SpriteRegion region;
  bool item = false;
};

void PrintTo(const RegionCase& c, std::ostream* out) {
  *out << c.name << " (" << c.region.x << ", " << c.region.y << ", " << c.region.width << " x " << c.region.height << ")";
}

std::vector<RegionCase> allRegions() {
  std::vector<RegionCase> cases;
  for (const auto& named : sprites::kNamedRegions) cases.push_back({named.name, named.region});
  for (int32_t kind = 0; kind < kItemKindCount; ++kind) {
    cases.push_back({"item " + std::to_string(kind), itemRegion(kind), true});
  }
  return cases;
}

bool insideSheet(const SpriteRegion& r) {
  return r.x >= 0 && r.y >= 0 && r.width > 0 && r.height > 0 && r.x + r.width <= sprites::kSheetSize &&
         r.y + r.height <= sprites::kSheetSize;
}

int silhouetteInRows(const SpriteRegion& r, int firstRow, int lastRow) {
  int count = 0;
  for (int y = r.y + firstRow; y <= r.y + lastRow; ++y) {
    for (int x = r.x; x < r.x + r.width; ++x) count += pixelAt(sheets().mask, x, y) == kWhite;
  }
  return count;
}

class SheetRegion : public testing::TestWithParam<RegionCase> {};

TEST_P(SheetRegion, LiesInsideTheSheetAndHoldsAPicture) {
  const SpriteRegion& r = GetParam().region;
  ASSERT_TRUE(insideSheet(r)) << r.x << ", " << r.y << ", " << r.width << " x " << r.height;
  ASSERT_TRUE(loaded());
  EXPECT_GT(silhouetteInRows(r, 0, r.height - 1), 0) << "nothing is drawn in " << GetParam().name;
}

// Items fall until their bottom edge meets a shelf line, so their pictures must reach that edge.
TEST_P(SheetRegion, ItemsStandOnTheirBottomRow) {
  const SpriteRegion& r = GetParam().region;
  if (!GetParam().item || !insideSheet(r) || !loaded()) return;
  EXPECT_GT(silhouetteInRows(r, r.height - 1, r.height - 1), 0) << GetParam().name << " would float";
}

std::string caseName(const testing::TestParamInfo<RegionCase>& info) {
  std::string name = info.param.name;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Named, SheetRegion, testing::ValuesIn(allRegions()), caseName);

TEST(SheetPixels, TheMaskIsPureBlackAndWhiteAndTheColourWhiteOutsideIt) {
  ASSERT_TRUE(loaded());
  const SheetPixels& s = sheets();
  ASSERT_EQ(s.colour.height, sprites::kSheetSize);
  ASSERT_EQ(s.mask.height, sprites::kSheetSize);
  int grey = 0, stray = 0;
  for (int y = 0; y < sprites::kSheetSize; ++y) {
    for (int x = 0; x < sprites::kSheetSize; ++x) {
      const uint32_t mask = pixelAt(s.mask, x, y);
      grey += mask != kWhite && mask != kBlack;
      stray += mask == kBlack && pixelAt(s.colour, x, y) != kWhite;
    }
  }
  EXPECT_EQ(grey, 0) << "mask pixels that are neither black nor white";
  EXPECT_EQ(stray, 0) << "colour pixels outside every picture that are not white";
}

// ---- the shelf ------------------------------------------------------------------------------
// The upper shelf is drawn at y = 151 and items fall onto the lines y = 152 and 203, so a fallen
// item's last row is the one just above the rail's top and the plank's top. The open part of the
// shelf (its left half) must show exactly that.

TEST(Shelf, RailAndPlankTopsLieJustBelowTheShelfLines) {
  ASSERT_TRUE(loaded());
  constexpr int kShelfY = 151;
  const SpriteRegion r = sprites::kShelf;
  for (const int line : {152, 203}) {
    const int top = line - kShelfY;  // the first row of wood under a fallen item
    int wood = 0, air = 0;
    for (int x = r.x; x < r.x + r.width / 2; ++x) {
      wood += pixelAt(sheets().mask, x, r.y + top) == kWhite;
      air += pixelAt(sheets().mask, x, r.y + top - 1) == kBlack;
    }
    EXPECT_EQ(wood, r.width / 2) << "row " << top << " of the shelf is its floor";
    EXPECT_EQ(air, r.width / 2) << "row " << top - 1 << " of the shelf is open";
  }
}

// ---- art sources --------------------------------------------------------------------------
// Items, icons, labels and the cloud are drawn to exactly the size of their region, so nothing
// of them is cut off and their width and height are the picture's.

std::vector<Picture> artPictures() {
  std::vector<Picture> pictures;
  for (const std::string& path : artFiles(test::sourcePath("res/art")).paths) {
    ArtParse parsed = parseArtFile(path);
    EXPECT_EQ(parsed.error, "");
    for (Picture& picture : parsed.pictures) pictures.push_back(std::move(picture));
  }
  return pictures;
}

TEST(ArtSources, PicturesFillTheirRegionsExactly) {
  std::vector<RegionCase> exact;
  for (int32_t kind = 0; kind < kItemKindCount; ++kind) {
    exact.push_back({"item " + std::to_string(kind), itemRegion(kind)});
  }
  for (const SpriteRegion& region :
       {sprites::kShareIcon, sprites::kScreenshotIcon, sprites::kBgmLabel, sprites::kSeLabel, sprites::kCloud}) {
    exact.push_back({"icon, label or cloud", region});
  }
  const std::vector<Picture> pictures = artPictures();
  for (const RegionCase& c : exact) {
    const SpriteRegion& r = c.region;
    const auto match = std::find_if(pictures.begin(), pictures.end(), [&](const Picture& p) {
      return p.x == r.x && p.y == r.y && p.width == r.width && p.height == r.height;
    });
    EXPECT_NE(match, pictures.end()) << "no picture of exactly " << r.width << " x " << r.height << " at " << r.x
                                     << ", " << r.y << " for " << c.name;
  }
}

// ---- the panel frame pieces ------------------------------------------------------------------
// The frame tiles the nine pieces side by side and cuts the last ones short, so edges must not
// change along their length, the centre must be one colour, and each corner must continue the
// edges next to it.

uint32_t both(int x, int y) {
  // Colour and mask in one value, so that a transparent pixel never equals a drawn one.
  return pixelAt(sheets().colour, x, y) ^ (pixelAt(sheets().mask, x, y) == kWhite ? 0x1000000u : 0u);
}

bool columnsEqual(int xa, int xb, int y, int height) {
  for (int row = y; row < y + height; ++row) {
    if (both(xa, row) != both(xb, row)) return false;
  }
  return true;
}

bool rowsEqual(int ya, int yb, int x, int width) {
  for (int column = x; column < x + width; ++column) {
    if (both(column, ya) != both(column, yb)) return false;
  }
  return true;
}

TEST(PanelFrame, EdgesDoNotChangeAlongTheirLength) {
  ASSERT_TRUE(loaded());
  using namespace sprites;
  for (const SpriteRegion& edge : {kFrameTop, kFrameBottom}) {
    for (int x = edge.x + 1; x < edge.x + edge.width; ++x) {
      EXPECT_TRUE(columnsEqual(edge.x, x, edge.y, edge.height)) << "horizontal edge at " << edge.y << ", x " << x;
    }
  }
  for (const SpriteRegion& edge : {kFrameLeft, kFrameRight}) {
    for (int y = edge.y + 1; y < edge.y + edge.height; ++y) {
      EXPECT_TRUE(rowsEqual(edge.y, y, edge.x, edge.width)) << "vertical edge at " << edge.x << ", y " << y;
    }
  }
}

TEST(PanelFrame, TheCentreIsOneDrawnColour) {
  ASSERT_TRUE(loaded());
  const SpriteRegion c = sprites::kFrameCentre;
  const uint32_t first = both(c.x, c.y);
  EXPECT_NE(first & 0x1000000u, 0u) << "the centre is drawn";
  int other = 0;
  for (int y = c.y; y < c.y + c.height; ++y) {
    for (int x = c.x; x < c.x + c.width; ++x) other += both(x, y) != first;
  }
  EXPECT_EQ(other, 0);
}

TEST(PanelFrame, CornersContinueTheirEdgesAndAreClipped) {
  ASSERT_TRUE(loaded());
  using namespace sprites;
  struct Corner {
    SpriteRegion piece, horizontal, vertical;
    int innerColumn, innerRow, outerX, outerY;  // offsets inside the 5 x 5 corner
  };
  const Corner corners[] = {
      {kFrameTopLeft, kFrameTop, kFrameLeft, 4, 4, 0, 0},
      {kFrameTopRight, kFrameTop, kFrameRight, 0, 4, 4, 0},
      {kFrameBottomRight, kFrameBottom, kFrameRight, 0, 0, 4, 4},
      {kFrameBottomLeft, kFrameBottom, kFrameLeft, 4, 0, 0, 4},
  };
  for (const Corner& c : corners) {
    EXPECT_TRUE(columnsEqual(c.piece.x + c.innerColumn, c.horizontal.x, c.piece.y, c.piece.height))
        << "corner at " << c.piece.x << ", " << c.piece.y;
    EXPECT_TRUE(rowsEqual(c.piece.y + c.innerRow, c.vertical.y, c.piece.x, c.piece.width))
        << "corner at " << c.piece.x << ", " << c.piece.y;
    EXPECT_EQ(pixelAt(sheets().mask, c.piece.x + c.outerX, c.piece.y + c.outerY), kBlack)
        << "the panel's corner is clipped at " << c.piece.x << ", " << c.piece.y;
  }
}

// ---- the excavator ----------------------------------------------------------------------------
// The excavator (48 x 48) is drawn 8 rows above its slot's y, its coins at (31, 15) and (38, 25)
// from the slot and its worker's name from 8 rows above, centred 15 pixels in. The machine keeps
// out of those places, so coins and names never sit on it.

int silhouetteIn(const SpriteRegion& r, int left, int top, int width, int height) {
  int count = 0;
  for (int y = r.y + top; y < r.y + top + height; ++y) {
    for (int x = r.x + left; x < r.x + left + width; ++x) count += pixelAt(sheets().mask, x, y) == kWhite;
  }
  return count;
}

TEST(Excavator, LeavesTheCoinsAndTheNameInTheOpen) {
  ASSERT_TRUE(loaded());
  constexpr int kRaise = 8;         // frame top above the slot's y
  constexpr int kCoin = 9;          // a coin's width and height
  constexpr int kNameRows = 11;     // a small-font line
  constexpr int kNameReach = 25;    // half of a 50-pixel name
  constexpr int kNameCentre = 15;
  for (const SpriteRegion& frame : {sprites::kExcavator1, sprites::kExcavator2, sprites::kExcavator3}) {
    EXPECT_EQ(silhouetteIn(frame, 31, 15 + kRaise, kCoin, kCoin), 0) << "first coin on frame " << frame.x;
    EXPECT_EQ(silhouetteIn(frame, 38, 25 + kRaise, kCoin, kCoin), 0) << "second coin on frame " << frame.x;
    EXPECT_EQ(silhouetteIn(frame, 0, 0, kNameCentre + kNameReach, kNameRows), 0) << "name on frame " << frame.x;
  }
}

}  // namespace
}  // namespace orelog::sheetgen

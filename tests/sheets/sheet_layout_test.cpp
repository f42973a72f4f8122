// Placing pictures on the sheets, and the sheetgen program end to end on temporary art folders.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>

#include "art_file.h"
#include "generate.h"
#include "png_file.h"
#include "sheet.h"
#include "tests/support/read_file.h"
#include "tests/support/shell_command.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_paths.h"

namespace orelog::sheetgen {
namespace {

namespace fs = std::filesystem;

Picture solid(const char* name, int x, int y, int width, int height) {
  Picture picture = blankPicture(name, x, y, width, height);
  for (ArtPixel& pixel : picture.pixels) pixel = ArtPixel{10, 20, 30, true};
  return picture;
}

TEST(SheetLayout, AcceptsPicturesThatOnlyTouch) {
  const std::vector<Picture> pictures{solid("a", 0, 0, 32, 32), solid("b", 32, 0, 32, 32),
                                      solid("c", 0, 32, 32, 32), solid("corner", 1016, 1016, 8, 8)};
  EXPECT_EQ(checkLayout(pictures), "");
}

struct LayoutFault {
  Picture second;
  const char* error;
};

void PrintTo(const LayoutFault& fault, std::ostream* out) { *out << fault.error; }

class SheetLayoutFault : public testing::TestWithParam<LayoutFault> {};

TEST_P(SheetLayoutFault, NamesThePicture) {
  Picture first = solid("first", 100, 100, 10, 10);
  first.source = "one.txt";
  first.line = 3;
  Picture second = GetParam().second;
  second.source = "two.txt";
  second.line = 7;
  EXPECT_EQ(checkLayout({first, second}), GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SheetLayoutFault,
    testing::Values(
        LayoutFault{solid("p", 1020, 0, 5, 1), "two.txt:7: picture \"p\" (5 x 1 at 1020, 0) lies outside the 1024 x 1024 sheet"},
        LayoutFault{solid("p", 0, 1024, 1, 1), "two.txt:7: picture \"p\" (1 x 1 at 0, 1024) lies outside the 1024 x 1024 sheet"},
        LayoutFault{solid("p", -1, 0, 1, 1), "two.txt:7: picture \"p\" (1 x 1 at -1, 0) lies outside the 1024 x 1024 sheet"},
        LayoutFault{solid("p", 2147483647, 0, 1, 1),
                    "two.txt:7: picture \"p\" (1 x 1 at 2147483647, 0) lies outside the 1024 x 1024 sheet"},
        LayoutFault{solid("p", 109, 109, 5, 5),
                    "two.txt:7: picture \"p\" (5 x 5 at 109, 109) overlaps picture \"first\" (10 x 10 at 100, 100) from one.txt:3"},
        LayoutFault{solid("p", 90, 90, 40, 40),
                    "two.txt:7: picture \"p\" (40 x 40 at 90, 90) overlaps picture \"first\" (10 x 10 at 100, 100) from one.txt:3"}));

TEST(SheetLayout, TransparentPixelsStayOutOfTheSilhouette) {
  Picture picture = blankPicture("p", 2, 1, 2, 1);
  picture.at(0, 0) = ArtPixel{255, 255, 255, true};  // white fur
  Sheets sheets = blankSheets(4);
  drawPicture(sheets, picture);
  const auto pixel = [](const std::vector<uint8_t>& rgb, int x, int y) {
    const std::size_t at = static_cast<std::size_t>(y * 4 + x) * 3;
    return std::to_string(rgb[at]) + "," + std::to_string(rgb[at + 1]) + "," + std::to_string(rgb[at + 2]);
  };
  EXPECT_EQ(pixel(sheets.colour, 2, 1), "255,255,255");
  EXPECT_EQ(pixel(sheets.mask, 2, 1), "255,255,255");
  EXPECT_EQ(pixel(sheets.colour, 3, 1), "255,255,255");
  EXPECT_EQ(pixel(sheets.mask, 3, 1), "0,0,0");
  EXPECT_EQ(pixel(sheets.mask, 0, 0), "0,0,0");
}

// A fresh folder under the system's temporary folder, removed at the end of the test.
class ArtFolder : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = temp_.path;
    fs::create_directories(dir_ / "art");
  }

  void write(const std::string& relative, const std::string& text) {
    const fs::path path = dir_ / "art" / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
  }

  // Runs the program; returns its exit code and leaves its error output in `errors`.
  int runSheetgen(const std::string& colour = "c.png", const std::string& mask = "m.png") {
    const std::string command = test::binaryPath("sheetgen") + " '" + (dir_ / "art").string() + "' '" +
                                (dir_ / colour).string() + "' '" + (dir_ / mask).string() + "' 2>'" +
                                (dir_ / "errors").string() + "'";
    const int code = test::runShellCommand(command);
    errors = test::readFile(dir_ / "errors");
    return code;
  }

  test::TempFolder temp_{"orelog-sheetgen"};
  fs::path dir_;
  std::string errors;
};

constexpr const char* kPalette = "palette\nW ffffff\nK 241a14\nend\n";

TEST_F(ArtFolder, WritesBothSheetsFromNestedFolders) {
  write("a/one.txt", std::string(kPalette) + "picture one\nat 0 0\nrows\nKW\nend\n");
  write("b/c/two.txt", std::string(kPalette) + "picture two\nat 5 5\nrows\n.K\nend\n");
  write("b/ignored.png", "not art");
  ASSERT_EQ(runSheetgen(), 0) << errors;
  const auto colour = readRgbPng((dir_ / "c.png").string());
  const auto mask = readRgbPng((dir_ / "m.png").string());
  ASSERT_TRUE(colour && mask);
  EXPECT_EQ(colour->width, kSheetSize);
  EXPECT_EQ(mask->height, kSheetSize);
  const auto at = [](const RgbImage& image, int x, int y) { return image.rgb[(static_cast<std::size_t>(y) * image.width + x) * 3]; };
  EXPECT_EQ(at(*colour, 0, 0), 0x24);
  EXPECT_EQ(at(*mask, 1, 0), 255);   // the white pixel belongs to the picture
  EXPECT_EQ(at(*mask, 5, 5), 0);     // the transparent one does not
  EXPECT_EQ(at(*mask, 6, 5), 255);
  EXPECT_EQ(at(*colour, 500, 500), 255);
  EXPECT_EQ(at(*mask, 500, 500), 0);
}

TEST_F(ArtFolder, WritesTheSameBytesEveryTime) {
  write("one.txt", std::string(kPalette) + "picture one\nat 7 9\nrows\nKWK\nWKW\nend\n");
  ASSERT_EQ(runSheetgen("c1.png", "m1.png"), 0) << errors;
  ASSERT_EQ(runSheetgen("c2.png", "m2.png"), 0) << errors;
  const auto bytes = [&](const char* name) { return test::readFile(dir_ / name); };
  EXPECT_EQ(bytes("c1.png"), bytes("c2.png"));
  EXPECT_EQ(bytes("m1.png"), bytes("m2.png"));
}

TEST_F(ArtFolder, StopsWithTheFaultsFileAndLine) {
  write("a.txt", std::string(kPalette) + "picture one\nat 300 300\nrows\nKK\nend\n");
  write("b.txt", std::string(kPalette) + "\npicture two\nat 301 300\nrows\nKK\nend\n");
  EXPECT_EQ(runSheetgen(), 1);
  const std::string where = (dir_ / "art" / "b.txt").string() + ":6: picture \"two\"";
  EXPECT_NE(errors.find(where), std::string::npos) << errors;
  EXPECT_NE(errors.find("overlaps picture \"one\""), std::string::npos) << errors;
  EXPECT_FALSE(fs::exists(dir_ / "c.png"));
}

TEST_F(ArtFolder, OverlapsWithDrawnPicturesAreFaults) {
  write("a.txt", std::string(kPalette) + "picture on the panel\nat 520 200\nrows\nK\nend\n");
  EXPECT_EQ(runSheetgen(), 1);
  EXPECT_NE(errors.find("overlaps picture \"blue panel\""), std::string::npos) << errors;
}

TEST_F(ArtFolder, UsageAndMissingFolders) {
  EXPECT_EQ(std::system((test::binaryPath("sheetgen") + " only-one-argument 2>/dev/null").c_str()) >> 8, 2);
  fs::remove_all(dir_ / "art");
  EXPECT_EQ(runSheetgen(), 1);
  EXPECT_NE(errors.find("not a folder"), std::string::npos) << errors;
}

}  // namespace
}  // namespace orelog::sheetgen

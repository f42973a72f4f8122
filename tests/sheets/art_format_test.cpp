// The text art format: what it reads, and the faults it names by file and line.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "art_file.h"

namespace orelog::sheetgen {
namespace {

constexpr const char* kTwoPictures = R"(# a comment
palette
. transparent
W ffffff
K 241a14
end

picture pick 1
at 3 4
rows
.KW
KW.
end
  # comments and blank lines may sit between rows

picture second
at 10 0
rows
W

end
)";

TEST(ArtFormat, ReadsPalettesAndPictures) {
  const ArtParse parsed = parseArtText(kTwoPictures, "a.txt");
  ASSERT_EQ(parsed.error, "");
  ASSERT_EQ(parsed.pictures.size(), 2u);
  const Picture& pick = parsed.pictures[0];
  EXPECT_EQ(pick.name, "pick 1");
  EXPECT_EQ(pick.line, 8);
  EXPECT_EQ(pick.x, 3);
  EXPECT_EQ(pick.y, 4);
  EXPECT_EQ(pick.width, 3);
  EXPECT_EQ(pick.height, 2);
  EXPECT_FALSE(pick.at(0, 0).filled);
  EXPECT_TRUE(pick.at(1, 0).filled);
  EXPECT_EQ(pick.at(1, 0).r, 0x24);
  EXPECT_EQ(pick.at(1, 0).g, 0x1a);
  EXPECT_EQ(pick.at(1, 0).b, 0x14);
  EXPECT_TRUE(pick.at(2, 0).filled);  // white is a picture pixel like any other colour
  EXPECT_EQ(pick.at(2, 0).r, 0xff);
  EXPECT_EQ(parsed.pictures[1].width, 1);
  EXPECT_EQ(parsed.pictures[1].height, 1);
}

TEST(ArtFormat, ToleratesAByteOrderMarkAndWindowsLineEnds) {
  const ArtParse parsed =
      parseArtText("\xEF\xBB\xBFpalette\r\nK 000000\r\nend\r\npicture p\r\nat 1 2\r\nrows\r\nK.K\r\nend\r\n", "w.txt");
  ASSERT_EQ(parsed.error, "");
  ASSERT_EQ(parsed.pictures.size(), 1u);
  EXPECT_EQ(parsed.pictures[0].width, 3);
  EXPECT_TRUE(parsed.pictures[0].at(2, 0).filled);
}

TEST(ArtFormat, ANewPaletteReplacesTheOldOne) {
  const ArtParse parsed = parseArtText(
      "palette\nA 010203\nend\npicture a\nat 0 0\nrows\nA\nend\n"
      "palette\nB 040506\nend\npicture b\nat 1 0\nrows\nA\nend\n",
      "p.txt");
  EXPECT_EQ(parsed.error, "p.txt:15: unknown colour character 'A' in column 1");
  EXPECT_TRUE(parsed.pictures.empty());
}

struct BadArt {
  const char* text;
  const char* error;
};

void PrintTo(const BadArt& bad, std::ostream* out) { *out << bad.error; }

class ArtFormatFault : public testing::TestWithParam<BadArt> {};

TEST_P(ArtFormatFault, IsNamedByFileAndLine) {
  const ArtParse parsed = parseArtText(GetParam().text, "bad.txt");
  EXPECT_EQ(parsed.error, GetParam().error);
  EXPECT_TRUE(parsed.pictures.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, ArtFormatFault,
    testing::Values(
        BadArt{"palette\nK 000000\nend\npicture p\nat 0 0\nrows\nKK\nK\nend\n",
               "bad.txt:8: row is 1 wide, the picture's first row 2"},
        BadArt{"palette\nK 000000\nend\npicture p\nat 0 0\nrows\nKQ\nend\n",
               "bad.txt:7: unknown colour character 'Q' in column 2"},
        BadArt{"picture p\nat 0 0\nrows\n.K\nend\n", "bad.txt:4: unknown colour character 'K' in column 2"},
        BadArt{"palette\nK 00000\nend\n", "bad.txt:2: colour of 'K' is not 6 hex digits: \"00000\""},
        BadArt{"palette\nK 00000g\nend\n", "bad.txt:2: colour of 'K' is not 6 hex digits: \"00000g\""},
        BadArt{"palette\nK 000000\nK ffffff\nend\n", "bad.txt:3: colour 'K' is defined twice"},
        BadArt{"palette\n. 000000\nend\n", "bad.txt:2: '.' is always transparent"},
        BadArt{"palette\nKK 000000\nend\n", "bad.txt:2: a palette line is one character and a colour, found \"KK 000000\""},
        BadArt{"palette\nK 000000\n", "bad.txt:1: the file ends before the palette's \"end\""},
        BadArt{"picture p\nat 0\nrows\n.\nend\n", "bad.txt:2: expected \"at X Y\" after \"picture p\""},
        BadArt{"picture p\nat 0 99999999999\nrows\n.\nend\n", "bad.txt:2: expected \"at X Y\" after \"picture p\""},
        BadArt{"picture p\nat 0 0\n.\nend\n", "bad.txt:3: expected \"rows\""},
        BadArt{"picture p\nat 0 0\nrows\n.\n", "bad.txt:1: the file ends before the picture's \"end\""},
        BadArt{"picture p\nat 0 0\nrows\nend\n", "bad.txt:1: picture \"p\" has no rows"},
        BadArt{"picture\n", "bad.txt:1: a picture needs a name"},
        BadArt{"\n\nsketch 1\n", "bad.txt:3: expected \"palette\" or \"picture NAME\", found \"sketch 1\""}));

TEST(ArtFormat, OddTextIsReadOrRefusedWithoutHarm) {
  EXPECT_EQ(parseArtText("", "e.txt").error, "");
  EXPECT_EQ(parseArtText("# only a comment\n\n", "e.txt").error, "");
  EXPECT_EQ(parseArtText("end\n", "e.txt").error, "e.txt:1: expected \"palette\" or \"picture NAME\", found \"end\"");
  std::string binary = "palette\nK 000000\nend\npicture p\nat 0 0\nrows\nK";
  binary += '\0';
  binary += "\xff\nend\n";
  EXPECT_EQ(parseArtText(binary, "b.txt").error, "b.txt:7: unknown colour character byte 0x00 in column 2");
}

TEST(ArtFormat, AnUnreadableFileIsAFault) {
  const ArtParse parsed = parseArtFile("/nonexistent/folder/art.txt");
  EXPECT_EQ(parsed.error, "/nonexistent/folder/art.txt: cannot be read");
}

}  // namespace
}  // namespace orelog::sheetgen

// Percent-encoding: which bytes stay, and the case of the escapes.
#include "util/percent_encoding.h"

#include <gtest/gtest.h>

namespace orelog {
namespace {

TEST(PercentEncoding, TheTwoSetsDifferOnlyInTheDigits) {
  for (int byte = 0; byte < 256; ++byte) {
    const auto b = static_cast<unsigned char>(byte);
    const bool digit = b >= '0' && b <= '9';
    EXPECT_EQ(isUnreserved(b), isUnreservedLetterOrMark(b) || digit) << byte;
    EXPECT_FALSE(digit && isUnreservedLetterOrMark(b)) << byte;
  }
  for (const unsigned char kept : std::string_view("AZaz-_.~09")) EXPECT_TRUE(isUnreserved(kept)) << kept;
  for (const unsigned char escaped : std::string_view(" %/+&=?!*'()@"))
    EXPECT_FALSE(isUnreserved(escaped)) << escaped;
}

TEST(PercentEncoding, EscapesEveryByteNotKeptInTheGivenCase) {
  struct Case {
    std::string_view bytes;
    bool (*keep)(unsigned char);
    HexCase hexCase;
    std::string_view encoded;
  };
  const Case cases[] = {
      {"", isUnreserved, HexCase::Upper, ""},
      {"a1-~", isUnreserved, HexCase::Upper, "a1-~"},
      {"a1-~", isUnreservedLetterOrMark, HexCase::Lower, "a%31-~"},
      {"/\xff", isUnreserved, HexCase::Upper, "%2F%FF"},
      {"/\xff", isUnreserved, HexCase::Lower, "%2f%ff"},
      {std::string_view("\0", 1), isUnreserved, HexCase::Upper, "%00"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(percentEncodeExcept(c.bytes, c.keep, c.hexCase), c.encoded) << c.encoded;
}

}  // namespace
}  // namespace orelog

// UTF-8 <-> UTF-16 conversion: replacement of ill-formed input, field capacity, safe truncation.
#include "util/utf.h"

#include <gtest/gtest.h>

namespace orelog {
namespace {

TEST(Utf8ToUtf16, ConvertsWellFormedText) {
  EXPECT_EQ(utf8ToUtf16(""), u"");
  EXPECT_EQ(utf8ToUtf16("A/B"), u"A/B");
  EXPECT_EQ(utf8ToUtf16("\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88"), u"テスト");
  EXPECT_EQ(utf8ToUtf16("\xC3\xA9"), u"\u00E9");
  EXPECT_EQ(utf8ToUtf16("\xF0\x9F\x98\x80"), u"\U0001F600");
  EXPECT_EQ(utf8ToUtf16("\xF4\x8F\xBF\xBF"), u"\U0010FFFF");
  EXPECT_EQ(utf8ToUtf16(std::string_view("a\0b", 3)), std::u16string(u"a\0b", 3));
}

TEST(Utf8ToUtf16, ReplacesEachIllFormedSequence) {
  struct Case {
    const char* name;
    std::string_view in;
    std::u16string out;
  };
  const Case cases[] = {
      {"lone continuation", "a\x80z", u"a\uFFFDz"},
      {"invalid lead bytes", "\xC0\xC1\xF5\xFF", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"overlong three-byte form", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
      {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"truncated at the end", "ok\xE3\x83", u"ok\uFFFD"},
      {"truncated before ASCII", "\xF0\x9F\x98z", u"\uFFFDz"},
  };
  for (const auto& c : cases) EXPECT_EQ(utf8ToUtf16(c.in), c.out) << c.name;
}

TEST(Utf16ToUtf8, ConvertsAndReplacesUnpairedSurrogates) {
  EXPECT_EQ(utf16ToUtf8(u"テスト"), "\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88");
  EXPECT_EQ(utf16ToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(utf16ToUtf8(std::u16string{u'a', char16_t(0xD83D)}), "a\xEF\xBF\xBD");
  EXPECT_EQ(utf16ToUtf8(std::u16string{char16_t(0xDE00), u'b'}), "\xEF\xBF\xBD" "b");
  EXPECT_EQ(utf16ToUtf8(std::u16string{char16_t(0xD83D), char16_t(0xD83D), char16_t(0xDE00)}),
            "\xEF\xBF\xBD\xF0\x9F\x98\x80");
}

TEST(Utf8ToUtf16Field, RejectsTextThatNeedsMoreThanCapacityMinusOneUnits) {
  const std::string sixtyThree(63, 'x');
  EXPECT_EQ(utf8ToUtf16Field(sixtyThree, 64), std::u16string(63, u'x'));
  EXPECT_EQ(utf8ToUtf16Field(sixtyThree + "x", 64), std::nullopt);
  // 62 units plus one pair is 64 units: too long, though it is only 63 characters.
  EXPECT_EQ(utf8ToUtf16Field(std::string(62, 'x') + "\xF0\x9F\x98\x80", 64), std::nullopt);
  EXPECT_EQ(utf8ToUtf16Field("", 1), u"");
  EXPECT_EQ(utf8ToUtf16Field("", 0), std::nullopt);
}

TEST(TruncateUtf16, NeverSplitsASurrogatePair) {
  const std::u16string text = u"ab\U0001F600c";  // a b high low c
  EXPECT_EQ(truncateUtf16(text, 10), text);
  EXPECT_EQ(truncateUtf16(text, 4), u"ab\U0001F600");
  EXPECT_EQ(truncateUtf16(text, 3), u"ab");
  EXPECT_EQ(truncateUtf16(text, 2), u"ab");
  EXPECT_EQ(truncateUtf16(text, 0), u"");
}

TEST(TruncateUtf8, NeverSplitsACharacter) {
  const std::string text = "a\xE3\x83\x86\xF0\x9F\x98\x80";  // 1 + 3 + 4 bytes
  EXPECT_EQ(truncateUtf8(text, 8), text);
  EXPECT_EQ(truncateUtf8(text, 7), "a\xE3\x83\x86");
  EXPECT_EQ(truncateUtf8(text, 4), "a\xE3\x83\x86");
  EXPECT_EQ(truncateUtf8(text, 3), "a");
  EXPECT_EQ(truncateUtf8(text, 0), "");
  EXPECT_EQ(truncateUtf8("a\x80\x80\x80", 2), "a\x80");  // stray bytes count one by one
}

}  // namespace
}  // namespace orelog

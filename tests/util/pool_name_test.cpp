// The cleaning rule for names the pool sends: controls, bidirectional controls, invalid UTF-8.
#include "util/pool_name.h"

#include <gtest/gtest.h>

#include <string>

namespace orelog {
namespace {

constexpr const char* kFffd = "\xEF\xBF\xBD";

TEST(CleanPoolName, ReplacesControlsRemovesBidiControlsAndRepairsUtf8) {
  struct Case {
    const char* name;
    std::string in;
    std::string out;
  };
  const std::string fffd = kFffd;
  const Case cases[] = {
      {"plain ASCII", "acct.rig1", "acct.rig1"},
      {"Japanese and an emoji", "\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88\xF0\x9F\x98\x80",
       "\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88\xF0\x9F\x98\x80"},
      {"empty", "", ""},
      {"line feed before a forged line", "acct.evil\nnotice: x", "acct.evil" + fffd + "notice: x"},
      {"carriage return", "a\rb", "a" + fffd + "b"},
      {"escape sequence", "\x1B[31mred", fffd + "[31mred"},
      {"tab and bell", "a\tb\x07", "a" + fffd + "b" + fffd},
      {"zero byte", std::string("a\0b", 3), "a" + fffd + "b"},
      {"DEL", "a\x7F", "a" + fffd},
      {"C1 controls U+0080 and U+009F", "a\xC2\x80\xC2\x9F" "b", "a" + fffd + fffd + "b"},
      {"U+00A0 is no control", "a\xC2\xA0" "b", "a\xC2\xA0" "b"},
      {"right-to-left override", "acct.\xE2\x80\xAEgnp.exe", "acct.gnp.exe"},
      {"embeddings and pop U+202A to U+202D", "\xE2\x80\xAA" "a\xE2\x80\xAB" "b\xE2\x80\xAC\xE2\x80\xAD", "ab"},
      {"isolates U+2066 to U+2069", "\xE2\x81\xA6" "a\xE2\x81\xA7\xE2\x81\xA8" "b\xE2\x81\xA9", "ab"},
      {"marks next to the controls stay", "\xE2\x80\xA9\xE2\x80\xAF\xE2\x81\xA5\xE2\x81\xAA",
       "\xE2\x80\xA9\xE2\x80\xAF\xE2\x81\xA5\xE2\x81\xAA"},
      {"invalid UTF-8", "a\xFF\xC3(b", "a" + fffd + fffd + "(b"},
      {"truncated character at the end", "ok\xE3\x83", "ok" + fffd},
      {"an encoded control stays replaced", "a\xC0\x8A" "b", "a" + fffd + fffd + "b"},
  };
  for (const auto& c : cases) EXPECT_EQ(cleanPoolName(c.in), c.out) << c.name;
}

TEST(CleanPoolName, KeepsALongNameWholeAndIsIdempotent) {
  const std::string longName(64 * 1024, 'w');
  EXPECT_EQ(cleanPoolName(longName), longName);
  const std::string hostile = "x\n\x1B\r\xE2\x80\xAE\xFFy";
  EXPECT_EQ(cleanPoolName(cleanPoolName(hostile)), cleanPoolName(hostile));
}

}  // namespace
}  // namespace orelog

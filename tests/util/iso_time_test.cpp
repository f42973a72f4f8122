// ISO 8601 stamps with offsets: the text, reading it back, and the instants they name.
#include "util/iso_time.h"

#include <gtest/gtest.h>

namespace orelog {
namespace {

bool same(const DateTime& a, const DateTime& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute &&
         a.second == b.second;
}

TEST(IsoTime, TextReadsBackAndNamesTheRightInstant) {
  struct Case {
    ZonedDateTime time;
    const char* text;
    int64_t utc;
  };
  const Case cases[] = {
      {{{1970, 1, 1, 0, 0, 0}, 0}, "1970-01-01T00:00:00+00:00", 0},
      {{{2026, 12, 11, 9, 34, 5}, 540}, "2026-12-11T09:34:05+09:00", 1796949245},
      {{{2026, 12, 11, 0, 34, 5}, 0}, "2026-12-11T00:34:05+00:00", 1796949245},
      {{{2026, 12, 10, 19, 4, 5}, -330}, "2026-12-10T19:04:05-05:30", 1796949245},
      {{{2024, 2, 29, 23, 59, 59}, 60}, "2024-02-29T23:59:59+01:00", 1709247599},
      {{{1969, 12, 31, 23, 0, 0}, 0}, "1969-12-31T23:00:00+00:00", -3600},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(isoTimeText(c.time), c.text);
    const auto parsed = parseIsoTime(c.text);
    ASSERT_TRUE(parsed) << c.text;
    EXPECT_TRUE(same(parsed->local, c.time.local)) << c.text;
    EXPECT_EQ(parsed->utcOffsetMinutes, c.time.utcOffsetMinutes) << c.text;
    EXPECT_EQ(utcSeconds(*parsed), c.utc) << c.text;
    EXPECT_TRUE(same(localDateTimeAt(c.utc, c.time.utcOffsetMinutes), c.time.local)) << c.text;
  }
  const auto utc = parseIsoTime("2026-12-11T00:34:05Z");
  ASSERT_TRUE(utc);
  EXPECT_EQ(utcSeconds(*utc), 1796949245);
}

TEST(IsoTime, AnythingButTheWrittenFormIsRefused) {
  for (const char* text : {"", "2026-12-11", "2026-12-11T09:34:05", "2026-12-11 09:34:05+09:00",
                           "2026-12-11T09:34:05+0900", "2026-12-11T09:34:05+09:00 ", "2026-02-29T00:00:00Z",
                           "2026-13-01T00:00:00Z", "2026-12-32T00:00:00Z", "2026-12-11T24:00:00Z",
                           "2026-12-11T23:60:00Z", "2026-12-11T23:59:60Z", "0000-01-01T00:00:00Z",
                           "2026-12-11T09:34:05+19:00", "2026-12-11T09:34:05+09:60", "+026-12-11T09:34:05Z",
                           "2026-1a-11T09:34:05Z", "2026-12-11T09:34:05z"}) {
    EXPECT_FALSE(parseIsoTime(text)) << text;
  }
}

}  // namespace
}  // namespace orelog

// Pool timestamps: the sscanf-style scan and the file-time count with its validity range.
#include <gtest/gtest.h>

#include <climits>

#include "pool/pool_timestamp.h"
#include "tests/support/printable.h"

namespace orelog {
namespace {

constexpr int64_t kTicksPerSecond = 10000000;
constexpr int64_t kUnixEpochFileTime = 116444736000000000;  // 1970-01-01 00:00:00

struct Scan {
  std::string text;
  std::optional<DateTime> expected;
};

void PrintTo(const Scan& value, std::ostream* out) { *out << test::printable(value.text); }

bool operator==(const DateTime& a, const DateTime& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute &&
         a.second == b.second;
}

class ScansTimestamp : public testing::TestWithParam<Scan> {};

TEST_P(ScansTimestamp, AsSscanfWould) {
  const auto scanned = scanPoolTimestamp(GetParam().text);
  ASSERT_EQ(scanned.has_value(), GetParam().expected.has_value());
  if (scanned) {
    EXPECT_TRUE(*scanned == *GetParam().expected);
  }
}

const DateTime kSample{2024, 1, 2, 3, 4, 5};

INSTANTIATE_TEST_SUITE_P(
    Texts, ScansTimestamp,
    testing::Values(Scan{"2024-01-02 03:04:05", kSample}, Scan{"2024-1-2 3:4:5", kSample},
                    Scan{"2024-01-02 03:04:05.678", kSample},      // the fraction is ignored
                    Scan{"2024-01-02 03:04:05 UTC", kSample},      // so is anything after
                    Scan{"2024-01-0203:04:05", std::nullopt},      // "0203" is one number
                    Scan{"2024-01-02\t\n 03:04:05", kSample},      // the space takes any white run
                    Scan{"  +2024-01-02 03:04: 05", kSample},      // numbers may follow white space
                    Scan{"2024-01-02T03:04:05", std::nullopt}, Scan{"2024-01-02", std::nullopt},
                    Scan{"2024 -01-02 03:04:05", std::nullopt},    // "-" must follow at once
                    Scan{"2024/01/02 03:04:05", std::nullopt}, Scan{"", std::nullopt},
                    Scan{"2024-01-02 03:04:", std::nullopt}, Scan{"2024-01-02 03:04:-", std::nullopt},
                    Scan{"2024--1-02 03:04:05", DateTime{2024, -1, 2, 3, 4, 5}},
                    Scan{std::string("2024-01\0-02 03:04:05", 19), std::nullopt},  // ends at the zero byte
                    Scan{"99999999999-01-02 03:04:05", DateTime{INT_MAX, 1, 2, 3, 4, 5}},
                    Scan{"-99999999999-01-02 03:04:05", DateTime{INT_MIN, 1, 2, 3, 4, 5}}));

TEST(FileTime, CountsFrom1601InTheProlepticGregorianCalendar) {
  EXPECT_EQ(toFileTime({1601, 1, 1, 0, 0, 0}), 0);
  EXPECT_EQ(toFileTime({1601, 1, 1, 0, 0, 1}), kTicksPerSecond);
  EXPECT_EQ(toFileTime({1970, 1, 1, 0, 0, 0}), kUnixEpochFileTime);
  // 2024-01-02 03:04:05 UTC is Unix time 1704164645.
  EXPECT_EQ(toFileTime(kSample), kUnixEpochFileTime + 1704164645 * kTicksPerSecond);
  EXPECT_EQ(toFileTime({2000, 3, 1, 0, 0, 0}), kUnixEpochFileTime + 951868800 * kTicksPerSecond);
  EXPECT_EQ(toFileTime({30827, 12, 31, 23, 59, 59}), 9223149887990000000);  // the last second a file time holds
}

struct Validity {
  DateTime time;
  bool exists;
};

void PrintTo(const Validity& value, std::ostream* out) { *out << value.time.year << "-" << value.time.month << "-" << value.time.day << " " << value.time.hour << ":" << value.time.minute << ":" << value.time.second; }

class ChecksDate : public testing::TestWithParam<Validity> {};

TEST_P(ChecksDate, ExistsOrNot) { EXPECT_EQ(toFileTime(GetParam().time).has_value(), GetParam().exists); }

INSTANTIATE_TEST_SUITE_P(
    Dates, ChecksDate,
    testing::Values(Validity{{2024, 2, 29, 0, 0, 0}, true}, Validity{{2023, 2, 29, 0, 0, 0}, false},
                    Validity{{2000, 2, 29, 0, 0, 0}, true}, Validity{{1900, 2, 29, 0, 0, 0}, false},
                    Validity{{2024, 4, 31, 0, 0, 0}, false}, Validity{{2024, 12, 31, 23, 59, 59}, true},
                    Validity{{2024, 0, 1, 0, 0, 0}, false}, Validity{{2024, 13, 1, 0, 0, 0}, false},
                    Validity{{2024, 1, 0, 0, 0, 0}, false}, Validity{{2024, 1, 1, 24, 0, 0}, false},
                    Validity{{2024, 1, 1, 0, 60, 0}, false}, Validity{{2024, 1, 1, 0, 0, 60}, false},
                    Validity{{2024, 1, 1, -1, 0, 0}, false}, Validity{{1601, 1, 1, 0, 0, 0}, true},
                    Validity{{1600, 12, 31, 23, 59, 59}, false}, Validity{{30827, 12, 31, 23, 59, 59}, true},
                    Validity{{30828, 1, 1, 0, 0, 0}, false}, Validity{{INT_MAX, 1, 1, 0, 0, 0}, false},
                    Validity{{INT_MIN, 1, 1, 0, 0, 0}, false}));

TEST(FileTime, LaterTimestampsCountHigher) {
  const auto earlier = poolTimestampToFileTime("2024-12-31 23:59:59");
  const auto later = poolTimestampToFileTime("2025-01-01 00:00:00");
  ASSERT_TRUE(earlier && later);
  EXPECT_EQ(*later - *earlier, kTicksPerSecond);
  EXPECT_EQ(poolTimestampToFileTime("2023-02-29 00:00:00"), std::nullopt);
}

}  // namespace
}  // namespace orelog

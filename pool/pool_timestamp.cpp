// Scanning pool timestamps and counting file time from 1601 in the proleptic Gregorian calendar.
#include "pool/pool_timestamp.h"

#include <algorithm>
#include <climits>

#include "util/calendar.h"
#include "util/time_units.h"

namespace orelog {
namespace {

constexpr int kFirstYear = 1601;
constexpr int kLastYear = 30827;  // the last year a file-time conversion accepts
constexpr int64_t kTicksPerSecond = 10000000;
constexpr int kFields = 6;

// Reads the text the way sscanf does: pos advances over what was consumed.
struct Scanner {
  std::string_view text;
  std::size_t pos = 0;

  static bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
  static bool isDigit(char c) { return c >= '0' && c <= '9'; }
  void skipSpace() {
    while (pos < text.size() && isSpace(text[pos])) ++pos;
  }
  bool literal(char c) {
    if (pos >= text.size() || text[pos] != c) return false;
    ++pos;
    return true;
  }
  std::optional<int> number();
};

std::optional<int> Scanner::number() {
  skipSpace();
  std::size_t at = pos;
  const bool negative = at < text.size() && text[at] == '-';
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
  if (at >= text.size() || !isDigit(text[at])) return std::nullopt;
  long long magnitude = 0;
  for (; at < text.size() && isDigit(text[at]); ++at) {
    magnitude = std::min<long long>(magnitude * 10 + (text[at] - '0'), static_cast<long long>(INT_MAX) + 1);
  }
  pos = at;
  const long long value = negative ? -magnitude : std::min<long long>(magnitude, INT_MAX);
  return static_cast<int>(value);
}

bool exists(const DateTime& t) {
  if (t.year < kFirstYear || t.year > kLastYear || t.month < 1 || t.month > kMonthsPerYear) return false;
  if (t.day < 1 || t.day > daysInMonth(t.year, t.month)) return false;
  return t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 && t.second <= 59;
}

// Days from 1601-01-01 to the given date (a valid date from 1601 on).
int64_t daysSince1601(int year, int month, int day) {
  const int64_t y = year - kFirstYear;
  int64_t days = y * 365 + y / 4 - y / 100 + y / 400;
  for (int m = 1; m < month; ++m) days += daysInMonth(year, m);
  return days + day - 1;
}

}  // namespace

std::optional<DateTime> scanPoolTimestamp(std::string_view text) {
  if (auto zero = text.find('\0'); zero != std::string_view::npos) text = text.substr(0, zero);
  Scanner scan{text};
  int fields[kFields] = {};
  constexpr char kSeparators[kFields - 1] = {'-', '-', ' ', ':', ':'};
  for (int i = 0; i < kFields; ++i) {
    if (i > 0) {
      if (kSeparators[i - 1] == ' ') scan.skipSpace();
      else if (!scan.literal(kSeparators[i - 1])) return std::nullopt;
    }
    auto value = scan.number();
    if (!value) return std::nullopt;
    fields[i] = *value;
  }
  return DateTime{fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]};
}

std::optional<int64_t> toFileTime(const DateTime& t) {
  if (!exists(t)) return std::nullopt;
  const int64_t seconds = daysSince1601(t.year, t.month, t.day) * kSecondsPerDay + t.hour * 3600LL +
                          t.minute * 60LL + t.second;
  return seconds * kTicksPerSecond;
}

std::optional<int64_t> poolTimestampToFileTime(std::string_view text) {
  auto time = scanPoolTimestamp(text);
  return time ? toFileTime(*time) : std::nullopt;
}

}  // namespace orelog

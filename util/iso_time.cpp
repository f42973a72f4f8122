// ISO 8601 time stamps with their offset, and civil dates to and from day counts.
#include "util/iso_time.h"

#include <cstdio>

#include "util/calendar.h"

namespace orelog {
namespace {

constexpr int kMinutesPerHour = 60;
constexpr int kFirstYear = 1;
constexpr int kLastYear = 9999;
constexpr int kHoursPerDay = 24;
// "YYYY-MM-DDTHH:MM:SS": the offset follows at this position.
constexpr std::size_t kOffsetPosition = 19;

// Days since 1970-01-01 of a proleptic Gregorian date (the well-known era-based conversion).
int64_t daysFromCivil(int64_t year, int64_t month, int64_t day) {
  year -= month <= 2 ? 1 : 0;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t yearOfEra = year - era * 400;
  const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

DateTime civilFromDays(int64_t days) {
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int64_t dayOfEra = days - era * 146097;
  const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
  DateTime date;
  date.day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  date.month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  date.year = static_cast<int>(yearOfEra + era * 400 + (date.month <= 2 ? 1 : 0));
  return date;
}

// A run of exactly `digits` decimal digits at `at`.
std::optional<int> digitsAt(std::string_view text, std::size_t at, std::size_t digits) {
  if (at + digits > text.size()) return std::nullopt;
  int value = 0;
  for (std::size_t i = at; i < at + digits; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

bool separatorsInPlace(std::string_view text) {
  return text.size() >= kOffsetPosition && text[4] == '-' && text[7] == '-' && text[10] == 'T' &&
         text[13] == ':' && text[16] == ':';
}

bool isValidLocal(const DateTime& t) {
  return t.year >= kFirstYear && t.year <= kLastYear && t.month >= 1 && t.month <= kMonthsPerYear &&
         t.day >= 1 && t.day <= daysInMonth(t.year, t.month) && t.hour < kHoursPerDay &&
         t.minute < kMinutesPerHour && t.second < kSecondsPerMinute;
}

// "Z", or "+HH:MM" / "-HH:MM", as minutes east of UTC.
std::optional<int32_t> parseOffset(std::string_view offset) {
  if (offset == "Z") return 0;
  if (offset.size() != 6 || (offset[0] != '+' && offset[0] != '-') || offset[3] != ':') return std::nullopt;
  const auto hours = digitsAt(offset, 1, 2);
  const auto minutes = digitsAt(offset, 4, 2);
  if (!hours || !minutes || *minutes >= kMinutesPerHour) return std::nullopt;
  const int32_t total = *hours * kMinutesPerHour + *minutes;
  if (total > kMostUtcOffsetMinutes) return std::nullopt;
  return offset[0] == '-' ? -total : total;
}

}  // namespace

std::string isoTimeText(const ZonedDateTime& time) {
  const DateTime& t = time.local;
  const int32_t offset = time.utcOffsetMinutes;
  const int32_t magnitude = offset < 0 ? -offset : offset;
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second, offset < 0 ? '-' : '+', static_cast<int>(magnitude / kMinutesPerHour),
                static_cast<int>(magnitude % kMinutesPerHour));
  return text;
}

std::optional<ZonedDateTime> parseIsoTime(std::string_view text) {
  if (!separatorsInPlace(text)) return std::nullopt;
  const auto year = digitsAt(text, 0, 4), month = digitsAt(text, 5, 2), day = digitsAt(text, 8, 2);
  const auto hour = digitsAt(text, 11, 2), minute = digitsAt(text, 14, 2), second = digitsAt(text, 17, 2);
  if (!year || !month || !day || !hour || !minute || !second) return std::nullopt;
  const DateTime local{*year, *month, *day, *hour, *minute, *second};
  const auto offset = parseOffset(text.substr(kOffsetPosition));
  if (!offset || !isValidLocal(local)) return std::nullopt;
  return ZonedDateTime{local, *offset};
}

int64_t utcSeconds(const ZonedDateTime& time) {
  const DateTime& t = time.local;
  const int64_t days = daysFromCivil(t.year, t.month, t.day);
  const int64_t localSeconds =
      days * kSecondsPerDay + int64_t{t.hour} * kSecondsPerHour + t.minute * kSecondsPerMinute + t.second;
  return localSeconds - int64_t{time.utcOffsetMinutes} * kSecondsPerMinute;
}

DateTime localDateTimeAt(int64_t seconds, int32_t utcOffsetMinutes) {
  const int64_t local = seconds + int64_t{utcOffsetMinutes} * kSecondsPerMinute;
  const int64_t days = floorDivide(local, kSecondsPerDay);
  const int64_t ofDay = local - days * kSecondsPerDay;
  DateTime t = civilFromDays(days);
  t.hour = static_cast<int>(ofDay / kSecondsPerHour);
  t.minute = static_cast<int>(ofDay % kSecondsPerHour / kSecondsPerMinute);
  t.second = static_cast<int>(ofDay % kSecondsPerMinute);
  return t;
}

}  // namespace orelog

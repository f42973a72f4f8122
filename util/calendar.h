// The proleptic Gregorian calendar's leap years and month lengths.
#pragma once

namespace orelog {

inline constexpr int kMonthsPerYear = 12;

constexpr bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// The days of a month from 1 to 12.
constexpr int daysInMonth(int year, int month) {
  constexpr int kDays[kMonthsPerYear] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace orelog

// Calendar dates and times of day, and their conversion to and from the classic date value
// (days since 30 December 1899, the fraction being the time of day).
#pragma once

#include <cstdint>

namespace sl {

struct CivilTime {
  int year = 1899;
  int month = 12;  // 1..12
  int day = 30;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;

  friend bool operator==(const CivilTime&, const CivilTime&) = default;
};

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
std::int64_t DaysFromCivil(int year, int month, int day) noexcept;
void CivilFromDays(std::int64_t days, int& year, int& month, int& day) noexcept;

// Milliseconds since 1970-01-01 00:00:00 of a civil time (no time zone), and back.
std::int64_t CivilToEpochMs(const CivilTime& t) noexcept;
CivilTime EpochMsToCivil(std::int64_t ms) noexcept;

// The classic date value. Negative values count days back from 1899-12-30 while the fraction
// still counts forward into the day (-1.25 is 1899-12-29 06:00).
double CivilToOleDate(const CivilTime& t) noexcept;
CivilTime OleDateToCivil(double oleDate) noexcept;

// 0 = Sunday ... 6 = Saturday.
int DayOfWeek(int year, int month, int day) noexcept;
bool IsLeapYear(int year) noexcept;
int DaysInMonth(int year, int month) noexcept;

}  // namespace sl

#include "core/date_time.h"

#include <cmath>

namespace sl {

namespace {
constexpr std::int64_t kMsPerDay = 86'400'000;
// Days from 1970-01-01 back to 1899-12-30.
constexpr std::int64_t kOleEpochDays = -25569;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) noexcept {
  std::int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}
}  // namespace

bool IsLeapYear(int year) noexcept {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) noexcept {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Counts days in 400-year eras starting on 1 March, so that the leap day ends each year.
std::int64_t DaysFromCivil(int year, int month, int day) noexcept {
  std::int64_t y = static_cast<std::int64_t>(year) - (month <= 2 ? 1 : 0);
  std::int64_t era = FloorDiv(y, 400);
  std::int64_t yearOfEra = y - era * 400;
  std::int64_t shiftedMonth = month > 2 ? month - 3 : month + 9;
  std::int64_t dayOfYear = (153 * shiftedMonth + 2) / 5 + day - 1;
  std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(std::int64_t days, int& year, int& month, int& day) noexcept {
  days += 719468;
  std::int64_t era = FloorDiv(days, 146097);
  std::int64_t dayOfEra = days - era * 146097;
  std::int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
  day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

std::int64_t CivilToEpochMs(const CivilTime& t) noexcept {
  return DaysFromCivil(t.year, t.month, t.day) * kMsPerDay +
         ((t.hour * 60LL + t.minute) * 60 + t.second) * 1000 + t.millisecond;
}

CivilTime EpochMsToCivil(std::int64_t ms) noexcept {
  CivilTime t;
  std::int64_t days = FloorDiv(ms, kMsPerDay);
  std::int64_t rest = ms - days * kMsPerDay;
  CivilFromDays(days, t.year, t.month, t.day);
  t.hour = static_cast<int>(rest / 3'600'000);
  t.minute = static_cast<int>(rest / 60'000 % 60);
  t.second = static_cast<int>(rest / 1000 % 60);
  t.millisecond = static_cast<int>(rest % 1000);
  return t;
}

double CivilToOleDate(const CivilTime& t) noexcept {
  double days = static_cast<double>(DaysFromCivil(t.year, t.month, t.day) - kOleEpochDays);
  double fraction =
      (((t.hour * 60.0 + t.minute) * 60.0 + t.second) * 1000.0 + t.millisecond) / kMsPerDay;
  return days >= 0 ? days + fraction : days - fraction;
}

CivilTime OleDateToCivil(double oleDate) noexcept {
  double whole = std::trunc(oleDate);
  double fraction = std::fabs(oleDate - whole);
  std::int64_t ms = static_cast<std::int64_t>(std::llround(fraction * kMsPerDay));
  std::int64_t days = static_cast<std::int64_t>(whole) + kOleEpochDays;
  if (ms >= kMsPerDay) {
    ms -= kMsPerDay;
    days += oleDate >= 0 ? 1 : -1;
  }
  return EpochMsToCivil(days * kMsPerDay + ms);
}

int DayOfWeek(int year, int month, int day) noexcept {
  std::int64_t d = DaysFromCivil(year, month, day);  // 1970-01-01 was a Thursday
  return static_cast<int>(((d % 7) + 11) % 7);
}

}  // namespace sl

// Date and time functions: Date, Time, Now, Timer, DateAdd, DateDiff, DatePart, DateSerial,
// DateValue, TimeSerial, TimeValue, Day, Month, Year, Hour, Minute, Second, Weekday,
// WeekdayName and MonthName. Dates are classic date values: days since 1899-12-30.
#include "vbscript/builtins/date_time.h"

#include <cmath>
#include <string>

#include "vbscript/builtins/arguments.h"
#include "vbscript/builtins/families.h"
#include "vbscript/builtins/text.h"

namespace sl::vbs {

namespace {
constexpr std::int64_t kSecondsPerDay = 86400;
// Days from 1970-01-01 back to 1899-12-30.
constexpr std::int64_t kOleEpochDays = -25569;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Error 5 unless the value is a date between the years 100 and 9999.
double CheckedDate(double oleDate) {
  if (!(oleDate > -657435.0 && oleDate < 2958466.0)) InvalidArgument();
  return oleDate;
}

std::int64_t DayNumber(const CivilTime& t) {
  return DaysFromCivil(t.year, t.month, t.day) - kOleEpochDays;
}

double OleFromDayAndSeconds(std::int64_t day, std::int64_t seconds) {
  return FromSerialSeconds(day * kSecondsPerDay + seconds);
}

std::int64_t SecondsOfDay(const CivilTime& t) {
  return (t.hour * 60 + t.minute) * 60 + t.second;
}
}  // namespace

double DateArg(BuiltinContext& context, const Variant& arg) {
  Variant v = ValueOf(arg);
  if (v.IsString()) {
    double d;
    if (ParseDate(v.AsString().View(), d, context.GetClock().Now().year)) return d;
  }
  double d = ToDate(v);
  return CheckedDate(d);
}

CivilTime SplitDate(double oleDate) {
  double whole = std::trunc(oleDate);
  std::int64_t seconds = std::llround(std::fabs(oleDate - whole) * kSecondsPerDay);
  std::int64_t day = static_cast<std::int64_t>(whole);
  if (seconds >= kSecondsPerDay) {
    seconds -= kSecondsPerDay;
    day += oleDate >= 0 ? 1 : -1;
  }
  CivilTime t;
  CivilFromDays(day + kOleEpochDays, t.year, t.month, t.day);
  t.hour = static_cast<int>(seconds / 3600);
  t.minute = static_cast<int>(seconds / 60 % 60);
  t.second = static_cast<int>(seconds % 60);
  return t;
}

std::int64_t SerialSeconds(double oleDate) {
  CivilTime t = SplitDate(oleDate);
  return DayNumber(t) * kSecondsPerDay + SecondsOfDay(t);
}

double FromSerialSeconds(std::int64_t seconds) {
  std::int64_t day = FloorDiv(seconds, kSecondsPerDay);
  std::int64_t rest = seconds - day * kSecondsPerDay;
  double fraction = static_cast<double>(rest) / kSecondsPerDay;
  return day >= 0 ? static_cast<double>(day) + fraction : static_cast<double>(day) - fraction;
}

int WeekdayFrom(const CivilTime& t, int firstDay) {
  int sundayBased = DayOfWeek(t.year, t.month, t.day);  // 0 = Sunday
  return (sundayBased - (firstDay - 1) + 7) % 7 + 1;
}

namespace {

// The first-day-of-week argument: 0 (the system's, Sunday here) or 1 (Sunday) to 7 (Saturday).
int FirstDayArg(std::span<Variant> a, std::size_t i) {
  std::int32_t first = LongArg(a, i, 1);
  if (first < 0 || first > 7) InvalidArgument();
  return first == 0 ? 1 : first;
}

// The first-week-of-year argument: 0 (the system's) or 1 (the week of 1 January), 2 (the first
// week with four days in the year), 3 (the first full week).
int FirstWeekArg(std::span<Variant> a, std::size_t i) {
  std::int32_t rule = LongArg(a, i, 1);
  if (rule < 0 || rule > 3) InvalidArgument();
  return rule == 0 ? 1 : rule;
}

CivilTime Today(BuiltinContext& context) {
  return context.GetClock().Now();
}

Variant DateNow(BuiltinContext& context, std::span<Variant>) {
  CivilTime t = Today(context);
  return Variant::Date(static_cast<double>(DayNumber(t)));
}

Variant TimeNow(BuiltinContext& context, std::span<Variant>) {
  return Variant::Date(FromSerialSeconds(SecondsOfDay(Today(context))));
}

Variant Now(BuiltinContext& context, std::span<Variant>) {
  CivilTime t = Today(context);
  return Variant::Date(OleFromDayAndSeconds(DayNumber(t), SecondsOfDay(t)));
}

// Seconds since midnight with the milliseconds, as a Single.
Variant Timer(BuiltinContext& context, std::span<Variant>) {
  CivilTime t = Today(context);
  return Variant(static_cast<float>(SecondsOfDay(t)) + static_cast<float>(t.millisecond) / 1000);
}

// Years 0 to 29 are 2000 to 2029, 30 to 99 are 1930 to 1999. Months and days beyond their
// range carry over: DateSerial(2004, 14, 0) is 1/31/2005.
Variant DateSerial(BuiltinContext&, std::span<Variant> a) {
  std::int64_t year = ToInteger(a[0]);
  std::int64_t month = ToInteger(a[1]);
  std::int64_t day = ToInteger(a[2]);
  if (year >= 0 && year < 30) year += 2000;
  if (year >= 30 && year < 100) year += 1900;
  std::int64_t months = year * 12 + month - 1;
  std::int64_t y = FloorDiv(months, 12);
  if (y < 100 || y > 9999) InvalidArgument();
  int m = static_cast<int>(months - y * 12 + 1);
  std::int64_t dayNumber = DaysFromCivil(static_cast<int>(y), m, 1) - kOleEpochDays + day - 1;
  return Variant::Date(CheckedDate(static_cast<double>(dayNumber)));
}

// Hours, minutes and seconds beyond their range carry over; a negative total counts back from
// midnight of 12/30/1899.
Variant TimeSerial(BuiltinContext&, std::span<Variant> a) {
  std::int64_t seconds =
      std::int64_t{ToInteger(a[0])} * 3600 + std::int64_t{ToInteger(a[1])} * 60 + ToInteger(a[2]);
  return Variant::Date(CheckedDate(FromSerialSeconds(seconds)));
}

Variant DateValue(BuiltinContext& context, std::span<Variant> a) {
  if (a[0].IsNull()) return a[0];
  return Variant::Date(std::trunc(DateArg(context, a[0])));
}

Variant TimeValue(BuiltinContext& context, std::span<Variant> a) {
  if (a[0].IsNull()) return a[0];
  return Variant::Date(FromSerialSeconds(SecondsOfDay(SplitDate(DateArg(context, a[0])))));
}

// Day, Month, ... : the part of a date argument as an Integer; Null passes through.
template <int CivilTime::*Part>
Variant DatePartOf(BuiltinContext& context, std::span<Variant> a) {
  if (a[0].IsNull()) return a[0];
  CivilTime t = SplitDate(DateArg(context, a[0]));
  return Variant(static_cast<std::int16_t>(t.*Part));
}

// The first day is checked before a Null date passes through.
Variant Weekday(BuiltinContext& context, std::span<Variant> a) {
  int first = FirstDayArg(a, 1);
  if (a[0].IsNull()) return a[0];
  CivilTime t = SplitDate(DateArg(context, a[0]));
  return Variant(static_cast<std::int16_t>(WeekdayFrom(t, first)));
}

constexpr const char* kDayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                      "Thursday", "Friday", "Saturday"};
constexpr const char* kMonthNames[12] = {"January",   "February", "March",    "April",
                                         "May",       "June",     "July",     "August",
                                         "September", "October",  "November", "December"};

std::string Abbreviated(const char* name, bool abbreviate) {
  std::string s = name;
  return abbreviate ? s.substr(0, 3) : s;
}

// A Null argument is error 94 before any other argument is read.
void RejectNull(std::span<Variant> a) {
  for (const Variant& v : a) {
    if (v.IsNull()) throw RuntimeError(kErrInvalidNull);
  }
}

Variant WeekdayName(BuiltinContext&, std::span<Variant> a) {
  RejectNull(a);
  std::int32_t day = ToLong(a[0]);
  bool abbreviate = HasArg(a, 1) && ToBoolean(a[1]);
  int first = FirstDayArg(a, 2);
  if (day < 1 || day > 7) InvalidArgument();
  return Variant(Abbreviated(kDayNames[(day - 1 + first - 1) % 7], abbreviate));
}

Variant MonthName(BuiltinContext&, std::span<Variant> a) {
  RejectNull(a);
  std::int32_t month = ToLong(a[0]);
  bool abbreviate = HasArg(a, 1) && ToBoolean(a[1]);
  if (month < 1 || month > 12) InvalidArgument();
  return Variant(Abbreviated(kMonthNames[month - 1], abbreviate));
}

enum class Interval {
  kYear,
  kQuarter,
  kMonth,
  kDayOfYear,
  kDay,
  kWeekday,
  kWeek,
  kHour,
  kMinute,
  kSecond
};

Interval IntervalArg(const Variant& v) {
  std::u16string s = LowerText(ToString(v).View());
  static constexpr std::pair<std::u16string_view, Interval> kNames[] = {
      {u"yyyy", Interval::kYear},   {u"q", Interval::kQuarter}, {u"m", Interval::kMonth},
      {u"y", Interval::kDayOfYear}, {u"d", Interval::kDay},     {u"w", Interval::kWeekday},
      {u"ww", Interval::kWeek},     {u"h", Interval::kHour},    {u"n", Interval::kMinute},
      {u"s", Interval::kSecond}};
  for (const auto& [name, interval] : kNames) {
    if (s == name) return interval;
  }
  InvalidArgument();
}

// Adds months keeping the day where the target month has it and taking the month's last day
// where it has not: one month after January 31 is the end of February.
double AddMonths(double oleDate, std::int64_t months) {
  CivilTime t = SplitDate(oleDate);
  std::int64_t total = std::int64_t{t.year} * 12 + (t.month - 1) + months;
  std::int64_t year = FloorDiv(total, 12);
  if (year < 100 || year > 9999) InvalidArgument();
  int month = static_cast<int>(total - year * 12 + 1);
  int day = std::min(t.day, DaysInMonth(static_cast<int>(year), month));
  std::int64_t dayNumber = DaysFromCivil(static_cast<int>(year), month, day) - kOleEpochDays;
  return OleFromDayAndSeconds(dayNumber, SecondsOfDay(t));
}

// DateAdd(interval, number, date): "y", "d" and "w" all add days, "ww" adds weeks.
Variant DateAdd(BuiltinContext& context, std::span<Variant> a) {
  Interval interval = IntervalArg(a[0]);
  double number = ToDouble(a[1]);
  if (a[2].IsNull()) return a[2];
  double date = DateArg(context, a[2]);
  if (std::fabs(number) > 1e10) InvalidArgument();
  auto n = static_cast<std::int64_t>(std::nearbyint(number));
  std::int64_t seconds = 0;
  switch (interval) {
    case Interval::kYear:
      return Variant::Date(CheckedDate(AddMonths(date, n * 12)));
    case Interval::kQuarter:
      return Variant::Date(CheckedDate(AddMonths(date, n * 3)));
    case Interval::kMonth:
      return Variant::Date(CheckedDate(AddMonths(date, n)));
    case Interval::kDayOfYear:
    case Interval::kDay:
    case Interval::kWeekday:
      seconds = n * kSecondsPerDay;
      break;
    case Interval::kWeek:
      seconds = n * 7 * kSecondsPerDay;
      break;
    case Interval::kHour:
      seconds = n * 3600;
      break;
    case Interval::kMinute:
      seconds = n * 60;
      break;
    case Interval::kSecond:
      seconds = n;
      break;
  }
  return Variant::Date(CheckedDate(FromSerialSeconds(SerialSeconds(date) + seconds)));
}

std::int64_t WeekStart(std::int64_t dayNumber, int firstDay) {
  CivilTime t = SplitDate(static_cast<double>(dayNumber));
  return dayNumber - (WeekdayFrom(t, firstDay) - 1);
}

// DateDiff counts the boundaries crossed between the two dates: "yyyy" the new years, "m" the
// month starts, "d" the midnights, "ww" the first days of the week; "w" counts whole weeks.
Variant DateDiff(BuiltinContext& context, std::span<Variant> a) {
  Interval interval = IntervalArg(a[0]);
  if (a[1].IsNull() || a[2].IsNull()) return Variant::Null();
  int firstDay = FirstDayArg(a, 3);
  FirstWeekArg(a, 4);
  double d1 = DateArg(context, a[1]);
  double d2 = DateArg(context, a[2]);
  CivilTime t1 = SplitDate(d1), t2 = SplitDate(d2);
  std::int64_t s1 = SerialSeconds(d1), s2 = SerialSeconds(d2);
  std::int64_t day1 = DayNumber(t1), day2 = DayNumber(t2);
  std::int64_t diff = 0;
  switch (interval) {
    case Interval::kYear:
      diff = t2.year - t1.year;
      break;
    case Interval::kQuarter:
      diff = (t2.year * 4 + (t2.month - 1) / 3) - (t1.year * 4 + (t1.month - 1) / 3);
      break;
    case Interval::kMonth:
      diff = (t2.year * 12 + t2.month) - (t1.year * 12 + t1.month);
      break;
    case Interval::kDayOfYear:
    case Interval::kDay:
      diff = day2 - day1;
      break;
    case Interval::kWeekday:
      diff = (day2 - day1) / 7;
      break;
    case Interval::kWeek:
      diff = (WeekStart(day2, firstDay) - WeekStart(day1, firstDay)) / 7;
      break;
    case Interval::kHour:
      diff = FloorDiv(s2, 3600) - FloorDiv(s1, 3600);
      break;
    case Interval::kMinute:
      diff = FloorDiv(s2, 60) - FloorDiv(s1, 60);
      break;
    case Interval::kSecond:
      diff = s2 - s1;
      break;
  }
  return Variant(static_cast<std::int32_t>(diff));
}

// The first day of week 1 of a year under the first-week rule.
std::int64_t FirstWeekStart(int year, int firstDay, int rule) {
  std::int64_t jan1 = DaysFromCivil(year, 1, 1) - kOleEpochDays;
  std::int64_t start = WeekStart(jan1, firstDay);
  std::int64_t daysInYear = 7 - (jan1 - start);
  if (rule == 2 && daysInYear < 4) start += 7;
  if (rule == 3 && start != jan1) start += 7;
  return start;
}

// The week of the year; days before week 1 belong to the last week of the year before.
int WeekOfYear(const CivilTime& t, int firstDay, int rule) {
  std::int64_t day = DayNumber(t);
  std::int64_t start = FirstWeekStart(t.year, firstDay, rule);
  if (day < start) start = FirstWeekStart(t.year - 1, firstDay, rule);
  return static_cast<int>((day - start) / 7 + 1);
}

Variant DatePart(BuiltinContext& context, std::span<Variant> a) {
  Interval interval = IntervalArg(a[0]);
  if (a[1].IsNull()) return a[1];
  int firstDay = FirstDayArg(a, 2);
  int rule = FirstWeekArg(a, 3);
  CivilTime t = SplitDate(DateArg(context, a[1]));
  int part = 0;
  switch (interval) {
    case Interval::kYear:
      part = t.year;
      break;
    case Interval::kQuarter:
      part = (t.month - 1) / 3 + 1;
      break;
    case Interval::kMonth:
      part = t.month;
      break;
    case Interval::kDayOfYear:
      part =
          static_cast<int>(DaysFromCivil(t.year, t.month, t.day) - DaysFromCivil(t.year, 1, 1) + 1);
      break;
    case Interval::kDay:
      part = t.day;
      break;
    case Interval::kWeekday:
      part = WeekdayFrom(t, firstDay);
      break;
    case Interval::kWeek:
      part = WeekOfYear(t, firstDay, rule);
      break;
    case Interval::kHour:
      part = t.hour;
      break;
    case Interval::kMinute:
      part = t.minute;
      break;
    case Interval::kSecond:
      part = t.second;
      break;
  }
  return Variant(static_cast<std::int16_t>(part));
}

constexpr BuiltinInfo kDateTime[] = {
    {"Date", DateNow, 0, 0},
    {"DateAdd", DateAdd, 3, 3},
    {"DateDiff", DateDiff, 3, 5},
    {"DatePart", DatePart, 2, 4},
    {"DateSerial", DateSerial, 3, 3},
    {"DateValue", DateValue, 1, 1},
    {"Day", DatePartOf<&CivilTime::day>, 1, 1},
    {"Hour", DatePartOf<&CivilTime::hour>, 1, 1},
    {"Minute", DatePartOf<&CivilTime::minute>, 1, 1},
    {"Month", DatePartOf<&CivilTime::month>, 1, 1},
    {"MonthName", MonthName, 1, 2},
    {"Now", Now, 0, 0},
    {"Second", DatePartOf<&CivilTime::second>, 1, 1},
    {"Time", TimeNow, 0, 0},
    {"Timer", Timer, 0, 0},
    {"TimeSerial", TimeSerial, 3, 3},
    {"TimeValue", TimeValue, 1, 1},
    {"Weekday", Weekday, 1, 2},
    {"WeekdayName", WeekdayName, 1, 3},
    {"Year", DatePartOf<&CivilTime::year>, 1, 1},
};

}  // namespace

std::span<const BuiltinInfo> DateTimeBuiltins() {
  return kDateTime;
}

}  // namespace sl::vbs

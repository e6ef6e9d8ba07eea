// Shared date helpers of the date, time and format functions: reading a date argument and
// splitting a date value into its calendar parts to the second.
#pragma once

#include <cstdint>

#include "core/date_time.h"
#include "core/variant.h"
#include "vbscript/builtins/builtin.h"

namespace sl::vbs {

// A date argument as CDate converts it (date text in the clock's year when it names no year);
// error 13 for text that is no date, 5 outside the years 100 to 9999.
double DateArg(BuiltinContext& context, const Variant& v);

// The calendar parts of a date value, the time rounded to the nearest second.
CivilTime SplitDate(double oleDate);

// Seconds since 1899-12-30 00:00 of a date value, counting negative dates as real time (the
// fraction of a negative date still counts forward into its day), and back.
std::int64_t SerialSeconds(double oleDate);
double FromSerialSeconds(std::int64_t seconds);

// 1 (Sunday) ... 7 (Saturday) shifted so that `firstDay` is 1.
int WeekdayFrom(const CivilTime& t, int firstDay);

}  // namespace sl::vbs

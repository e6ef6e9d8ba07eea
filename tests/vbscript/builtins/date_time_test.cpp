// Date and time functions: the clock, serials with carry-over, DateAdd month ends, DateDiff
// boundary counting, DatePart weeks and the name functions.
#include "vbscript/builtins/builtin_test_support.h"

namespace sl::vbs::test {
namespace {

class DateTimeTest : public BuiltinTest {
 protected:
  Variant D(const char* text) { return Run("CDate", {text}); }
  std::string Add(const char* interval, int n, const char* date) {
    return ToUtf8(Run("DateAdd", {interval, Variant(n), D(date)}));
  }
  int Diff(const char* interval, const char* a, const char* b, int firstDay = 1) {
    return Run("DateDiff", {interval, D(a), D(b), Variant(firstDay)}).AsLong();
  }
  int Part(const char* interval, const char* date, int firstDay = 1, int rule = 1) {
    return Run("DatePart", {interval, D(date), Variant(firstDay), Variant(rule)}).AsInteger();
  }
};

TEST_F(DateTimeTest, ClockFunctions) {
  EXPECT_EQ(Show("Date"), "Date 3/7/2004");
  EXPECT_EQ(Show("Time"), "Date 2:05:09 PM");
  EXPECT_EQ(Show("Now"), "Date 3/7/2004 2:05:09 PM");
  EXPECT_EQ(Show("Timer"), "Single 50709.25");
  context.clock.Advance(36 * 3600 * 1000);  // a day and a half later, just after 2 AM
  EXPECT_EQ(Show("Now"), "Date 3/9/2004 2:05:09 AM");
}

TEST_F(DateTimeTest, SerialsCarryOver) {
  EXPECT_EQ(Show("DateSerial", {I(2004), I(3), I(7)}), "Date 3/7/2004");
  EXPECT_EQ(Show("DateSerial", {I(2004), I(14), I(1)}), "Date 2/1/2005");
  EXPECT_EQ(Show("DateSerial", {I(2004), I(3), I(0)}), "Date 2/29/2004");
  EXPECT_EQ(Show("DateSerial", {I(2004), I(0), I(1)}), "Date 12/1/2003");
  EXPECT_EQ(Show("DateSerial", {I(2004), I(1), I(-1)}), "Date 12/30/2003");
  EXPECT_EQ(Show("DateSerial", {I(4), I(1), I(1)}), "Date 1/1/2004");
  EXPECT_EQ(Show("DateSerial", {I(99), I(1), I(1)}), "Date 1/1/1999");
  EXPECT_EQ(Error("DateSerial", {I(10000), I(1), I(1)}), 5);
  EXPECT_EQ(Error("DateSerial", {Variant::Null(), I(1), I(1)}), 94);
  EXPECT_EQ(Show("TimeSerial", {I(14), I(5), I(9)}), "Date 2:05:09 PM");
  EXPECT_EQ(Show("TimeSerial", {I(12), I(-1), I(0)}), "Date 11:59:00 AM");
  EXPECT_EQ(Show("TimeSerial", {I(0), I(0), I(90)}), "Date 12:01:30 AM");
  EXPECT_EQ(Show("TimeSerial", {I(25), I(0), I(0)}), "Date 12/31/1899 1:00:00 AM");
  EXPECT_EQ(Show("TimeSerial", {I(-1), I(0), I(0)}), "Date 12/29/1899 11:00:00 PM");
}

TEST_F(DateTimeTest, PartsOfADate) {
  Variant d = D("3/7/2004 2:05:09 PM");
  EXPECT_EQ(Show("Year", {d}), "Integer 2004");
  EXPECT_EQ(Show("Month", {d}), "Integer 3");
  EXPECT_EQ(Show("Day", {d}), "Integer 7");
  EXPECT_EQ(Show("Hour", {d}), "Integer 14");
  EXPECT_EQ(Show("Minute", {d}), "Integer 5");
  EXPECT_EQ(Show("Second", {d}), "Integer 9");
  EXPECT_EQ(Show("Hour", {"3 PM"}), "Integer 15");
  EXPECT_EQ(Show("Year", {Variant::Null()}), "Null");
  EXPECT_EQ(Error("Year", {"someday"}), 13);
  EXPECT_EQ(Show("Second", {Variant::Date(0.99999999)}), "Integer 0");  // rounds to midnight
  EXPECT_EQ(Show("Day", {Variant::Date(-1.25)}), "Integer 29");         // 12/29/1899 6:00 AM
  EXPECT_EQ(Show("Hour", {Variant::Date(-1.25)}), "Integer 6");
  EXPECT_EQ(Show("DateValue", {"3/7/2004 2:05 PM"}), "Date 3/7/2004");
  EXPECT_EQ(Show("TimeValue", {"3/7/2004 2:05 PM"}), "Date 2:05:00 PM");
  EXPECT_EQ(Show("DateValue", {Variant::Null()}), "Null");
}

TEST_F(DateTimeTest, WeekdaysAndNames) {
  EXPECT_EQ(Show("Weekday", {D("3/7/2004")}), "Integer 1");  // a Sunday
  EXPECT_EQ(Show("Weekday", {D("3/7/2004"), I(2)}), "Integer 7");
  EXPECT_EQ(Show("Weekday", {D("3/10/2004"), I(0)}), "Integer 4");
  EXPECT_EQ(Error("Weekday", {D("3/7/2004"), I(8)}), 5);
  EXPECT_EQ(Show("WeekdayName", {I(1)}), "String Sunday");
  EXPECT_EQ(Show("WeekdayName", {I(1), Variant(true)}), "String Sun");
  EXPECT_EQ(Show("WeekdayName", {I(1), Variant(false), I(2)}), "String Monday");
  EXPECT_EQ(Error("WeekdayName", {I(8)}), 5);
  EXPECT_EQ(Show("MonthName", {I(9)}), "String September");
  EXPECT_EQ(Show("MonthName", {I(9), Variant(true)}), "String Sep");
  EXPECT_EQ(Error("MonthName", {I(0)}), 5);
}

TEST_F(DateTimeTest, DateAddKeepsMonthEnds) {
  EXPECT_EQ(Add("m", 1, "1/31/2004"), "2/29/2004");
  EXPECT_EQ(Add("m", 1, "1/31/2005"), "2/28/2005");
  EXPECT_EQ(Add("m", -1, "3/31/2004"), "2/29/2004");
  EXPECT_EQ(Add("yyyy", 1, "2/29/2004"), "2/28/2005");
  EXPECT_EQ(Add("q", 1, "11/30/2004"), "2/28/2005");
  EXPECT_EQ(Add("d", 1, "12/31/2004"), "1/1/2005");
  EXPECT_EQ(Add("w", 1, "3/7/2004"), "3/8/2004");  // "w" adds days, not weekdays
  EXPECT_EQ(Add("ww", 2, "3/7/2004"), "3/21/2004");
  EXPECT_EQ(Add("h", 10, "3/7/2004 2:00 PM"), "3/8/2004");
  EXPECT_EQ(Add("n", -1, "3/7/2004"), "3/6/2004 11:59:00 PM");
  EXPECT_EQ(Add("s", 61, "3/7/2004 2:00 PM"), "3/7/2004 2:01:01 PM");
  EXPECT_EQ(Add("m", 1, "1/31/2004 6:30 AM"), "2/29/2004 6:30:00 AM");
  EXPECT_EQ(Error("DateAdd", {"x", I(1), D("3/7/2004")}), 5);
  EXPECT_EQ(Error("DateAdd", {"yyyy", Variant(9000), D("3/7/2004")}), 5);
  EXPECT_EQ(Show("DateAdd", {"d", I(1), Variant::Null()}), "Null");
  EXPECT_EQ(ToUtf8(Run("DateAdd", {"D", I(1), "3/7/2004"})), "3/8/2004");
}

TEST_F(DateTimeTest, DateDiffCountsBoundaries) {
  EXPECT_EQ(Diff("yyyy", "12/31/2003", "1/1/2004"), 1);
  EXPECT_EQ(Diff("m", "1/31/2004", "2/1/2004"), 1);
  EXPECT_EQ(Diff("q", "3/31/2004", "4/1/2004"), 1);
  EXPECT_EQ(Diff("d", "3/7/2004 11:59 PM", "3/8/2004 12:01 AM"), 1);
  EXPECT_EQ(Diff("d", "3/8/2004", "3/7/2004"), -1);
  EXPECT_EQ(Diff("h", "3/7/2004 1:59 PM", "3/7/2004 2:00 PM"), 1);
  EXPECT_EQ(Diff("n", "3/7/2004 1:59:59 PM", "3/7/2004 2:00:00 PM"), 1);
  EXPECT_EQ(Diff("s", "3/7/2004", "3/8/2004"), 86400);
  // "w" counts whole weeks; "ww" counts week starts (Sundays by default) crossed.
  EXPECT_EQ(Diff("w", "3/6/2004", "3/12/2004"), 0);
  EXPECT_EQ(Diff("ww", "3/6/2004", "3/7/2004"), 1);
  EXPECT_EQ(Diff("ww", "3/7/2004", "3/13/2004"), 0);
  EXPECT_EQ(Diff("ww", "3/7/2004", "3/8/2004", 2), 1);  // weeks starting on Monday
  EXPECT_EQ(Diff("w", "3/20/2004", "3/6/2004"), -2);
  EXPECT_EQ(Show("DateDiff", {"d", Variant::Null(), D("3/7/2004")}), "Null");
}

TEST_F(DateTimeTest, DatePartWeeksOfTheYear) {
  EXPECT_EQ(Part("yyyy", "3/7/2004"), 2004);
  EXPECT_EQ(Part("q", "3/7/2004"), 1);
  EXPECT_EQ(Part("y", "3/7/2004"), 67);
  EXPECT_EQ(Part("w", "3/7/2004"), 1);
  EXPECT_EQ(Part("w", "3/7/2004", 2), 7);
  EXPECT_EQ(Part("ww", "1/1/2005"), 1);  // Saturday 1 January: week 1
  EXPECT_EQ(Part("ww", "1/2/2005"), 2);
  EXPECT_EQ(Part("ww", "1/1/2005", 1, 3), 52);  // last week of 2004: its first full week began 1/4
  EXPECT_EQ(Part("ww", "1/2/2005", 1, 3), 1);
  EXPECT_EQ(Part("ww", "1/1/2004", 2, 2), 1);   // Thursday: four days in 2004
  EXPECT_EQ(Part("ww", "1/1/2005", 2, 2), 53);  // ISO week 53 of 2004
  EXPECT_EQ(Part("ww", "12/31/2004"), 53);
  EXPECT_EQ(Part("h", "3/7/2004 2:05 PM"), 14);
  EXPECT_EQ(Error("DatePart", {"ww", D("3/7/2004"), I(1), I(4)}), 5);
}

}  // namespace
}  // namespace sl::vbs::test

' Date and time functions with fixed dates (the clock itself is only checked for consistency).
Option Explicit
Dim d
d = #3/7/2004 2:05:09 PM#
WScript.Echo d, Year(d), Month(d), Day(d), Hour(d), Minute(d), Second(d), Weekday(d), Weekday(d, vbMonday)
WScript.Echo DateSerial(2004, 14, 1), DateSerial(2004, 3, 0), DateSerial(99, 1, 1), DateSerial(5, 1, 1)
WScript.Echo TimeSerial(14, 5, 9), TimeSerial(12, -1, 0), TimeSerial(0, 0, 90)
WScript.Echo DateValue("March 7, 2004 2:05 PM"), TimeValue("3/7/2004 14:05:09")
WScript.Echo DateAdd("m", 1, #1/31/2004#), DateAdd("m", 1, #1/31/2005#), DateAdd("yyyy", 1, #2/29/2004#)
WScript.Echo DateAdd("d", -1, #3/1/2004#), DateAdd("ww", 1, d), DateAdd("h", 10, d), DateAdd("n", 55, d), DateAdd("s", -9, d)
WScript.Echo DateDiff("yyyy", #12/31/2003#, #1/1/2004#), DateDiff("m", #1/31/2004#, #2/1/2004#), DateDiff("d", #3/7/2004 11:59 PM#, #3/8/2004#)
WScript.Echo DateDiff("w", #3/6/2004#, #3/12/2004#), DateDiff("ww", #3/6/2004#, #3/7/2004#), DateDiff("h", #3/7/2004 1:59 PM#, d), DateDiff("s", #3/7/2004#, #3/8/2004#)
WScript.Echo DatePart("yyyy", d), DatePart("q", d), DatePart("y", d), DatePart("w", d), DatePart("ww", d), DatePart("ww", #1/1/2005#, vbMonday, vbFirstFourDays)
WScript.Echo MonthName(3), MonthName(3, True), WeekdayName(1), WeekdayName(2, True), WeekdayName(1, False, vbMonday)
WScript.Echo IsDate("3/7/2004"), IsDate("2/30/2004"), IsDate("hello"), IsDate(d)
WScript.Echo VarType(Now), VarType(Date), VarType(Time), TypeName(Timer), Int(Now) = Date, Now >= Date

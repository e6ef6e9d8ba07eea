' Conversion functions: rounding half to even, subtypes, text forms and hex/octal.
Option Explicit
WScript.Echo CInt(2.5), CInt(3.5), CInt(-2.5), CLng(1.5), CLng("  7.5 "), CByte(254.5)
WScript.Echo TypeName(CInt(1)), TypeName(CLng(1)), TypeName(CSng(1)), TypeName(CDbl(1)), TypeName(CCur(1)), TypeName(CByte(1)), TypeName(CBool(1)), TypeName(CDate(1)), TypeName(CStr(1))
WScript.Echo CStr(1/3), CStr(CSng(1/3)), CStr(0.1 + 0.2), CStr(1E+20), CStr(-2.5E-07), CStr(CCur(1234.5)), CStr(True)
WScript.Echo CBool("true"), CBool(" FALSE "), CBool(0.5), CBool(0), CBool("1")
WScript.Echo CInt("&H10"), CLng("&HFFFF"), CDbl("1,234.5"), CDbl("1e3"), CCur("3.14159")
WScript.Echo Hex(255), Hex(-1), Hex(-32769), Hex(65535), Oct(8), Oct(-1)
WScript.Echo Int(-2.5), Fix(-2.5), Int(2.5), Fix(2.5), TypeName(Int("3.7")), TypeName(Int(CCur(3.7)))
WScript.Echo CDate("3/7/2004"), CDate("March 7, 2004"), CDate("2004-03-07 14:05:09"), CDate("2:05 PM"), CDate(38053.5)
WScript.Echo CDate("13/1/2004"), CDate("7-Mar-04"), CDate("Sunday, March 07, 2004")
WScript.Echo Asc("€"), Chr(128) = ChrW(8364), AscB("A"), LenB("ab")

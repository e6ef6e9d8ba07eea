' Formatting functions under the United States English conventions.
Option Explicit
WScript.Echo FormatNumber(1234.567), FormatNumber(1234.567, 0), FormatNumber(0.5, 2, vbFalse), FormatNumber(-1234.5, 2, vbUseDefault, vbTrue), FormatNumber(1234.5, 1, vbUseDefault, vbUseDefault, vbFalse)
WScript.Echo FormatNumber(2.5, 0), FormatNumber(-0.5, 0), FormatNumber("42"), FormatNumber(999.999)
WScript.Echo FormatCurrency(1234.567), FormatCurrency(-1234.567), FormatCurrency(-5, 0, vbUseDefault, vbFalse), FormatCurrency(0.5)
WScript.Echo FormatPercent(0.125), FormatPercent(-0.5, 0), FormatPercent(1, 1)
WScript.Echo FormatDateTime(#3/7/2004 2:05:09 PM#), FormatDateTime(#3/7/2004 2:05:09 PM#, vbLongDate)
WScript.Echo FormatDateTime(#3/7/2004 2:05:09 PM#, vbShortDate), FormatDateTime(#3/7/2004 2:05:09 PM#, vbLongTime), FormatDateTime(#3/7/2004 2:05:09 PM#, vbShortTime)

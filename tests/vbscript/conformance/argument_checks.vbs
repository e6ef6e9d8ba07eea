' The order in which built-in functions check their arguments: a Null where a number is needed
' is error 94, text that is no number 13, a number out of range 5; some functions check all
' that before they let a Null text through.
Sub Try(expression)
  Dim value
  On Error Resume Next
  Err.Clear
  value = Eval(expression)
  If Err.Number <> 0 Then
    WScript.Echo expression, "-> error", Err.Number
  ElseIf IsNull(value) Then
    WScript.Echo expression, "-> Null"
  Else
    WScript.Echo expression, "->", value
  End If
End Sub
Try "InStr(Null, ""abcd"", ""bc"")"
Try "InStr(2, Null, ""bc"")"
Try "InStr(2, ""abcd"", ""bc"", Null)"
Try "InStr(-1, ""abcd"", ""bc"")"
Try "InStr(1, ""abcd"", ""bc"", 2)"
Try "InStrRev(""abcd"", Null)"
Try "InStrRev(Null, ""abcd"")"
Try "InStrRev(""abcd"", ""bc"", Null)"
Try "InStrRev(""abcd"", ""bc"", 2, Null)"
Try "InStrRev(""abcd"", ""bc"", -2)"
Try "InStrRev(""abcd"", ""bc"", 4, 3)"
Try "Left(Null, 1)"
Try "Left(Null, -1)"
Try "Right(Null, -1)"
Try "Right(""test"", Null)"
Try "Right(""test"", Empty)"
Try "Mid(Null, 2)"
Try "Mid(Null, 0)"
Try "Mid(""test"", ""a"", Null)"
Try "Mid(""test"", ""a"", 1)"
Try "Mid(""test"", 0, Null)"
Try "Mid(""test"", Null, -1)"
Try "Mid(""test"", 0, Empty)"
Try "Mid(""test"", 2, -1)"
Try "Join(Null)"
Try "Join(Empty)"
Try "Join(Array(1, Null))"
Try "Join(Array(Array(1)))"
Try "Join(Array(1, 2), Null)"
Try "Join(Array(1, Empty), Empty)"
Try "Filter(Null, ""a"")"
Try "Weekday(Null)"
Try "Weekday(Null, 8)"
Try "Weekday(Null, Null)"
Try "Weekday(Null, ""a"")"
Try "Weekday(#1/1/2000#, Null)"
Try "MonthName(Null)"
Try "MonthName(""a"", Null)"
Try "MonthName(13)"
Try "WeekdayName(1, Null)"
Try "FormatNumber(Null)"
Try "FormatNumber(1, Null)"
Try "FormatCurrency(Null)"
Try "FormatCurrency(1, 2, Null)"
Try "FormatPercent(Null)"
Try "FormatPercent(0.5, 0, 0, Null)"
Try "FormatDateTime(Null)"
Try "FormatDateTime(1, Null)"
Try "Split(Null)"
Try "Split(""a-b"", ""-"", -2)"
Try "Replace(""xx"", ""x"", ""y"", 0)"
Try "Replace(""xx"", ""x"", ""y"", 1, -2)"
Try "Replace(""xx"", Null, ""y"")"
Try "Space(Null)"
Try "String(3, """")"
Try "Asc("""")"
Try "Chr(256)"
Try "Sqr(-1)"
Try "Log(0)"
Try "Sgn(Null)"
Try "CStr(Null)"
Try "CLng(""abc"")"

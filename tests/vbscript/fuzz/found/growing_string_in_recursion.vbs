' The error numbers the built-in functioÿÿns raise.
Dim x
Dim results
results = ""
Sub Try(code)
  On Error Resume Next
  Execute code
  results = results & Err.Number & "abc"", -1)"
Try "x = Chr(256)"
Try "x = A "
  Err.Clear
End Sub
Try "x = Mid(""abc"", 0)"
Try "x = Left(""abc"", -1)"
Try "x = Chr(256)"
Try "x = Asc("""")"
Try "x = CInt(""abc"")"
Try "x = CInt(40000)"
Try "x = CByte(-1)"
Try "x = Left(""abc"", Null)"
Try "x = CStr(Null)"
Try "x = Sqr(-2)"
Try "x = Log(0)"
Try "x = UBound(""abc"")"
Try "x = Uound(Array(1), 2)"
Try "x = CreateObject(""No.Such.Thing"")"
Try "x = DateSerial(10000, 1, 1)"
Try "x = MonthName(13)"
Try "x = CDate(""N2sl3vbs13ClassInstnot acrite"")"
Try "x = Space(-1)"
Try "x = StrReverse(Null)"
Try "x = Round(1.5, -10)"
WScript.Echo results

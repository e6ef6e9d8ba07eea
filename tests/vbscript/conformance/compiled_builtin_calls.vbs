' Calls of built-in functions run by the bytecode with the values of their arguments: values,
' the order of their errors (the count and a statement-only use before the arguments, the
' function's own errors after them, named), statements, the release of argument values and of a
' statement's result, and names of built-ins that the script takes for itself.
Option Explicit

Dim log
Sub Note(text)
  log = log & text & ";"
End Sub

Class Tracked
  Public Name
  Private Sub Class_Terminate()
    Note "end " & Name
  End Sub
End Class

Function Make(name)
  Set Make = New Tracked
  Make.Name = name
End Function

Sub Values(ByRef text, ByVal count)
  Dim a(2, 3), i, parts
  Const sep = "-"
  parts = ""
  For i = 1 To Len(text)
    parts = parts & Mid(text, i, 1) & sep
  Next
  WScript.Echo "values:", Len(text), parts, UBound(a), UBound(a, 2), CStr(count + 1) & "!"
  WScript.Echo "more:", InStr(count, text, "l"), LCase(text & vbTab) & "|", Replace(text, "l", "L", 1, -1, 0)
  WScript.Echo "types:", TypeName(text), TypeName(count), VarType(a), IsArray(a), DateSerial(2020, count, 1)
  text = UCase(text)
End Sub

Dim s, n
s = "hello": n = 2
Values s, n
WScript.Echo "by reference:", s
WScript.Echo "global:", Len(s), Left(s, n), Right(s & "x", n + 1), Abs(-n), Sgn(-n) * 3

Sub Errors()
  Dim r, z, text
  z = 0
  text = "abc"
  On Error Resume Next
  r = "kept"
  r = Len(text, 1 / z)
  WScript.Echo "count before arguments:", Err.Number, Err.Description, r
  Err.Clear
  r = Randomize(1 / z)
  WScript.Echo "statement only as a value:", Err.Number, Err.Description, r
  Err.Clear
  r = Mid(text, 0)
  WScript.Echo "own error:", Err.Number, Err.Description, r
  Err.Clear
  r = Left(text, 1 / z)
  WScript.Echo "argument error:", Err.Number, Err.Description
  Err.Clear
  CInt "12"
  WScript.Echo "value only as a statement:", Err.Number, Err.Description
  Err.Clear
  CInt 1 / z
  WScript.Echo "its argument first:", Err.Number
  Err.Clear
  If Len(text, 2) = 3 Then WScript.Echo "resumed into the If"
  WScript.Echo "condition:", Err.Number
  Err.Clear
  r = CLng(text) + 1
  WScript.Echo "conversion:", Err.Number, Err.Description
  On Error GoTo 0
End Sub
Errors

Sub Lifetimes()
  Dim o, kind, list
  Set o = Make("argument")
  kind = TypeName(o)
  Set o = Nothing
  Note "after argument"
  Set o = Make("result dropped")
  Array o, 1
  Set o = Nothing
  Note "after statement"
  Set o = Make("kept in result")
  list = Array(o, 2)
  Set o = Nothing
  Note "list holds it"
  list = Empty
  Note "list gone " & kind
  On Error Resume Next
  Set o = Make("failed argument")
  kind = Mid("abc", 1, o)
  Set o = Nothing
  Note "after failed call " & Err.Number
  On Error GoTo 0
  WScript.Echo log
  log = ""
End Sub
Lifetimes

' Names of built-ins the script takes for itself: a function of its own, a local variable, and
' a function defined later by ExecuteGlobal.
Function Left(text, count)
  Left = "own left " & text & count
End Function

Sub Shadows(ByVal text)
  Dim Right
  Right = Array("r0", "r1")
  WScript.Echo "shadowed:", Left(text, 1), Right(1), LTrim(text)
End Sub
Shadows "  pad"
ExecuteGlobal "Function LTrim(text): LTrim = ""own ltrim"": End Function"
Shadows "  pad"
ExecuteGlobal "Function RTrim(text): RTrim = ""own rtrim"": End Function"
WScript.Echo "defined later:", RTrim("x  ") & "|", LTrim(" y")

' Not handled: the error and its position.
Dim z
z = 0
WScript.Echo Left("ok", 1), Mid(s, z)

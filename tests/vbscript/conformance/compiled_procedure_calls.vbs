' Calls of procedures as statements (`Foo a, b`, `Call Foo(a)`, `Foo`) run by the bytecode,
' and the order in which a call finds its errors: the count of arguments and the depth before
' the arguments are evaluated, as statements and as values; names that are no procedure; Dim.
Option Explicit

Dim log
Sub Note(text)
  log = log & text & ";"
End Sub

Sub Bump(ByRef n, ByVal m)
  n = n + 1
  m = m + 1
  Note "bump " & n & " " & m
End Sub

Function Twice(ByRef n)
  n = n * 2
  Twice = n
  Note "twice " & n
End Function

Sub Recurse(depth)
  Recurse depth + 1
End Sub

Sub Hello()
  Note "hello"
End Sub

Function Answer()
  Answer = 42
  Note "answer"
End Function

Sub Deep()
  Deep
End Sub

Dim x, y, z, r
x = 1: y = 10
Bump x, y
Bump (x), y
Call Bump(x, y + 1)
Bump x + 1, (y)
WScript.Echo "statements:", x, y
x = 3
Twice x
Twice (x)
Call Twice(x)
WScript.Echo "functions as statements:", x
Hello
Answer
Call Hello
WScript.Echo log
log = ""

Sub Errors()
  Dim v, k
  On Error Resume Next
  Bump 1, 2, 3 / z
  WScript.Echo "too many, failing argument:", Err.Number
  Err.Clear
  v = Twice(1, 2 / z)
  WScript.Echo "too many as a value:", Err.Number, "[" & v & "]"
  Err.Clear
  Bump 1 / z, 2
  WScript.Echo "failing argument:", Err.Number, "[" & log & "]"
  Err.Clear
  Recurse 1 / 1
  WScript.Echo "too deep:", Err.Number
  Err.Clear
  Execute "k = 5"
  WScript.Echo "an intrinsic as a statement:", Err.Number, k
  Err.Clear
  Nope 1, 2
  WScript.Echo "no such procedure:", Err.Number
  Err.Clear
  Call CInt(1)
  WScript.Echo "a conversion as a statement:", Err.Number
  Err.Clear
  Bump
  WScript.Echo "bare name, too few:", Err.Number
  Err.Clear
  Deep
  WScript.Echo "bare name, too deep:", Err.Number
  Err.Clear
  Missing
  WScript.Echo "bare name, no such procedure:", Err.Number
  Err.Clear
  ExecuteGlobal "Sub Later()" & vbCrLf & "Note ""later""" & vbCrLf & "End Sub"
  Later
  WScript.Echo "bare name defined later:", Err.Number, log
  log = ""
  Err.Clear
End Sub
Errors

' In global code too.
On Error Resume Next
Bump 1, 2, 3 / z
WScript.Echo "global, too many:", Err.Number
Err.Clear
r = Twice(1, 2 / z)
WScript.Echo "global, too many as a value:", Err.Number
Err.Clear
On Error GoTo 0

' Dim of a variable in a loop keeps its value; an array declared with its size is made.
Sub Declarations()
  Dim k
  For k = 1 To 3
    Dim kept, sized(2)
    kept = kept & k
    sized(k - 1) = k
  Next
  WScript.Echo "declarations:", kept, Join(sized, ",")
End Sub
Declarations

' Not handled: the error and its position.
Bump 1, 2, 3 / z

' Eval, Execute, ExecuteGlobal and GetRef called by the bytecode with the value of their
' argument: the code they run sees and changes the procedure's own variables, the argument is
' evaluated once, and a wrong count of arguments fails before it is evaluated.
Option Explicit

Dim log, calls
Sub Note(text)
  log = log & text & ";"
End Sub
Function Code(text)
  calls = calls + 1
  Code = text
End Function

Sub Locals(p)
  Dim a, b, s
  a = 1
  b = 2
  Execute "a = a + 10"
  Execute Code("b = b * 3")
  Note a & " " & b & " " & Eval("a + b") & " " & Eval(Code("a * 2"))
  s = "p = p & ""!"""
  Execute s
  Note p
  Note Eval(42) & " " & TypeName(Eval(Empty))
  Note Eval(Code("a") & "+" & Code("b"))
End Sub

Sub Globals()
  Dim f, x
  ExecuteGlobal Code("Function Twice(n) : Twice = n * 2 : End Function")
  Note Twice(4)
  Set f = GetRef(Code("Twice"))
  Note f(5)
  x = "Note ""from execute"""
  Execute(x)
  On Error Resume Next
  Execute 5
  Note "number " & Err.Number
  Err.Clear
  Execute Code("x = 1 / 0")
  Note "inside " & Err.Number & " " & x
  Err.Clear
  Note Eval(Code("1"), Code("2"))
  Note "count " & Err.Number
  Err.Clear
  GetRef Code("Nothing here")
  Note "getref " & Err.Number
  Err.Clear
  On Error GoTo 0
End Sub

Dim v
v = "v"
calls = 0
Locals v
Globals
WScript.Echo log
WScript.Echo "calls " & calls & " " & v
Execute Code("v = v & ""+""")
WScript.Echo v, Eval(Code("v & v")), calls

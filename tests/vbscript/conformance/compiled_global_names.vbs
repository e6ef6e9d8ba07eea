' Global variables that compiled code reads and writes directly, and every way such a name can
' change what it stands for while that code runs: ExecuteGlobal and Execute defining a procedure,
' class or constant of the same name, names declared late under Option Explicit, procedures and
' Eval reading and writing the same variables. After each change the code must see the new
' meaning at once, in loops that have already read and written the name.
Option Explicit
Dim i, total, g, arr(3), c, cls, log, counter, shared

Sub Report(label)
  If Err.Number <> 0 Then
    WScript.Echo label & ": error " & Err.Number
    Err.Clear
  End If
End Sub

' A variable read in a loop becomes a function: later reads call it.
g = 1
total = 0
For i = 1 To 4
  total = total + g
  If i = 2 Then ExecuteGlobal "Function g: g = 100: End Function"
Next
WScript.Echo "variable to function:", total, TypeName(g)

' Execute (not ExecuteGlobal) defines a Sub over a variable the loop reads and writes.
counter = 0
On Error Resume Next
For i = 1 To 4
  counter = counter + 1
  Report "write after Execute " & i
  If i = 2 Then Execute "Sub counter: log = log & ""sub ran;"": End Sub"
Next
On Error GoTo 0
WScript.Echo "Execute:", TypeName(counter), log

' An array read and written by element becomes a function taking an index.
total = 0
On Error Resume Next
For i = 0 To 3
  arr(i) = i
  Report "element store " & i
  total = total + arr(i)
  If i = 1 Then ExecuteGlobal "Function arr(n): arr = n * 10: End Function"
Next
On Error GoTo 0
WScript.Echo "array to function:", total

' A variable becomes a constant: reads give the constant, writes fail.
c = 3
On Error Resume Next
For i = 1 To 4
  c = c + 1
  Report "write " & i
  If i = 2 Then ExecuteGlobal "Const c = 50"
Next
On Error GoTo 0
WScript.Echo "variable to constant:", c

' A variable becomes a class name.
cls = 7
total = 0
On Error Resume Next
For i = 1 To 3
  total = total + cls
  Report "class read " & i
  If i = 2 Then ExecuteGlobal "Class cls: Public v: End Class"
Next
On Error GoTo 0
WScript.Echo "variable to class:", total

' Option Explicit: a name declared late is an error until ExecuteGlobal declares it.
total = 0
On Error Resume Next
For i = 1 To 4
  total = total + lateName
  Report "late read " & i
  If i = 2 Then ExecuteGlobal "Dim lateName: lateName = 5"
  lateName = lateName + 1
  Report "late write " & i
Next
On Error GoTo 0
WScript.Echo "declared late:", total, lateName

' Procedures and Eval read and write the variables the global code holds directly.
Sub Bump
  shared = shared + 10
End Sub
shared = 0
For i = 1 To 3
  shared = shared + 1
  Bump
  Execute "shared = shared + 100"
  If Eval("shared") <> shared Then WScript.Echo "Eval disagrees at", i
Next
WScript.Echo "shared:", shared, Eval("shared * 2")

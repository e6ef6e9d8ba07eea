' Calls whose arguments run code (calls, member reads, elements), run by the bytecode: the
' arguments are evaluated in order after the callee is found, a variable passed before such an
' argument is read in its turn (by value) or passed itself (by reference to a script
' procedure), errors of the callee come before the arguments, and a procedure defined anew by an
' argument is not the one called.
Option Explicit

Dim log, g
Sub Note(text)
  log = log & text & ";"
End Sub
Sub Flush(title)
  WScript.Echo title & ": " & log
  log = ""
End Sub

Function SetG(v)
  Note "setg " & v
  g = v
  SetG = "s" & v
End Function

Sub ByVals(ByVal a, ByVal b)
  Note "byvals " & a & " " & b
  a = "changed"
End Sub
Sub ByRefs(a, b)
  Note "byrefs " & a & " " & b
  a = a & "+"
End Sub
Sub Mixed(ByVal a, b, ByVal c)
  Note "mixed " & a & " " & b & " " & c
  b = b & "!"
End Sub

Class Box
  Public Value
  Public Sub Take(ByVal a, b)
    Note "take " & a & " " & b
    b = b & "#"
  End Sub
  Public Function Join(a, ByVal b)
    Join = a & "/" & b
    a = "joined"
  End Function
  Public Property Get Item(ByVal k, n)
    Item = k & ":" & n
  End Property
  ' Fields as arguments: by reference, and read in their turn.
  Public Sub Fields()
    Value = "v"
    WScript.Echo "field", Value, Len(Value)
    ByRefs Value, SetG("f")
    Note "field " & Value
    ByVals Value, Clear()
    Note "field " & Value
  End Sub
  Private Function Clear()
    Value = Empty
    Clear = "cleared"
  End Function
End Class

Function Twice(x)
  Twice = x & x
End Function

Sub Globals()
  Dim b
  Set b = New Box
  ' a global variable read in its turn, then changed by the argument after it
  g = "old"
  WScript.Echo g, SetG("new"), g
  g = "old"
  ByVals g, SetG("new")
  Note "g " & g
  g = "old"
  ByRefs g, SetG("new")
  Note "g " & g
  g = "old"
  Mixed g, g, SetG("new")
  Note "g " & g
  g = "old"
  b.Take g, SetG("new")
  Note "g " & g
  g = "old"
  b.Take SetG("a"), g
  Note "g " & g
  g = "old"
  Note b.Join(g, SetG("new")) & " " & g
  g = "old"
  Note b.Item(g, SetG("new"))
  g = "old"
  Note Left(g, Len(SetG("new")))
  g = "old"
  Note Twice(g) & Twice(SetG("x"))
  b.Fields
  Flush "globals"
End Sub

Sub Locals()
  Dim b, s, t, arr(2)
  Set b = New Box
  s = "one"
  t = "two"
  ' a local changed by an argument after it (a procedure that takes it by reference)
  ByVals s, Change(s)
  Note "s " & s
  s = "one"
  ByRefs s, Change(s)
  Note "s " & s
  s = "one"
  b.Take s, Change(s)
  Note "s " & s
  s = "one"
  WScript.Echo s, Change(s), s
  s = "one"
  Note Mid(s & t, Len(Change(s))) & " " & s
  arr(0) = "zero"
  arr(1) = "first"
  ' elements and results as arguments, by value
  ByVals arr(0) & "", Twice(arr(1))
  Note b.Join(UCase(arr(0)), Twice(t))
  WScript.Echo Len(s), UBound(arr), Twice(Twice(t))
  Flush "locals"
End Sub

Function Change(ByRef v)
  v = v & "~"
  Change = "c"
End Function

' The callee is found before the arguments: an unknown member, a wrong count of arguments and
' a value that is no object fail without evaluating them.
Sub Failures()
  Dim b, n
  Set b = New Box
  On Error Resume Next
  b.Missing SetG("a"), 1
  Note "438 " & Err.Number & " " & g
  Err.Clear
  g = ""
  ByVals SetG("b")
  Note "450 " & Err.Number & " " & g
  Err.Clear
  g = ""
  n = 5
  n.Take SetG("c"), 1
  Note "424 " & Err.Number & " " & g
  Err.Clear
  g = ""
  ' an argument that fails: the call is not made, the statement goes on after it
  ByVals 1, 1 / 0
  Note "11 " & Err.Number
  Err.Clear
  b.Take CInt("x"), SetG("d")
  Note "13 " & Err.Number & " " & g
  Err.Clear
  On Error GoTo 0
  Flush "failures"
End Sub

' An argument that defines the procedure called anew: the one found first is called; the next
' call finds the new one.
Sub Redefine()
  Show "before", Define()
  Show "after", "x"
End Sub
Sub Show(a, b)
  Note "first show " & a & " " & b
End Sub
Function Define()
  ExecuteGlobal "Sub Show(a, b) : Note ""second show "" & a & "" "" & b : End Sub"
  Define = "defined"
End Function

' Built-in constants as arguments are values, even to a parameter by reference; calls with
' empty parentheses.
Sub SetIt(x)
  x = "set"
End Sub
Function Zero()
  Note "zero"
  Zero = 0
End Function
Sub Empties()
  Dim t
  SetIt vbTab
  Note "tab " & Len(vbTab) & " " & (vbCrLf = Chr(13) & Chr(10))
  Note "constant first " & Mid(vbLf & "x", Len(SetG("ab")))
  ByRefs vbNullString, SetG("c")
  Rnd -1
  Randomize 3
  ByRefs Rnd, Rnd
  Note "after " & (Rnd < 1)
  Note "still " & Len(vbNullString)
  t = Zero() + Zero()
  Zero()
  Note "t " & t & " " & (Now() > 0) & " " & Len(Space(Zero() + 2))
  On Error Resume Next
  SetIt()
  Note "450 " & Err.Number
  Err.Clear
  t = SetIt()
  Note "450 " & Err.Number
  On Error GoTo 0
  Flush "empties"
End Sub

Globals
Locals
Failures
Redefine
Flush "redefine"
Empties

' The same in global code.
Dim gb, gs
Set gb = New Box
gs = "one"
ByVals gs, Change(gs)
Note "gs " & gs
gs = "one"
gb.Take gs, Change(gs)
Note "gs " & gs
gs = "one"
WScript.Echo gs, Change(gs), gs
Flush "global code"

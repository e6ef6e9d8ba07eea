' Array elements passed to procedures and members, run by the bytecode: an element goes by
' reference to a parameter declared so (and to a host member), located in its turn: its
' subscripts evaluated, the array kept while the call runs; by value otherwise, and as a value
' when the name holds no array.
Option Explicit

Dim log, ga(3), gm(2, 2), gi
Sub Note(text)
  log = log & text & ";"
End Sub
Sub Flush(title)
  WScript.Echo title & ": " & log
  log = ""
End Sub

Sub Bump(n)
  n = n + 1
End Sub
Sub Keep(ByVal n)
  n = n + 1
End Sub
Sub Two(a, b)
  Note "two " & a & " " & b
  a = a & "+"
End Sub
Function NextIndex()
  gi = gi + 1
  Note "index " & gi
  NextIndex = gi
End Function
Function Plain(v)
  Plain = v * 10
End Function

Class Counter
  Public Sub Bump(n)
    n = n + 100
  End Sub
  Public Function Show(ByVal n, m)
    m = m & "!"
    Show = n
  End Function
End Class

Sub Locals()
  Dim a(3), m(1, 1), c, i, s
  Set c = New Counter
  a(1) = 1
  Bump a(1)
  Keep a(1)
  c.Bump a(1)
  Note "a(1) " & a(1)
  m(1, 0) = 5
  Bump m(1, 0)
  c.Bump m(1, 0)
  Note "m " & m(1, 0)
  i = 0
  a(2) = "x"
  Two a(i + 2), UCase(a(2))
  Note "a(2) " & a(2)
  Note c.Show(a(2), a(3)) & " " & a(3)
  ' elements read by built-in functions, and an element of a name that is no array
  Note Len(a(2)) & " " & UCase(a(2)) & " " & Plain(a(1))
  s = "abc"
  On Error Resume Next
  Bump s(1)
  Note "no array " & Err.Number
  Err.Clear
  Bump a(7)
  Note "out of range " & Err.Number
  Err.Clear
  On Error GoTo 0
  WScript.Echo a(1), a(2), m(1, 0)
  Flush "locals"
End Sub

Sub Globals()
  Dim c
  Set c = New Counter
  gi = 0
  ga(1) = 10
  ga(2) = 20
  ' the subscripts in their turn, each element by reference
  Two ga(NextIndex()), ga(NextIndex())
  Note ga(1) & " " & ga(2)
  gm(2, 2) = 7
  c.Bump gm(2, 2)
  Bump gm(1 + 1, 2)
  Note "gm " & gm(2, 2)
  Flush "globals"
End Sub

' The array changed while an element of it is passed: the element passed is the one of the array
' as it was located.
Dim shared()
ReDim shared(2)
Sub ChangeShared(x, y)
  shared(0) = "changed"
  x = x & "#"
  Note "x " & x & " y " & y
End Sub
Function Replace0()
  shared(0) = "replaced"
  Replace0 = "r"
End Function
Sub Grow(x)
  ReDim Preserve shared(5)
  x = "grown"
End Sub
Function Wreck()
  shared(0) = 1
  Wreck = 0
End Function
Dim wrecked
Function WreckAll()
  wrecked = "w"
  WreckAll = 0
End Function

Sub Sharing()
  shared(0) = "s0"
  ChangeShared shared(0), Replace0()
  Note "shared(0) " & shared(0)
  shared(1) = "s1"
  Grow shared(1)
  Note "shared(1) " & shared(1) & " " & UBound(shared)
  shared(0) = "s0"
  Bump shared(Wreck())
  Note "wreck " & shared(0)
  Flush "sharing"
End Sub

Locals
Globals
Sharing

' In global code.
Dim k, gc
Set gc = New Counter
ga(0) = 1
For k = 1 To 3
  Bump ga(0)
  gc.Bump ga(0)
Next
WScript.Echo ga(0)
WScript.Echo ga(0), ga(NextIndex() - 3)
Flush "global code"

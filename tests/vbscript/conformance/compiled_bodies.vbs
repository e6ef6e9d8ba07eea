' Bodies as the engine compiles them: loops and exits through statements of every kind, the
' counter changed inside a For, evaluation order with calls that change their operands, array
' elements that are objects or that a subscript replaces, Select ranges, and procedures with
' parameters by reference and by value.
Option Explicit
Dim i, j, s, a(3), log

Function Note(text)
  log = log & text & " "
  Note = Len(log)
End Function

' Exit Do and Exit For from inside With and For Each bodies, which run apart.
Class Box
  Public Value
  Public Default Property Get Item(k)
    Item = "box" & k
  End Property
End Class
Dim b
Set b = New Box
s = ""
Do
  With b
    .Value = .Value + 1
    If .Value > 3 Then Exit Do
  End With
  s = s & b.Value
Loop
WScript.Echo "with exit do:", s, b.Value
s = ""
For i = 1 To 5
  For Each j In Array(10, 20, 30)
    If i = 2 And j = 20 Then Exit For
    s = s & j / 10
  Next
  With b
    If i = 3 Then Exit For
  End With
  s = s & "|"
Next
WScript.Echo "for each / with exit for:", s, i

' The counter may be changed by the body; a Long counter stays Long.
s = ""
For i = 1 To 10
  s = s & i & ","
  If i = 3 Then i = 7
Next
WScript.Echo "changed counter:", s, i
For i = CLng(1) To 2
Next
WScript.Echo "long counter:", TypeName(i), i
For i = 1 To 2 Step 0.5
Next
WScript.Echo "double step:", TypeName(i), i
For i = "3" To 1 Step "-1"
  s = i
Next
WScript.Echo "text bounds:", TypeName(s), s
For i = 5 To 1
  WScript.Echo "never"
Next
WScript.Echo "not started:", i

' Operators see their left operand as it was before the right side ran.
Dim x
Function Bump()
  x = x + 100
  Bump = 1
End Function
x = 1
WScript.Echo "left first:", x + Bump(), x
x = 1
WScript.Echo "compare first:", x < Bump(), x

' Arguments and parameters.
Sub Twice(ByRef v, ByVal w)
  v = v * 2
  w = w * 2
End Sub
Dim p, q
p = 3: q = 4
Twice p, q
WScript.Echo "byref/byval:", p, q
a(1) = 5
Twice a(1), q
WScript.Echo "byref element:", a(1)
Function Fact(n)
  If n <= 1 Then
    Fact = 1
  Else
    Fact = n * Fact(n - 1)
  End If
End Function
WScript.Echo "recursion:", Fact(10), TypeName(Fact(12)), Fact(13)
Function Sum(n)
  Dim k, t
  t = 0
  For k = 1 To n
    t = t + k
  Next
  Sum = t
  Exit Function
  Sum = -1
End Function
WScript.Echo "locals:", Sum(100)

' Elements: arrays in variables, an object's default member, a subscript that replaces the
' array, and writes into shared arrays.
Dim c, d
c = Array(1, 2, 3)
d = c
d(0) = 99
WScript.Echo "copy on write:", c(0), d(0)
Set d = b
WScript.Echo "default member:", d(7)
Function Replace1()
  c = Array("x", "y")
  Replace1 = 1
End Function
c = Array(1, 2, 3)
WScript.Echo "replaced by subscript:", c(Replace1())
c = Array(1, 2, 3)
c(Replace1()) = "z"
WScript.Echo "written after subscript:", Join(c, ",")

' Select Case: values, ranges that stop at the first failing bound, Is, Else.
log = ""
For i = 1 To 6
  Select Case i
    Case 1, Note("two?")
      s = "one"
    Case 3 To Note("upper")
      s = "range"
    Case Is > 5
      s = "big"
    Case Else
      s = "else"
  End Select
  log = log & s & ";"
Next
WScript.Echo "select:", log

' Integer arithmetic widens and falls back to the general rules.
Dim n
n = 32767
n = n + 1
WScript.Echo "widen:", TypeName(n), n
n = 2147483647
n = n + 1
WScript.Echo "to double:", TypeName(n), n
WScript.Echo "mod:", -7 Mod 3, 7 Mod -3, TypeName(5 Mod 2), 5.5 Mod 2
WScript.Echo "null:", IsNull(Null + 1), IsNull(1 < Null)
i = 0
Do Until i >= 3 Or i = -1
  i = i + 1
Loop
WScript.Echo "until:", i

' Integer For loops step their counter in place; what the body makes of the counter still counts.
For i = 1 To 3
  i = CLng(i)
Next
WScript.Echo "made Long in the body:", TypeName(i), i
For i = 32766 To 32767
Next
WScript.Echo "past the Integer range:", TypeName(i), i
Sub CountInto(c)
  For c = 10 To 30 Step 10
  Next
End Sub
Dim counted
CountInto counted
WScript.Echo "by-reference counter:", TypeName(counted), counted
Sub CountGlobal()
  For counted = 3 To 1 Step -1
  Next
End Sub
CountGlobal
WScript.Echo "global counter in a procedure:", TypeName(counted), counted

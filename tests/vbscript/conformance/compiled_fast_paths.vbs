' The compiled code's fast ways and where they give way to the general rules: elements of
' one-dimensional arrays read and written with every kind of subscript and container, integer
' arithmetic that widens past its subtype, stores into global variables of every kind, and the
' release of objects a statement's temporaries and operands held.
Dim a(4), b, i, d, s, x, log

Function Describe(v)
  Describe = TypeName(v) & " " & v
End Function

Sub Report(label)
  If Err.Number <> 0 Then
    WScript.Echo label & ": error " & Err.Number
    Err.Clear
  Else
    WScript.Echo label & ": no error"
  End If
End Sub

' Subscripts of every subtype: Integer, Long, Double (rounded to even), text, Boolean, Empty.
For i = 0 To 4
  a(i) = i * 10
Next
d = 2.5
s = "3"
WScript.Echo "reads:", a(1), a(CLng(2)), a(d), a(3.5), a(s), a(Empty), a((4))
d = 1.5
a(d) = "two"
a(s) = True
a(CLng(4)) = 4.25
WScript.Echo "writes:", a(2), a(3), a(4), Describe(a(4))

' Out of range, too few subscripts, and containers that are no array.
On Error Resume Next
x = a(5)
Report "read past the end"
x = a(-1)
Report "read before the start"
a(5) = 1
Report "write past the end"
x = a(True)
Report "read at True (-1)"
Dim grid(2, 2)
x = grid(1)
Report "one subscript of two dimensions"
grid(1) = 1
Report "write one subscript of two dimensions"
b = "text"
x = b(1)
Report "text as a container"
b(1) = 2
Report "write into text"
x = a(Null)
Report "Null subscript"
On Error GoTo 0

' A subscript that is a variable plus or minus an Integer literal, with every subtype on the
' left: Integer, Long, Double (the sum rounded to even), text, Empty, and past either end.
Dim k2
k2 = 1
WScript.Echo "offset reads:", a(k2 + 1), a(k2 - 1), a(CLng(k2) + 3), a((k2) + (2)), a(k2 + -1)
d = 1.5
s = "2"
WScript.Echo "offset subtypes:", a(d + 1), a(s + 1), a(s - 2), a(Empty + 4)
a(k2 + 1) = "plus"
a(k2 - 1) = "minus"
a(d + 2) = "rounded"
a(s + 2) = "text"
WScript.Echo "offset writes:", a(0), a(2), a(4)
On Error Resume Next
x = a(k2 + 4)
Report "offset read past the end"
x = a(k2 - 2)
Report "offset read before the start"
a(k2 + 100) = 1
Report "offset write past the end"
b = "text"
x = b(k2 + 1)
Report "offset into text"
b(k2 + 1) = 1
Report "offset write into text"
x = a(s & "x" + 1)
Report "offset of a sum that is no number"
On Error GoTo 0
log = ""
x = a(One + 1)
a(One + 1) = "by a function"
WScript.Echo "function plus a literal:", x, a(2), log
b = a
b(k2 + 1) = "copy"
WScript.Echo "offset write into a copy:", a(2), b(2)

' Arrays are values: writing an element of a copy leaves the original alone, in either order.
b = a
b(0) = "copy"
a(1) = "original"
WScript.Echo "copies:", a(0), b(0), a(1), b(1)

' Arrays in locals and in parameters, by reference and by value.
Function LocalSum()
  Dim t(3), k, sum
  For k = 0 To 3
    t(k) = k + 1
  Next
  sum = 0
  For k = 0 To 3
    sum = sum + t(k)
  Next
  LocalSum = sum
End Function
Sub Fill(ByRef arr, n)
  Dim k
  For k = 0 To UBound(arr)
    arr(k) = n + k
  Next
End Sub
Sub FillCopy(ByVal arr)
  arr(0) = "changed"
  WScript.Echo "by value inside:", arr(0)
End Sub
WScript.Echo "local array:", LocalSum()
Fill a, 100
WScript.Echo "by reference:", a(0), a(4)
FillCopy a
WScript.Echo "by value outside:", a(0)

' A subscript that is a function: called once, after the container is known.
Function One()
  log = log & "one "
  One = 1
End Function
log = ""
x = a(One)
a(One) = "set"
WScript.Echo "function subscript:", x, a(1), log

' Elements that are objects: read as their default value, released when the statement ends.
Class Tracked
  Public Name
  Public Default Property Get Value
    Value = "value of " & Name
  End Property
  Private Sub Class_Terminate
    WScript.Echo "terminate", Name
  End Sub
End Class
Set a(2) = New Tracked
a(2).Name = "first"
x = a(2)
WScript.Echo "object element:", x
If a(2) = "value of first" Then WScript.Echo "compared by its value"
a(3) = a(2)
WScript.Echo "stored its value:", Describe(a(3))
Set a(2) = Nothing
WScript.Echo "after release"

' Integer arithmetic widens past Integer to Long and past Long to Double.
Dim m, n
m = 32767
n = 1
WScript.Echo Describe(m + n), Describe(-m - n - n), Describe(m * n), Describe(181 * 182)
WScript.Echo Describe(255 * 128), Describe(-32768 + 0), Describe(n - m - n - n)
m = CLng(2147483647)
WScript.Echo Describe(m + n), Describe(-m - n), Describe(-m - n - n), Describe(m * 2)
WScript.Echo Describe(1 + CLng(1)), Describe(CLng(40000) - 39999), Describe(46341 * 46341)
WScript.Echo Describe(-7 Mod 3), Describe(7 Mod -3), Describe(CLng(100000) Mod 7)
WScript.Echo Describe(32767 Mod 2), Describe(CByte(200) + CByte(100)), Describe(n Mod m)
On Error Resume Next
x = 5 Mod 0
Report "Mod by zero"
x = m Mod 0
Report "Long Mod by zero"
On Error GoTo 0

' An Integer literal on the right of + - * Mod and of comparisons, with every kind of left side.
m = 32767
WScript.Echo "literal right:", Describe(m + 1), Describe(m - 1), Describe(-m - 2), Describe(m * 2)
WScript.Echo Describe(m Mod 10), Describe(-m Mod 10), Describe(CLng(2147483647) + 1), _
  Describe(CLng(-2147483647) - 2), Describe(CLng(70000) * 30000), Describe(CLng(7) Mod 4)
WScript.Echo Describe(Empty + 1), Describe(True + 1), Describe(CByte(255) + 1), _
  Describe(1.5 + 1), Describe("41" + 1), Describe(CCur(2) * 3), Describe(Null - 1) & "|"
WScript.Echo Describe(m > 32766), Describe(m = 32767), Describe(CLng(5) <= 4), _
  Describe("10" > 9), Describe(Empty < 1), Describe(1.5 >= 1), Describe(Null = 1) & "|"
s = "10"
If s > 9 Then WScript.Echo "text above the literal" Else WScript.Echo "text not above"
If Null < 1 Then WScript.Echo "Null below" Else WScript.Echo "Null not below"
If m >= 32767 Then WScript.Echo "Integer at the literal"
If CLng(m) + 1 > 32767 Then WScript.Echo "Long above the literal"
On Error Resume Next
x = m Mod 0
Report "Mod by a zero literal"
x = "text" + 1
Report "text plus a literal"
If "text" > 1 Then WScript.Echo "then"
Report "text compared with a literal"
On Error GoTo 0

' Calls of compiled functions with simple arguments: variables go by reference where the
' parameter is, computed values and constants as copies; the depth is counted and given back.
Dim g, h
Const Five = 5
Function Bump(ByRef v)
  v = v + 1
  Bump = v * 2
End Function
Function ByCopy(ByVal v)
  v = v + 1
  ByCopy = v
End Function
Function Both(ByRef p, ByRef q)
  p = p + 1
  q = q + 10
  Both = p + q
End Function
Function InLocal()
  Dim k
  k = 1
  InLocal = Bump(k) & "," & k
End Function
g = 1
h = Bump(g)
WScript.Echo "by reference:", h, g, Bump(g + 1), g, Bump(Five), Five, InLocal()
h = ByCopy(g)
WScript.Echo "by value:", h, g
g = 1
h = Both(g, g)
WScript.Echo "the same variable twice:", h, g
Function Down(n)
  If n > 0 Then
    Down = Down(n - 1) + 1
  Else
    Down = 0
  End If
End Function
On Error Resume Next
h = Bump(1, 2)
Report "too many arguments"
h = Down(100000)
Report "recursion past the limit"
On Error GoTo 0
WScript.Echo "depth given back:", Down(50)

' Results stored into variables that held text, objects or arrays before.
Function Overwrites()
  Dim t, u, v
  t = "text"
  t = n + 1
  u = Array(1, 2)
  u = n * 3
  v = "text"
  v = (n < 2)
  Overwrites = Describe(t) & ", " & Describe(u) & ", " & Describe(v)
End Function
WScript.Echo "locals overwritten:", Overwrites()
s = "text"
s = n + 41
WScript.Echo "global overwritten:", Describe(s)
s = Array(1)
s = 7
b = 1.5
b = "now text"
WScript.Echo "globals changing subtype:", Describe(s), Describe(b)
Const Limit = 10
s = Limit
WScript.Echo "from a constant:", Describe(s)

' A value read from an object, or from a function's result, keeps no reference to it: the
' object goes when its last variable lets it go.
Set x = New Tracked
x.Name = "second"
s = x
WScript.Echo "global from an object:", s
Set x = Nothing
WScript.Echo "released"
Dim keep
Function Make()
  Set keep = New Tracked
  keep.Name = "made"
  Set Make = keep
End Function
s = Make
WScript.Echo "from a function:", s
x = Make & "!"
WScript.Echo "joined:", x
Set keep = Nothing
WScript.Echo "done"

' Fixed and dynamic arrays, ReDim [Preserve], Erase, arrays as values, several dimensions.
Dim a(3), b(), m(2, 3)
a(0) = "x": a(3) = "y"
WScript.Echo UBound(a), LBound(a), a(0) & a(3), IsEmpty(a(1))
ReDim b(2)
b(2) = 7
ReDim Preserve b(4)
WScript.Echo UBound(b), b(2), IsEmpty(b(4))
ReDim b(1)
WScript.Echo UBound(b), IsEmpty(b(1))
m(2, 3) = "corner"
WScript.Echo UBound(m, 1), UBound(m, 2), m(2, 3)
Dim c: c = a
c(0) = "changed"
WScript.Echo a(0), c(0)
Erase a
WScript.Echo UBound(a), IsEmpty(a(3))
Erase b
On Error Resume Next
WScript.Echo UBound(b)
WScript.Echo Err.Number
Err.Clear
a(4) = 1
WScript.Echo Err.Number, Err.Description
Err.Clear
ReDim a(5)
WScript.Echo Err.Number, Err.Description
Err.Clear
On Error GoTo 0
Dim r: ReDim r(1, 1)
r(1, 1) = 4
ReDim Preserve r(1, 3)
WScript.Echo r(1, 1), UBound(r, 2)
Dim v: v = Array(Array(1, 2), Array(3, 4))
WScript.Echo v(1)(0)
a(1.5) = "rounded"
WScript.Echo a(2)
Sub Fill(arr)
  arr(0) = "filled"
End Sub
Fill a
WScript.Echo a(0)
Dim e: e = Array()
WScript.Echo UBound(e)

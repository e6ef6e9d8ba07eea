' Several elements of one array passed by reference in one call: each parameter writes its own
' element, the same element twice keeps the last write, whatever holds the array (a variable, a
' dynamic array, a class's field).
Option Explicit

Dim a(3), d(), i, other
Sub Two(x, y)
  x = 1
  y = 2
End Sub
Sub Three(x, y, z)
  x = x & "x"
  y = y & "y"
  z = z & "z"
End Sub
Sub Show(title, arr)
  Dim s, k
  For k = LBound(arr) To UBound(arr)
    s = s & "[" & arr(k) & "]"
  Next
  WScript.Echo title & ": " & s
End Sub

Two a(1), a(2)
Show "two elements", a
Erase a
Two a(1), a(1)
Show "same element twice", a
Erase a
Three a(0), a(3), a(0)
Show "three, one twice", a

ReDim d(4)
Two d(3), d(4)
Show "dynamic", d
ReDim d(2)
For i = 0 To 2
  Two d(i), d(2 - i)
Next
Show "in a loop", d

' Copying the array leaves the copy alone.
Erase a
other = a
Two a(0), a(1)
Show "original", a
Show "copy", other

Class Holder
  Public items(2)
  Public Sub Fill()
    Two items(0), items(2)
  End Sub
End Class
Dim h
Set h = New Holder
h.Fill
Show "class field", h.items

' A two-dimensional array.
Dim m(1, 1)
Two m(0, 1), m(1, 0)
WScript.Echo "matrix: [" & m(0, 0) & "][" & m(0, 1) & "][" & m(1, 0) & "][" & m(1, 1) & "]"

' The procedure resizes or empties the array whose elements it holds: the elements it holds
' stay those of the array as it was, which the variable no longer holds.
Sub Resize(x, y)
  ReDim d(1)
  x = "x"
  y = "y"
End Sub
Sub Grow(x, y)
  ReDim Preserve d(40)
  x = "x"
  y = "y"
End Sub
Sub Wipe(x, y)
  Erase d
  x = "x"
  y = "y"
End Sub
Sub WipeFixed(x, y)
  Erase a
  x = "x"
  y = "y"
End Sub
ReDim d(3)
d(0) = "kept"
Resize d(0), d(3)
Show "resized", d
ReDim d(3)
d(1) = "kept"
Grow d(1), d(2)
WScript.Echo "grown: " & UBound(d) & " [" & d(1) & "][" & d(2) & "]"
ReDim d(3)
Wipe d(1), d(1)
WScript.Echo "erased: " & IsArray(d)
a(1) = "kept"
WipeFixed a(1), a(2)
Show "fixed erased", a

' An element of an element assigned (a(i)(j) = v), run by the bytecode: the value first, then
' the inner element located (its subscripts in their turn, the array made unshared), then the
' value read for its default value, then the outer subscripts and the element written. An inner
' element that holds an object is evaluated again and its default member assigned; a variable
' holding no array gives its value, whose element assigned is lost.
Option Explicit

Dim log, a(2), d, i, o, k
Sub Note(text)
  log = log & text & ";"
End Sub
Sub Flush(title)
  WScript.Echo title & ": " & log
  log = ""
End Sub
Function Idx(n)
  Note "idx " & n
  Idx = n
End Function
Function Val(v)
  Note "val " & v
  Val = v
End Function

Class Defaulted
  Public Default Property Get Value
    Note "default"
    Value = "dv"
  End Property
End Class

Class Box
  Public Default Property Get Item(key)
    Note "get " & key
    Item = ""
  End Property
  Public Property Let Item(key, v)
    Note "let " & key & "=" & v
  End Property
End Class

a(0) = Array(1, 2, 3)
a(1) = Array("x", "y")
a(Idx(0))(Idx(1)) = Val("b")
a(1)(0) = "z"
Note Join(a(0), ",") & " " & Join(a(1), ",")
Flush "globals"

Set o = New Defaulted
a(Idx(1))(Idx(1)) = o
Note Join(a(1), ",")
Flush "default value after the inner subscripts"

Dim copy
copy = a
a(0)(0) = "changed"
Note a(0)(0) & " " & copy(0)(0)
Flush "a copy stays"

Sub Locals()
  Dim m(1), t
  m(0) = Array(0, 0)
  m(0)(1) = "local"
  Note m(0)(1)
  ReDim t(0)
  t(0) = Array(5)
  t(0)(0) = t(0)(0) + 1
  Note t(0)(0)
End Sub
Locals
Flush "locals"

Class Holder
  Public rows(1)
  Public Sub Fill()
    rows(0) = Array(1, 2)
    rows(0)(1) = "field"
  End Sub
End Class
Dim h
Set h = New Holder
h.Fill
Note h.rows(0)(1)
Flush "field"

' The inner element an object: evaluated again, then its default member assigned.
Set a(2) = New Box
a(Idx(2))(Val("k")) = Val(7)
Flush "object element"

' A variable holding a dictionary: the element read, then the value assigned to a copy.
Set d = CreateObject("Scripting.Dictionary")
d("arr") = Array(1, 2)
d(Val("arr"))(Idx(0)) = Val(9)
Note d("arr")(0)
Flush "dictionary of arrays"

' Set of an object into an element of an element.
a(0) = Array(Empty, Empty)
Set a(0)(1) = o
Note TypeName(a(0)(1))
Flush "set"

' The outer subscripts change the array: the element written lies in the array located.
Function Meddle()
  a(1) = "gone"
  Meddle = 0
End Function
a(1) = Array(1, 2)
a(1)(Meddle()) = "kept"
Note TypeName(a(1))
Flush "outer subscripts that change the variable"

' Errors, with and without On Error Resume Next.
On Error Resume Next
a(0) = 5
a(0)(Idx(0)) = 1
Note Err.Number & " " & Err.Description
Err.Clear
a(0) = Array(1)
a(0)(Idx(5)) = 1
Note Err.Number & " " & Err.Description
Err.Clear
a(Idx(9))(0) = 1
Note Err.Number & " " & Err.Description
Err.Clear
Set a(2) = Nothing
a(2)(Idx(0)) = 1
Note Err.Number & " " & Err.Description
Err.Clear
k = 3
k(0)(0) = 1
Note Err.Number & " " & Err.Description
Err.Clear
a(0) = Array(1)
Set a(0)(0) = 5
Note Err.Number & " " & Err.Description
On Error GoTo 0
Flush "errors"
a(0) = 5
a(0)(0) = 1

' Elements assigned by the bytecode: Set a(i) = object into arrays and into a default member,
' the value first (an object for Set), then the subscripts; a target that holds neither an array
' nor an object fails before its subscripts are evaluated.
Option Explicit

Dim log
Sub Note(text)
  log = log & text & ";"
End Sub
Function Index(n)
  Note "index " & n
  Index = n
End Function
Function Thing(name)
  Note "thing " & name
  Set Thing = New Named
  Thing.Name = name
End Function

Class Named
  Public Name
End Class

' Elements of the fields of a class, assigned in its methods.
Class Holder
  Private items(2)
  Public objs, blank
  Public Sub Fill()
    Dim i
    For i = 0 To 2
      items(i) = i * 2
    Next
    items(Index(1)) = "x"
    objs = Array(0, 0)
    Set objs(Index(0)) = Thing("held")
    On Error Resume Next
    blank(Index(8)) = 1
    Note "field empty " & Err.Number
    On Error GoTo 0
  End Sub
  Public Function Show()
    Show = Join(items, ",") & " " & objs(0).Name
  End Function
End Class

Sub Run()
  Dim a(2), m(1, 1), d, e, n, i
  Set a(Index(1)) = Thing("one")
  Set m(Index(1), Index(0)) = Thing("two")
  Note a(1).Name & " " & m(1, 0).Name & " " & TypeName(a(0))
  Set d = CreateObject("Scripting.Dictionary")
  Set d(Index("k")) = Thing("three")
  Note d("k").Name
  For i = 0 To 2
    Set a(i) = Nothing
  Next
  Note TypeName(a(2))
  On Error Resume Next
  Set a(Index(2)) = 5
  Note "not an object " & Err.Number
  Err.Clear
  Set e(Index(3)) = Thing("four")
  Note "empty " & Err.Number
  Err.Clear
  e(Index(4), 1) = 1
  Note "let empty " & Err.Number
  Err.Clear
  Set n = Nothing
  n(Index(5)) = 1
  Note "nothing " & Err.Number
  Err.Clear
  Set a(Index(9)) = Thing("five")
  Note "out of range " & Err.Number
  Err.Clear
  On Error GoTo 0
  a(Index(0) + 1) = Index(7)
  Note a(1)
  Set n = New Holder
  n.Fill
  Note n.Show()
  WScript.Echo log
  log = ""
End Sub

Run
Dim g(1)
Set g(Index(1)) = Thing("global")
Note g(1).Name
WScript.Echo log

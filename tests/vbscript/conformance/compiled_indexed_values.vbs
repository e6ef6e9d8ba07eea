' Values computed then indexed, run by the bytecode (a(i)(j), F()(k), d.Keys()(0)): the value
' first, then an array's element at the subscripts, a host object's default member called with
' them, or the general rules for anything else (a script object's default member, errors), the
' value released once indexed.
Option Explicit

Dim log
Sub Note(text)
  log = log & text & ";"
End Sub
Function Index(n)
  Note "index " & n
  Index = n
End Function
Function Row(n)
  Note "row " & n
  Row = Array(n, n * 10, n * 100)
End Function

Class Lookup
  Public Name
  Public Default Function Item(k)
    Item = Name & "[" & k & "]"
  End Function
  Private Sub Class_Terminate()
    Note "end " & Name
  End Sub
End Class

Function MakeLookup(name)
  Set MakeLookup = New Lookup
  MakeLookup.Name = name
End Function

Sub Run()
  Dim grid(1), d, o, s
  grid(0) = Array("a", "b")
  grid(1) = Array(Array(1, 2), Array(3, 4))
  Note grid(0)(Index(1)) & " " & grid(1)(Index(1))(Index(0))
  Note Row(Index(2))(Index(2))
  Set d = CreateObject("Scripting.Dictionary")
  d.Add "x", "first"
  d.Add "y", "second"
  Note d.Keys()(Index(1)) & " " & d.Items()(0)
  Set grid(0) = d
  Note grid(0)(UCase(Chr(120)) & "")
  Note grid(0)(LCase("Y"))
  Note MakeLookup("made")(Index(3)) & " after"
  Set o = MakeLookup("kept")
  grid(1) = Array(o)
  Note grid(1)(0)(Index(4))
  On Error Resume Next
  s = "text"
  grid(1) = Array(s)
  Note grid(1)(0)(Index(5))
  Note "string " & Err.Number
  Err.Clear
  Note grid(0)(Index(6), Index(7))
  Note "count " & Err.Number
  Err.Clear
  Note Row(1)(Index(9))
  Note "range " & Err.Number
  Err.Clear
  On Error GoTo 0
  WScript.Echo log
  log = ""
End Sub

Run
Dim gg
gg = Array(Array("p", "q"))
WScript.Echo gg(0)(Index(1)), log

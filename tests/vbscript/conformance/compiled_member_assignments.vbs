' Members assigned with arguments by the bytecode (o.Item(k) = v, Set o.Item(k) = obj): the
' value first, then the object, the member looked up, the arguments in their turn (by value to a
' host member; by reference where a script setter declares it), then the member assigned.
Option Explicit

Dim log
Sub Note(text)
  log = log & text & ";"
End Sub
Function Key(k)
  Note "key " & k
  Key = k
End Function
Function Value(v)
  Note "value " & v
  Value = v
End Function

Class Grid
  Private cells
  Public items(2)
  Private Sub Class_Initialize()
    Set cells = CreateObject("Scripting.Dictionary")
  End Sub
  Public Property Let Cell(ByVal row, col, v)
    Note "let " & row & "," & col & "=" & v
    cells(row & "," & col) = v
    col = col & "'"
  End Property
  Public Property Get Cell(ByVal row, col)
    Cell = cells(row & "," & col)
  End Property
  Public Property Set Thing(k, o)
    Note "set " & k & " " & TypeName(o)
  End Property
  Public Sub Method(a, b)
    Note "method " & a & " " & b
  End Sub
End Class

Sub Run()
  Dim d, g, c, r, o
  Set d = CreateObject("Scripting.Dictionary")
  d.Item(Key("a")) = Value(1)
  d.Item("b" & Key("")) = Value(2)
  Note d("a") & " " & d("b")
  Set g = New Grid
  c = "c"
  r = 1
  g.Cell(r, c) = Value("x")
  Note "col " & c & " " & g.Cell(1, "c'")
  g.Cell(Key(2), Key("d")) = Value("y")
  Note g.Cell(2, "d")
  Set g.Thing(Key("t")) = d
  g.Method(Key(1)) = Value(2)
  g.items(Key(1)) = Value("field")
  Note g.items(1)
  Set o = g
  With o
    .Cell(Key(3), "w") = "with"
    Note .Cell(3, "w")
  End With
  On Error Resume Next
  g.Missing(Key("m")) = Value("m")
  Note "missing " & Err.Number
  Err.Clear
  Set g.Cell(Key(4), "z") = d
  Note "no set " & Err.Number
  Err.Clear
  d.Nothing(Key("n")) = 1
  Note "host missing " & Err.Number
  Err.Clear
  Set r = Nothing
  r.Item(Key("r")) = 1
  Note "nothing " & Err.Number
  Err.Clear
  On Error GoTo 0
  WScript.Echo log
  log = ""
End Sub

Run
Dim gd
Set gd = CreateObject("Scripting.Dictionary")
gd.Item(Key("g")) = Value("global")
WScript.Echo gd("g"), log

' Property Get/Let/Set with arguments, Set on object properties, ByRef into class methods.
Class Grid
  Private cells(2, 2)
  Private owner_
  Public Property Get Cell(r, c)
    Cell = cells(r, c)
  End Property
  Public Property Let Cell(r, c, value)
    cells(r, c) = value
  End Property
  Public Property Get Owner
    Set Owner = owner_
  End Property
  Public Property Set Owner(o)
    Set owner_ = o
  End Property
  Public Sub Bump(ByRef n, ByVal m)
    n = n + 1
    m = m + 1
  End Sub
End Class
Class Person
  Public Name
End Class
Dim g: Set g = New Grid
g.Cell(1, 2) = "x"
WScript.Echo g.Cell(1, 2), IsEmpty(g.Cell(0, 0))
Dim p: Set p = New Person
p.Name = "Ann"
Set g.Owner = p
WScript.Echo g.Owner.Name
Dim a, b: a = 1: b = 1
g.Bump a, b
WScript.Echo a, b
Const Limit = 3
Sub UsesConst()
  Const Inner = "inner"
  WScript.Echo Limit, Inner
End Sub
UsesConst
With g
  .Cell(0, 0) = "w"
  With p
    .Name = "Bob"
  End With
  WScript.Echo .Cell(0, 0), .Owner.Name
End With
Private hidden: hidden = "private global"
Public shown: shown = "public global"
WScript.Echo hidden, shown

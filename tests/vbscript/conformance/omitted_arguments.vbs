' Arguments left out between commas: built-ins use their defaults, script procedures receive
' the "missing" value (an Error subtype) that they may test, pass on or overwrite.
MsgBox "title only", , "T"
MsgBox "buttons only", vbOKCancel
MsgBox "neither", ,
Dim r
r = MsgBox("in an expression", , "T2")
WScript.Echo r
WScript.Echo Mid("hello", 2, )
WScript.Echo Replace("aaaa", "a", "b", , 2)
WScript.Echo Join(Split("a b c", , 2), "|")
WScript.Echo InStr(1, "abc", "C", )

Sub Show(a, b, c)
  WScript.Echo "a=" & a & " c=" & c & " VarType(b)=" & VarType(b) & " " & TypeName(b)
  WScript.Echo IsEmpty(b), IsNull(b), IsObject(b)
  ' Passed on, the missing value still means "use the default".
  MsgBox "passed on", b, "T3"
  On Error Resume Next
  Dim x
  x = b + 1
  WScript.Echo "arithmetic:", Err.Number
  Err.Clear
  On Error GoTo 0
  b = "now set"
  WScript.Echo b
End Sub

Function Pick(a, b, c)
  If VarType(b) = vbError Then
    Pick = a + c
  Else
    Pick = b
  End If
End Function

Show 1, , 3
Call Show("x", , "z")
WScript.Echo Pick(1, , 3), Pick(1, 7, 3)
Dim v: v = 5
Show v, , v
WScript.Echo v

Class Box
  Public Function Area(w, h)
    If VarType(h) = vbError Then h = w
    Area = w * h
  End Function
End Class
Dim b: Set b = New Box
WScript.Echo b.Area(3, ), b.Area(3, 4)

On Error Resume Next
Show 1, , 3, 
WScript.Echo "too many:", Err.Number

' The default member of an object in a variable called with arguments the code evaluates
' (d(CStr(k)), items(i + 1)), run by the bytecode; what holds no object or array takes the
' general way, with its errors.
Option Explicit

Dim log
Sub Note(text)
  log = log & text & ";"
End Sub

Class Table
  Private items
  Private Sub Class_Initialize()
    Set items = CreateObject("Scripting.Dictionary")
  End Sub
  Public Default Property Get Item(k)
    Item = "table " & k
  End Property
End Class

' A default member that changes its argument: through the object interface, written back.
Class Bumper
  Public Default Function Bump(n)
    n = n + 1
    Bump = "bumped " & n
  End Function
End Class

Class Plain
  Public Name
End Class

Sub Shout(a, b)
  Note "shout " & a & " " & b
End Sub

Function Key(n)
  Note "key " & n
  Key = "k" & n
End Function

Sub Run()
  Dim d, i, t, s, a(2), e
  Set d = CreateObject("Scripting.Dictionary")
  For i = 1 To 3
    d.Add Key(i), i * 10
  Next
  For i = 1 To 3
    Note d(Key(i)) & " " & d("k" & i)
  Next
  a(1) = "k2"
  Note d(a(1)) & " " & d(UCase(a(1)))
  d(Key(1)) = "changed"
  Note d.Item("k1")
  ' a script object's default member, and an array, read with arguments that run code
  Set t = New Table
  Note t(Key(9)) & " " & t(1 + 1)
  Dim b, v, p
  Set b = New Bumper
  v = 1
  a(0) = 10
  Note b(v) & " " & v & " " & b(a(0)) & " " & a(0) & " " & b(Len(Key(7)))
  Set p = New Plain
  ' as statements: a procedure reference's default member, an array's element
  Dim ref
  Set ref = GetRef("Shout")
  Call ref(Key(10), 7)
  ref Key(11), 8
  On Error Resume Next
  Call a(Key(1))
  Note "element " & Err.Number
  Err.Clear
  Call a(Key(12))
  Note "element " & Err.Number
  Err.Clear
  Call s(Key(13))
  Note "text " & Err.Number
  Err.Clear
  Note p(Key(8))
  Note "no default " & Err.Number
  Err.Clear
  On Error GoTo 0
  a(2) = "two"
  Note a(Len(Key(0)) - 1)
  ' no object: the errors of the general way
  On Error Resume Next
  s = "abc"
  Note s(Key(5))
  Note "string " & Err.Number
  Err.Clear
  Note e(Key(6))
  Note "empty " & Err.Number
  Err.Clear
  Set e = Nothing
  Note e(Key(7))
  Note "nothing " & Err.Number
  Err.Clear
  On Error GoTo 0
  WScript.Echo log
End Sub

Run
Dim g, k
Set g = CreateObject("Scripting.Dictionary")
g.Add "a", 1
k = "A"
WScript.Echo g(LCase(k)), g.Count

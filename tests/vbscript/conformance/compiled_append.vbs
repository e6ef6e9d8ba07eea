' x = x & a & b run by the bytecode: appended in place while x holds a string and the pieces
' cannot change it, each piece made text in its turn (Null adds nothing, an object gives its
' default value); by the & operator otherwise (x no string, a piece that calls a procedure).
Option Explicit

Dim log
Sub Note(text)
  log = log & text & ";"
End Sub

Class Named
  Public Name
  Public Default Property Get Value()
    Note "value of " & Name
    Value = Name
  End Property
End Class

' A default value that changes the string appended to.
Class Changer
  Public Default Property Get Value()
    g = "changed"
    Value = "!"
  End Property
End Class

Dim g

Function Touch()
  g = "touched"
  Touch = "t"
End Function

Sub AppendTo(ByRef target, piece)
  target = target & "<" & piece & ">"
End Sub

Sub Locals()
  Dim s, n, o, p, i, arr(1), e
  s = "a"
  s = s & "b" & 1 & True & Null & Empty & 2.5
  WScript.Echo s
  Set o = New Named
  o.Name = "first"
  Set p = New Named
  p.Name = "second"
  s = "<"
  s = s & o & "," & p & (i + 1)
  WScript.Echo s & " " & log
  log = ""
  ' not a string yet: the & operator makes one
  n = 5
  n = n & "x" & n
  WScript.Echo n, TypeName(n)
  e = Empty
  e = e & 1 & 2
  WScript.Echo e, TypeName(e)
  n = Null
  n = n & Null
  WScript.Echo TypeName(n)
  n = Null
  n = n & "z"
  WScript.Echo n
  ' a piece that fails leaves the string as it was
  s = "keep"
  On Error Resume Next
  s = s & "x" & (1 / 0)
  WScript.Echo Err.Number, s
  Err.Clear
  s = s & "y" & arr
  WScript.Echo Err.Number, s
  Err.Clear
  On Error GoTo 0
  ' appending to a parameter by reference, in a loop
  s = ""
  For i = 1 To 3
    AppendTo s, i
  Next
  WScript.Echo s
  For i = 1 To 3
    s = s & Chr(64 + i) & Len(s)
  Next
  WScript.Echo s
End Sub

Sub Globals()
  Dim c
  g = "g"
  g = g & Touch() & "|"
  WScript.Echo g
  g = "g"
  g = g & UCase("u") & Len(g)
  WScript.Echo g
  Set c = New Changer
  g = "g"
  g = g & c & "."
  WScript.Echo g
  g = 1
  g = g & 2
  WScript.Echo g, TypeName(g)
End Sub

Locals
Globals

' In global code.
Dim t, k
t = ""
For k = 1 To 5
  t = t & k & ","
Next
WScript.Echo t
t = t & Touch() & g
WScript.Echo t

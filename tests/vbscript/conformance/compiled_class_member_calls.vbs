' Members of a class called by their bare names inside it, run by the bytecode: methods and
' properties with arguments (by reference where declared so), as statements and values, a
' getter without parameters given arguments (which index its value), recursion, and the errors
' of a wrong count of arguments.
Option Explicit

Dim log
Sub Note(text)
  log = log & text & ";"
End Sub
Function Arg(v)
  Note "arg " & v
  Arg = v
End Function

Class Counter
  Private total
  Private parts

  Private Sub Class_Initialize()
    total = 0
    parts = Array("a", "b", "c")
  End Sub

  Private Sub Add(ByRef n, ByVal by)
    total = total + by
    n = n + 1
  End Sub

  Public Function Twice(x)
    Twice = x * 2
  End Function

  Public Property Get Part(i)
    Part = parts(i)
  End Property

  Public Property Get AllParts()
    AllParts = parts
  End Property

  Private Sub Reset()
    Note "reset"
    total = 0
  End Sub

  Public Function Fact(n)
    If n <= 1 Then
      Fact = 1
    Else
      Fact = n * Fact(n - 1)
    End If
  End Function

  Public Sub Run()
    Dim k, a(1)
    k = 10
    Add k, Arg(5)
    Add k, Twice(Arg(2))
    Note "k " & k & " total " & total
    a(1) = 1
    Add a(1), 1
    Note "a(1) " & a(1)
    Note Part(Arg(1)) & Twice(Part(2) = "c") & AllParts(0)
    Note "fact " & Fact(Arg(5))
    Reset
    Reset()
    Note "total " & total
    On Error Resume Next
    Add k
    Note "count " & Err.Number
    Err.Clear
    Note Twice(Arg(1), Arg(2))
    Note "count " & Err.Number
    Err.Clear
    On Error GoTo 0
  End Sub
End Class

' Fields read with arguments from outside: an array field's element, an object field's default
' member, and the error of a field holding neither.
Class Store
  Public items, table, label
  Private Sub Class_Initialize()
    items = Array("x", "y", "z")
    Set table = CreateObject("Scripting.Dictionary")
    table.Add "k", "value of k"
    label = "text"
  End Sub
End Class

Sub Fields()
  Dim s, i
  Set s = New Store
  i = 0
  Note s.items(Arg(1)) & s.items(i + 2) & " " & s.table(Arg("k"))
  On Error Resume Next
  Note s.label(Arg(1))
  Note "label " & Err.Number
  Err.Clear
  Note s.items(Arg(7))
  Note "range " & Err.Number
  Err.Clear
  On Error GoTo 0
End Sub

Dim c
Set c = New Counter
c.Run
Fields
WScript.Echo log

' Elements of arrays held in global variables, read and written at global subscripts, and For
' loops counting in global variables: in place while the variable holds what the fast way needs,
' the general rules (and their errors) otherwise.
Dim a(5), b, c, i, j, t, d, s, log, total

Class Valued
  Public Default Property Get Value
    log = log & "get;"
    Value = 9
  End Property
End Class

For i = 0 To 5
  a(i) = i * i
Next
For i = 0 To 4
  If a(i) < a(i + 1) Then
    t = a(i): a(i) = a(i + 1): a(i + 1) = t
  End If
Next
WScript.Echo Join(a, ",")

' An array another variable shares is copied before an element changes.
b = a
For i = 0 To 5
  a(i) = -i
Next
WScript.Echo Join(a, ","), "|", Join(b, ",")

' An object stored into an element gives its default value; Set stores the object.
log = ""
a(2) = New Valued
WScript.Echo a(2), TypeName(a(2)), log
Set a(3) = New Valued
WScript.Echo TypeName(a(3))

' The subscript out of range, and text and Double subscripts.
On Error Resume Next
i = 6
t = a(i)
WScript.Echo "read past the end:", Err.Number
Err.Clear
a(i) = 1
WScript.Echo "written past the end:", Err.Number
Err.Clear
i = "1"
WScript.Echo "text subscript:", a(i), a(i + 1)
i = 1.6
WScript.Echo "Double subscript:", a(i)
On Error GoTo 0

' A container that is no array: a Dictionary by its default member, a text (error 13).
Set d = CreateObject("Scripting.Dictionary")
For i = 1 To 3
  d(i) = i * 10
Next
total = 0
For i = 1 To 3
  total = total + d(i)
Next
WScript.Echo "dictionary:", total, d.Count
s = "text"
On Error Resume Next
t = s(1)
WScript.Echo "text container:", Err.Number
Err.Clear
On Error GoTo 0

' A container given a new size inside the loop, and one that stops being an array.
ReDim c(3)
For i = 0 To 3
  c(i) = i
  If i = 1 Then ReDim Preserve c(5)
Next
WScript.Echo UBound(c), Join(c, ",")
On Error Resume Next
For i = 0 To 3
  c(i) = i + 100
  If i = 1 Then c = "gone"
Next
WScript.Echo "no longer an array:", Err.Number, c
Err.Clear
On Error GoTo 0

' The counter changed inside the loop: to a Long, a Double, a text, past the end.
total = ""
For i = 1 To 10
  total = total & i & " "
  If i = 2 Then i = 40000
Next
WScript.Echo total
total = ""
For i = 1 To 5
  total = total & i & " "
  If i = 2 Then i = 2.5
Next
WScript.Echo total
total = ""
For i = 1 To 5
  total = total & i & " "
  If i = 2 Then i = "3"
Next
WScript.Echo total
total = ""
For i = 10 To 1 Step -3
  total = total & i & " "
Next
WScript.Echo total, i
total = 0
For i = 32760 To 32770
  total = total + 1
Next
WScript.Echo total, i, TypeName(i)

' Nested loops over global counters in a procedure, and a local counter beside them.
Sub Grid
  Dim k
  log = ""
  For i = 0 To 2
    For j = 0 To 2
      For k = 0 To 1
        a(i + j) = i * j + k
      Next
    Next
    log = log & a(i) & " "
  Next
  WScript.Echo "grid:", log, i, j, k
End Sub
Grid

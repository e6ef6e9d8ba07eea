' Where the compiled code lets go of what a statement's temporaries held, and arguments computed
' straight into the registers a call passes: objects read by an If or Select inside a loop that
' is left with Exit For or Exit Do go when the loop ends; arguments that are expressions keep
' their own values, in order, however many temporaries computing them takes.
Dim holder(1), i, found, log

Class Noisy
  Public name
  Private Sub Class_Terminate
    WScript.Echo "bye " & name
  End Sub
End Class

Function Make(text)
  Set Make = New Noisy
  Make.name = text
End Function

' An If's condition reads an element holding the only other reference to an object (its second
' operand stays in a temporary); the loop is left from the If's block, past the If's end.
Set holder(0) = Make("for")
For i = 1 To 3
  If holder(0) Is holder(0) Then
    found = i
    Exit For
  End If
Next
WScript.Echo "left the For at", found
Set holder(0) = Nothing
WScript.Echo "after releasing the element"

' The same with Select in a Do loop.
Set holder(1) = Make("do")
i = 0
Do
  i = i + 1
  Select Case holder(1) Is holder(1)
    Case True
      If i = 2 Then Exit Do
  End Select
Loop
WScript.Echo "left the Do at", i
Set holder(1) = Nothing
WScript.Echo "after releasing the other element"

' In an If (no loop around), the statements inside let go at their own end.
If True Then
  log = Make("inner").name
  WScript.Echo "inner statement done:", log
End If
WScript.Echo "If done"

' Arguments that are expressions: each keeps its value while the ones after it are computed,
' and a by-reference parameter given an expression changes only its own copy.
Function Three(p, q, r)
  Three = p & "," & q & "," & r
  p = p + 1000
  q = "changed"
End Function

Function Nest(n)
  If n <= 0 Then
    Nest = 0
  Else
    Nest = Nest(n - 1) + n * 2 + 1
  End If
End Function

Dim a, b, c
log = ""
a = 3
b = 4
c = 5
WScript.Echo "three:", Three(a * 2 + b * 3, a - b * 2, c), a, b, c
WScript.Echo "three:", Three((a + b) * (b + c), "x" & a & b, -c * (a - b)), a, b
WScript.Echo "three:", Three(a, b + 1, c * c), a, b, c
WScript.Echo "nest:", Nest(10), Nest(b + c * 2)
For i = 1 To 3
  log = log & Three(i * i + 1, i & "-" & i * 2, i - 4) & " "
Next
WScript.Echo "in a loop:", log

' A For loop whose body gives the counter a new value: Next adds the step to whatever the
' counter holds then, by the rules of +, and compares the sum with the end.
Dim i, s, changed

Sub Report(label, value)
  WScript.Echo label & ": " & s & "| " & TypeName(value) & " " & value
End Sub

' At global level.
s = ""
For i = 1 To 5
  s = s & i & " "
  If i = 2 Then i = 2.5
Next
Report "Double", i
s = ""
For i = 1 To 5
  s = s & i & " "
  If i = 2 Then i = "3"
Next
Report "text", i
s = ""
For i = 10 To 1 Step -2
  s = s & i & " "
  If i = 8 Then i = 5.75
Next
Report "down", i
s = ""
changed = False
For i = 1 To 3
  s = s & TypeName(i) & " "
  If i = 2 And Not changed Then i = Empty: changed = True
Next
Report "Empty", i
s = ""
changed = False
For i = 1 To 3
  s = s & i & " "
  If i = 2 And Not changed Then i = True: changed = True
Next
Report "Boolean", i
s = ""
For i = 1 To 4
  s = s & TypeName(i) & " "
  If i = 2 Then i = CLng(2)
Next
Report "Long", i
s = ""
For i = 0 To 1 Step 0.5
  s = s & i & " "
  If i = 0.5 Then i = "0.75"
Next
Report "Double step", i

' In a procedure, with a local counter and a by-reference one.
Sub Local()
  Dim k
  s = ""
  For k = 1 To 5
    s = s & k & " "
    If k = 3 Then k = 3.25
  Next
  Report "local", k
End Sub
Local

Sub ByReference(ByRef k)
  s = ""
  For k = 1 To 5
    s = s & k & " "
    If k = 1 Then k = 2.5
  Next
  Report "by reference", k
End Sub
Dim outside
ByReference outside
WScript.Echo "outside:", outside

' A counter given a text that is no number ends the loop with a type mismatch.
On Error Resume Next
s = ""
For i = 1 To 5
  s = s & i & " "
  If i = 2 Then i = "two"
Next
WScript.Echo "no number:", Err.Number, s
On Error GoTo 0

' Conditions the compiled code tests in one step: a comparison, Not of a comparison, and Or / And
' of a value and a comparison in If, ElseIf, Do While / Until and Loop While / Until. Both sides
' of Or and And are evaluated, in order, whatever the left side gave; errors come from the side
' that raises them first; Null, numbers, text and objects combine by the operators' rules.
Dim log, arr(2), n, s, d, big, o, bare, i, j, count

Sub Report(label)
  If Err.Number <> 0 Then
    WScript.Echo label & ": error " & Err.Number
    Err.Clear
  Else
    WScript.Echo label & ": no error"
  End If
End Sub

Function Note(text, value)
  log = log & text
  Note = value
End Function

Function Show(cond)
  If cond Then Show = "then" Else Show = "else"
End Function

Class Counter
  Public reads
  Public Default Property Get Value
    reads = reads + 1
    Value = 5
  End Property
End Class

Class Plain
  Public x
End Class

Set o = New Counter
o.reads = 0
Set bare = New Plain
n = Null
s = "abc"
d = 2.5
big = 100000

' Both sides are evaluated in order, whatever the left side gave.
log = ""
If Note("a", 1) = 1 Or Note("b", 1) = 1 Then log = log & "+" Else log = log & "-"
If Note("c", 1) = 2 And Note("d", 1) = 1 Then log = log & "+" Else log = log & "-"
If Note("e", 1) = 2 Or Note("f", 2) = 2 Then log = log & "+" Else log = log & "-"
If Note("g", 1) = 1 And Note("h", 2) = 1 Then log = log & "+" Else log = log & "-"
If Note("i", 1) = 1 Or Note("j", 1) = 1 Or Note("k", 1) = 2 Then log = log & "+"
If Note("l", 1) = 2 And Note("m", 1) = 1 And Note("n", 1) = 1 Then log = log & "+" Else log = log & "-"
WScript.Echo "order:", log

' An error on the right is raised though the left decided the result; under On Error Resume
' Next the failing condition counts as true and its block runs.
On Error Resume Next
log = ""
If 1 = 1 Or arr(9) > 0 Then log = log & "ran"
Report "error on the right of a true Or (" & log & ")"
log = ""
If 1 = 2 And arr(9) > 0 Then log = log & "ran"
Report "error on the right of a false And (" & log & ")"
log = ""
If 1 = 1 Or arr > 0 Then log = log & "ran"
Report "comparing an array on the right of Or (" & log & ")"
If 1 = 2 And arr > 0 Then log = log & "ran"
Report "comparing an array on the right of And (" & log & ")"
' The left side's error comes first, and the right side is then not evaluated.
log = ""
If arr > 0 Or Note("right", 1) = 1 Then log = log & " ran"
Report "error on the left (" & log & ")"
log = ""
If arr(9) > 0 And arr > 0 Then log = log & "ran"
Report "two errors, the left one (" & log & ")"
If Not arr > 0 Then log = log & " not"
Report "Not of a failing comparison (" & log & ")"
i = 0
Do
  i = i + 1
  If i > 3 Then Exit Do
Loop Until arr > 0
Report "Loop Until a failing comparison (" & i & ")"
On Error GoTo 0

' Null: Null Or True is True, Null Or False and Null And True are Null (false), Null And False
' is False; Not Null is Null (false).
WScript.Echo "Null Or:", Show(n > 1 Or 1 = 1), Show(n > 1 Or 1 = 2), Show(1 = 2 Or n > 1), _
    Show(1 = 1 Or n > 1)
log = ""
If n > 1 Or 1 = 1 Then log = log & "T" Else log = log & "F"
If n > 1 Or 1 = 2 Then log = log & "T" Else log = log & "F"
If 1 = 2 Or n > 1 Then log = log & "T" Else log = log & "F"
If 1 = 1 Or n > 1 Then log = log & "T" Else log = log & "F"
If n > 1 And 1 = 2 Then log = log & "T" Else log = log & "F"
If n > 1 And 1 = 1 Then log = log & "T" Else log = log & "F"
If 1 = 1 And n > 1 Then log = log & "T" Else log = log & "F"
If 1 = 2 And n > 1 Then log = log & "T" Else log = log & "F"
If n = n Or n <> n Then log = log & "T" Else log = log & "F"
If Not n > 1 Then log = log & "T" Else log = log & "F"
If Not (n > 1) Then log = log & "T" Else log = log & "F"
If Not 1 > 2 Then log = log & "T" Else log = log & "F"
If Not 2 > 1 Then log = log & "T" Else log = log & "F"
If (n > 1) Then log = log & "T" Else log = log & "F"
WScript.Echo "Null in If:", log

' Do loops on a comparison: Null neither ends an Until loop nor goes on with a While loop.
i = 0
Do Until n > 1
  i = i + 1
  If i = 3 Then Exit Do
Loop
j = 0
Do While n > 1
  j = j + 1
Loop
count = 0
Do While Not n > 1
  count = count + 1
  If count = 2 Then Exit Do
Loop
WScript.Echo "Null in Do:", i, j, count
i = 0
Do
  i = i + 1
Loop Until i >= 4
j = 10
Do
  j = j - 1
Loop While Not j <= 7
WScript.Echo "Loop Until / While Not:", i, j
i = 0
Do Until i = 3 Or n > 1
  i = i + 1
Loop
j = 0
Do While j < 3 And Not n > 1
  j = j + 1
Loop
WScript.Echo "Do with Or / And:", i, j

' Subtypes of the comparisons: Long, Double, text with a literal and with a variable, Empty.
log = ""
If 1 = 2 Or big > 99999 Then log = log & "L"
If 1 = 2 Or d > 2 Then log = log & "D"
If 1 = 1 And d < 2.6 Then log = log & "d"
If 1 = 2 Or s > big Then log = log & "S"
If 1 = 2 Or Empty = 0 Then log = log & "E"
If 1 = 2 Or s = "abc" Then log = log & "s"
If Not s <> "abc" Then log = log & "n"
WScript.Echo "subtypes:", log
On Error Resume Next
log = ""
If 1 = 2 Or s > 5 Then log = log & "ran"
Report "text against a number literal on the right of Or (" & log & ")"
On Error GoTo 0

' Objects: a default property is read for each comparison, in order; an object without one
' fails.
log = ""
If o = 5 Or o > 9 Then log = log & "T" Else log = log & "F"
If o < 5 And o = 5 Then log = log & "T" Else log = log & "F"
If Not o = 5 Then log = log & "T" Else log = log & "F"
WScript.Echo "default property:", log, o.reads
On Error Resume Next
log = ""
If 1 = 1 Or bare > 0 Then log = log & "ran"
Report "object without a default property on the right (" & log & ")"
On Error GoTo 0

' In a procedure the left side may be a local of any subtype (read after the comparison, as
' the operator reads it), or a copy taken before the right side runs code.
Sub Locals
  Dim k, flag, nl, t, obj, x
  Set obj = New Counter
  obj.reads = 0
  nl = Null
  x = 2
  k = 2
  t = ""
  If k And x > 1 Then t = t & "T" Else t = t & "F"
  If k And x > 2 Then t = t & "T" Else t = t & "F"
  If k Or x > 2 Then t = t & "T" Else t = t & "F"
  k = 0
  If k Or x > 2 Then t = t & "T" Else t = t & "F"
  If k Or x = 2 Then t = t & "T" Else t = t & "F"
  If nl Or x = 2 Then t = t & "T" Else t = t & "F"
  If nl Or x = 3 Then t = t & "T" Else t = t & "F"
  If nl And x = 3 Then t = t & "T" Else t = t & "F"
  If nl And x = 2 Then t = t & "T" Else t = t & "F"
  If Empty Or x = 3 Then t = t & "T" Else t = t & "F"
  If obj Or x = 3 Then t = t & "T" Else t = t & "F"
  If obj And x = 3 Then t = t & "T" Else t = t & "F"
  WScript.Echo "locals on the left:", t, obj.reads
  flag = False
  If flag Or SetTrue(flag) > 0 Then t = "T" Else t = "F"
  WScript.Echo "left read before the right changes it:", t, flag
  On Error Resume Next
  k = "text"
  t = ""
  If k Or x = 2 Then t = "ran"
  Report "text on the left of Or (" & t & ")"
  If Not x > k Then t = t & " not"
  Report "a number against text (" & t & ")"
  On Error GoTo 0
End Sub

Function SetTrue(ByRef v)
  v = True
  SetTrue = 0
End Function

Locals

' ElseIf chains with and without Else, inside loops.
log = ""
For i = 1 To 15
  If i Mod 15 = 0 Then
    log = log & "Z"
  ElseIf i Mod 3 = 0 Or i Mod 5 = 0 Then
    log = log & "x"
  ElseIf Not i Mod 2 = 0 And i > 10 Then
    log = log & "o"
  End If
Next
For i = 1 To 4
  If i = 2 Or i = 4 Then log = log & i
Next
WScript.Echo "chains:", log

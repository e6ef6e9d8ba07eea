' If, For, For Each, Do, While, Select Case and every Exit.
Dim i, s
For i = 1 To 3
  If i = 1 Then
    WScript.Echo "one"
  ElseIf i = 2 Then
    WScript.Echo "two"
  Else
    WScript.Echo "other"
  End If
Next
If i = 4 Then WScript.Echo "after loop i=" & i Else WScript.Echo "wrong"
If False Then WScript.Echo "no" : WScript.Echo "still no"
If True Then WScript.Echo "yes" : WScript.Echo "also yes" Else WScript.Echo "no"
s = ""
For i = 10 To 1 Step -3: s = s & i & ",": Next
WScript.Echo s
s = ""
For i = 0 To 1 Step 0.25: s = s & i & " ": Next
WScript.Echo s
For i = 1 To 0: WScript.Echo "never": Next
WScript.Echo "empty loop leaves", i
i = 0
Do While i < 3: i = i + 1: Loop
WScript.Echo "while", i
Do Until i = 0: i = i - 1: Loop
WScript.Echo "until", i
Do: i = i + 1: Loop While i < 5
WScript.Echo "post while", i
Do: i = i + 1: Loop Until i >= 5
WScript.Echo "post until", i
While i > 2: i = i - 1: Wend
WScript.Echo "wend", i
Do
  i = i + 1
  If i > 7 Then Exit Do
Loop
WScript.Echo "exit do", i
For i = 1 To 100
  If i = 4 Then Exit For
Next
WScript.Echo "exit for", i
Dim x
For Each x In Array(1, "two", 3.5)
  WScript.Echo TypeName(x), x
Next
Select Case 7
  Case 1, 2: WScript.Echo "small"
  Case 3 To 6: WScript.Echo "medium"
  Case Is > 6: WScript.Echo "large"
  Case Else: WScript.Echo "none"
End Select
Select Case "b"
  Case "a": WScript.Echo "a"
  Case Else: WScript.Echo "else"
End Select
Select Case 10
  Case 1
    WScript.Echo "1"
End Select
Dim j
For i = 1 To 3
  For j = 1 To 3
    If j = 2 Then Exit For
    WScript.Echo i, j
  Next
Next
Do
  For i = 1 To 3
    If i = 2 Then Exit Do
  Next
Loop
WScript.Echo "nested exit", i
For i = 1 To 5
  i = i + 1
Next
WScript.Echo "counter changed in body", i
WScript.Echo "done"

' On Error Resume Next with errors in the heads and tails of blocks: If, Do While/Until,
' Loop While/Until, While, For, For Each, Select Case, Case tests and With. The statement that
' comes next is the block's first (the loop runs once, then its end reports the loop as not
' started), except after a loop's tail or a Select's tested value.
Dim x, y, count
Function Boom : Err.Raise 1234 : End Function
Dim calls
Function BoomOnce
  calls = calls + 1
  If calls = 1 Then Err.Raise 1234
  BoomOnce = False
End Function

Sub Heads
  On Error Resume Next
  If Boom Then WScript.Echo "If: the Then part runs", Err.Number
  Err.Clear
  If False Then
  ElseIf Boom Then
    WScript.Echo "ElseIf: its part runs", Err.Number
  End If
  Err.Clear
  Do While Boom
    WScript.Echo "Do While: the body runs", Err.Number
    Exit Do
  Loop
  Err.Clear
  Do Until Boom
    WScript.Echo "Do Until: the body runs", Err.Number
    Exit Do
  Loop
  Err.Clear
  count = 0
  Do
    count = count + 1
  Loop While Boom
  WScript.Echo "Loop While: the loop ends", count, Err.Number
  Err.Clear
  count = 0
  Do
    count = count + 1
  Loop Until Boom
  WScript.Echo "Loop Until: the loop ends", count, Err.Number
  Err.Clear
  calls = 0
  While BoomOnce
    WScript.Echo "While: the body runs", Err.Number
  Wend
  Err.Clear
  x = 6 : count = 0
  For x = Boom To 10
    count = count + 1
    WScript.Echo "For: the body runs with", x, Err.Number
  Next
  WScript.Echo "For: after the loop", x, count, Err.Number, Err.Description
  Err.Clear
  x = 6 : count = 0
  For x = 1 To 10 Step Boom
    count = count + 1
  Next
  WScript.Echo "For with a failing step:", x, count, Err.Number
  Err.Clear
  x = 2 : count = 0
  For Each x In Boom
    count = count + 1
  Next
  WScript.Echo "For Each: after the loop", x, count, Err.Number, Err.Description
  Err.Clear : count = 0
  For Each x In Empty
    count = count + 1
  Next
  WScript.Echo "For Each over Empty:", count, Err.Number
  Err.Clear : y = "none"
  Select Case Boom
    Case True : y = "True"
    Case Else : y = "Else"
  End Select
  WScript.Echo "Select Case: no case runs", y, Err.Number
  Err.Clear : y = "none"
  Select Case 3
    Case 1 : y = "one"
    Case Boom : y = "the failing case"
    Case 3 : y = "three"
  End Select
  WScript.Echo "Case test: its case runs", y, Err.Number
  Err.Clear : y = False
  With Boom
    y = True
    .Member = 1
    WScript.Echo "With: the body runs without an object", y, Err.Number
  End With
  Err.Clear
  x = 6
  x = Boom + UndefinedFunction()
  WScript.Echo "A failing statement is left whole:", x, Err.Number
  Err.Clear
  x = 1
  For x = 1 To 3
    If x = 2 Then x = "two"
  Next
  WScript.Echo "A counter made text ends the loop:", x, Err.Number
End Sub
Heads

Dim s, i, a
s = ""
For i = "1" To "3" Step "1" : s = s & i & " " : Next
WScript.Echo "For over text:", s
s = ""
For i = Empty To 2 : s = s & i : Next
WScript.Echo "For from Empty:", s, i
s = ""
For i = 5 To 3 Step True : s = s & i : Next
WScript.Echo "For with a Boolean step:", s
a = Array(1, 2, 3)
For Each i In a : Next
WScript.Echo "For Each leaves its variable Empty:", TypeName(i)
For Each i In a
  If i = 2 Then Exit For
Next
WScript.Echo "Exit For keeps the element:", i

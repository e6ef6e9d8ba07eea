' On Error Resume Next in compiled bodies: an error goes on after the innermost statement, or
' into the block of a failing If condition or Case test, or once through the body of a For
' whose bounds fail; the increment of a For failing ends the loop.
Dim log, i, j, a(2)
Function Boom : Err.Raise 77 : End Function
Function Fails(n)
  Fails = n / 0
End Function

Sub Inner
  On Error Resume Next
  log = ""
  For i = 0 To 3
    If i = 1 Then
      a(i + 5) = 1
      log = log & "after-subscript "
    End If
    log = log & i & ":" & Err.Number & " "
    Err.Clear
  Next
  WScript.Echo "nested:", log
  log = ""
  For i = "abc" To 3
    log = log & "body(" & Err.Number & ") "
  Next
  WScript.Echo "text bound:", log, Err.Number, i
  Err.Clear
  log = ""
  For i = 1 To 3
    log = log & i & " "
    i = "x"
  Next
  WScript.Echo "failing increment:", log, Err.Number
  Err.Clear
  For i = 1 To 3
    Select Case i
      Case 1 To Boom
        log = "range failed into its case " & Err.Number
      Case Else
        log = "else"
    End Select
    Exit For
  Next
  WScript.Echo log
  Err.Clear
  j = Fails(3) + 1
  WScript.Echo "call failed:", IsEmpty(j), Err.Number
  Err.Clear
  If Fails(1) = 2 Then WScript.Echo "condition failed into Then:", Err.Number
  Err.Clear
  Do While Fails(1)
    WScript.Echo "Do While failed into the body:", Err.Number
    Exit Do
  Loop
  On Error GoTo 0
  WScript.Echo "handler off:", Err.Number
End Sub
Inner

On Error Resume Next
j = 1 / 0
WScript.Echo "global:", Err.Number
On Error GoTo 0
For i = 1 To 2
  j = i / (i - 1)
Next
WScript.Echo "not reached"

' An error deep in a compiled body is reported at the statement where it happened.
Function Pick(a, i)
  Dim k
  For k = 1 To 2
    If k = 2 Then
      Select Case i
        Case 0, 1
          Pick = a(i)
        Case Else
          Pick = a(i) + 1
      End Select
    End If
  Next
End Function
WScript.Echo Pick(Array(1, 2), 1)
WScript.Echo Pick(Array(1, 2), 5)
WScript.Echo "not reached"

' Runaway recursion and runaway strings end with errors instead of ending the program.
Function Deep(n)
  Deep = Deep(n + 1)
End Function
On Error Resume Next
Deep 1
WScript.Echo Err.Number, Err.Description
Err.Clear
Dim s: s = "0123456789abcdef"
Do While Err.Number = 0
  s = s & s
Loop
WScript.Echo Err.Number, Err.Description, Len(s) > 1000000

' String building with &.
Dim s, i
s = ""
For i = 1 To 20000
  s = s & "item" & (i Mod 10) & ","
Next
WScript.Echo Len(s)

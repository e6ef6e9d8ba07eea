' String building with &: a million pieces appended to one string.
Dim s, i
s = ""
For i = 1 To 1000000
  s = s & "item" & (i Mod 10) & ","
Next
WScript.Echo Len(s)

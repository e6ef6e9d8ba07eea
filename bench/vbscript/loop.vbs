' A numeric loop of 20 million steps with Mod.
Dim i, total
total = 0
For i = 1 To 20000000
  If i Mod 3 = 0 Or i Mod 5 = 0 Then total = total + i Mod 7
Next
WScript.Echo total

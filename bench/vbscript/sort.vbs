' Bubble sort of an array of 5,000 numbers.
Const N = 5000
Dim a(4999), i, j, t, seed
seed = 12345
For i = 0 To N - 1
  seed = (seed * 1103 + 12345) Mod 65536
  a(i) = seed
Next
For i = 0 To N - 2
  For j = 0 To N - 2 - i
    If a(j) > a(j + 1) Then
      t = a(j): a(j) = a(j + 1): a(j + 1) = t
    End If
  Next
Next
WScript.Echo a(0), a(N - 1)

' Operands read in place must still see values as they were when read.
Dim a(3), b, s
a(0) = 10: a(1) = 20: a(2) = "x"
Function Grow: ReDim a(5): a(0) = 99: Grow = 1: End Function
Function Wipe: Erase a: Wipe = 1: End Function
Function SetA: a(0) = 1000: SetA = 1: End Function
b = a
Dim dyn: dyn = Array(5, 6, 7)
Function Shrink: ReDim dyn(0): dyn(0) = -1: Shrink = 2: End Function
WScript.Echo dyn(1) + Shrink(), dyn(0)
WScript.Echo a(0) + SetA(), a(0)
WScript.Echo a(1) + Wipe(), IsEmpty(a(1))
Class Meddler
  Public Default Property Get Value
    dyn = Array(100)
    Value = 1
  End Property
End Class
dyn = Array(5, 6, 7)
Dim m: Set m = New Meddler
WScript.Echo dyn(2) + m, dyn(0)
Dim x: x = 3
Function Bump: x = x + 10: Bump = 0: End Function
WScript.Echo x + Bump(), x
' Elements compared in place, as a sort does.
Dim k, sorted: sorted = Array(3, 1, 2)
Dim i, j, t
For i = 0 To 1
  For j = 0 To 1 - i
    If sorted(j) > sorted(j + 1) Then t = sorted(j): sorted(j) = sorted(j + 1): sorted(j + 1) = t
  Next
Next
WScript.Echo Join(sorted, ",")

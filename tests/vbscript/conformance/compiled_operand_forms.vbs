' Instructions with an Integer literal whose other operand is a global variable or a parameter
' by reference read it in place; anything but an Integer or Long there (text, Double, Null,
' Empty, an object with a default property, a constant, a function called by its name) takes
' the general way. Every comparison operator on less, equal and greater values.
Dim g, line, k, big, obj, log, values, at
Const Limit = 7

Class Valued
  Public Default Property Get Value
    log = log & "get;"
    Value = 3
  End Property
End Class

Function Three
  log = log & "three;"
  Three = 3
End Function

' Global code: a global on the left of each operator (For Each would leave the loop to the tree
' walker; a For loop is compiled).
line = ""
values = Array(2, 3, 4, 40000, -40000)
For at = 0 To UBound(values)
  g = values(at)
  If g = 3 Then line = line & "=" Else line = line & "."
  If g <> 3 Then line = line & "<>" Else line = line & "."
  If g < 3 Then line = line & "<" Else line = line & "."
  If g > 3 Then line = line & ">" Else line = line & "."
  If g <= 3 Then line = line & "<=" Else line = line & "."
  If g >= 3 Then line = line & ">=" Else line = line & "."
  line = line & " " & (g + 1) & " " & (g - 1) & " " & (g * 3) & " " & (g Mod 3) & " | "
Next
WScript.Echo line

' Other subtypes in a global: the general rules (and their errors) apply.
Set obj = New Valued
On Error Resume Next
values = Array("5", 2.5, Null, Empty, True, "x")
For at = 0 To UBound(values)
  g = values(at)
  line = TypeName(g) & ":"
  If g < 3 Then line = line & " less" Else line = line & " not less"
  Do While g > 3
    line = line & " greater"
    Exit Do
  Loop
  k = g + 1
  If Err.Number <> 0 Then line = line & " err" & Err.Number: Err.Clear
  line = line & " " & k
  k = g Mod 2
  If Err.Number <> 0 Then line = line & " err" & Err.Number: Err.Clear
  line = line & " " & k
  WScript.Echo line
Next
On Error GoTo 0
g = obj
log = ""
If obj < 5 Then WScript.Echo "object by default value", obj + 1, obj Mod 2, log
big = 2147483647
WScript.Echo big + 1, big - 1, big * 2, big Mod 10, TypeName(big + 1)
g = 32767
WScript.Echo g + 1, TypeName(g + 1), g * 2, TypeName(g * 2)
WScript.Echo Limit + 1, Limit Mod 4, Limit > 6
log = ""
If Three < 4 Then WScript.Echo "function by name", Three + 1, Three Mod 2, log
On Error Resume Next
k = 0
k = g Mod 0
WScript.Echo "Mod 0:", Err.Number, k
Err.Clear
On Error GoTo 0

' In a procedure: parameters by reference on the left.
Function Compare(p)
  Dim s
  If p = 3 Then s = s & "=" Else s = s & "."
  If p <> 3 Then s = s & "<>" Else s = s & "."
  If p < 3 Then s = s & "<" Else s = s & "."
  If p > 3 Then s = s & ">" Else s = s & "."
  If p <= 3 Then s = s & "<=" Else s = s & "."
  If p >= 3 Then s = s & ">=" Else s = s & "."
  Do Until p > 3
    s = s & " until"
    Exit Do
  Loop
  Compare = s & " " & (p + 1) & " " & (p - 1) & " " & (p * 3) & " " & (p Mod 3)
End Function
Function Safe(p)
  On Error Resume Next
  Safe = "?"
  Safe = Compare(p)
  If Err.Number <> 0 Then Safe = Safe & " err" & Err.Number
End Function
Dim v
values = Array(2, 3, 4, 100000, -7)
For at = 0 To UBound(values)
  v = values(at)
  WScript.Echo Compare(v)
Next
values = Array("2", 3.5, Null, Empty, "x")
For at = 0 To UBound(values)
  v = values(at)
  WScript.Echo TypeName(v), Safe(v)
Next
log = ""
WScript.Echo "object parameter", Compare(obj), log

' Copies of a global or a parameter, and operators with a global on the left of a variable.
Function Copies(p)
  Dim l, m
  l = g
  m = p
  Copies = TypeName(l) & " " & l & " " & TypeName(m) & " " & m
  l = Limit
  m = Three
  Copies = Copies & " " & l & " " & m
End Function
Function Twice(p)
  Twice = p
  Twice = Twice + p
End Function
k = 5
values = Array(7, "t", 2.5, Null, 100000)
For at = 0 To UBound(values)
  g = values(at)
  log = ""
  WScript.Echo Copies(g), Twice(k), log
Next
g = obj
log = ""
WScript.Echo "object global:", Copies(obj), log
On Error Resume Next
values = Array(7, "8", 2.5, Null, 70000, "x")
For at = 0 To UBound(values)
  g = values(at)
  line = TypeName(g) & ":"
  line = line & " " & (g + k) & " " & (g - k) & " " & (g * k)
  line = line & " " & (g Mod k)
  If Err.Number <> 0 Then line = line & " err" & Err.Number: Err.Clear
  WScript.Echo line
Next
On Error GoTo 0

' A call's result in the register of its first argument: nested calls, a first argument passed
' by reference, arguments of every kind.
Function Add3(a, b, c)
  Add3 = a + b + c
End Function
Function Bump(r, n)
  r = r + n
  Bump = r * 10
End Function
g = 1
WScript.Echo Add3(Add3(1, 2, 3), g, Add3(g, g + 1, Add3(g, g, g)))
k = 1
WScript.Echo Bump(k, 2), k, Bump(k, Bump(k, 1)), k
WScript.Echo Add3(Twice(2), Twice(Twice(3)), Bump(k, Twice(1))), k

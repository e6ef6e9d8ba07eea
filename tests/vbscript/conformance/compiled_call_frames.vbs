' Compiled procedures calling compiled procedures: errors raised in a callee and handled in a
' caller, Exit Function, recursion at depth and past the depth limit, by-reference arguments
' through several frames, the Err object after returning, and when a callee's objects go.
Dim deepest, x

Class Tracker
  Public Name
  Private Sub Class_Terminate
    ' (compiled calls while a callee's frame is being given back)
    WScript.Echo "terminate " & Name & " " & Depth(2)
  End Sub
End Class

Function Fails(n)
  If n = 0 Then Fails = 1 / n
  Fails = Fails(n - 1) + 1
End Function

Function Raises(n)
  If n = 0 Then Err.Raise 5001, "deep source", "raised at the bottom"
  Raises = Raises(n - 1) * 2
End Function

Sub HandledInTheCaller
  On Error Resume Next
  x = 5
  x = Fails(3)
  WScript.Echo "after Fails(3):", x, Err.Number, Err.Description
  Err.Clear
  x = Fails(2) + Fails(1)
  WScript.Echo "after a sum of two failing calls:", x, Err.Number
  Err.Clear
  x = Raises(4)
  WScript.Echo "after Raises(4):", x, Err.Number, Err.Source, Err.Description
  Err.Clear
  If Fails(1) > 0 Then WScript.Echo "the block of a failing condition runs"
  WScript.Echo "Err in a condition:", Err.Number
End Sub
HandledInTheCaller

' A middle frame with its own handler catches what its callee raised and goes on.
Function Middle(n)
  On Error Resume Next
  Middle = -1
  Middle = Fails(n)
  WScript.Echo "middle sees", Err.Number, Middle
  Middle = Middle * 10
End Function
WScript.Echo "middle returns", Middle(2), Err.Number

' A callee that handles its own error: the caller looks at Err after the call returns.
Function Swallow(n)
  On Error Resume Next
  Swallow = 10 / n
  Swallow = Swallow + 1
End Function
Sub ErrAfterReturning
  x = Swallow(0)
  WScript.Echo "Swallow(0):", x, Err.Number
  x = Swallow(2)
  WScript.Echo "Swallow(2):", x, Err.Number
  On Error Resume Next
  x = Swallow(0) + Fails(0)
  WScript.Echo "Swallow(0) + Fails(0):", x, Err.Number
  Err.Clear
  x = Swallow(5)
  WScript.Echo "Swallow(5) after Clear:", x, Err.Number
  On Error GoTo 0
End Sub
ErrAfterReturning

' Exit Function out of loops, at several depths.
Function FirstOver(limit)
  Dim i
  FirstOver = -1
  For i = 1 To 100
    If i * i > limit Then
      FirstOver = i
      Exit Function
    End If
  Next
End Function
Function Nested(n)
  Nested = n
  Do
    If n <= 0 Then Exit Function
    Nested = Nested(n - 1) + FirstOver(n * 10)
    Exit Do
  Loop
  Nested = Nested * 2
End Function
WScript.Echo "Exit Function:", FirstOver(50), FirstOver(20000), Nested(4)

' Recursion at depth, past the limit, and after it.
Function Depth(n)
  If n = 0 Then
    Depth = 0
  Else
    Depth = Depth(n - 1) + 1
  End If
End Function
Function Bottomless(n)
  deepest = n
  Bottomless = Bottomless(n + 1)
End Function
Function Guarded(n)
  On Error Resume Next
  deepest = n
  Guarded = n
  Guarded = Guarded(n + 1)
End Function
Sub PastTheLimit
  On Error Resume Next
  x = -1
  x = Bottomless(1)
  WScript.Echo "past the limit:", Err.Number, x, deepest > 100
  Err.Clear
  WScript.Echo "after it:", Depth(300), Err.Number
  x = Guarded(1)
  WScript.Echo "each frame its own handler:", x = deepest, deepest > 100, Err.Number
End Sub
WScript.Echo "depth:", Depth(500)
PastTheLimit

' By-reference parameters through several frames.
Function AddDeep(v, k)
  v = v + 1
  If k > 0 Then
    AddDeep = AddDeep(v, k - 1)
  Else
    AddDeep = v
  End If
End Function
Function AddByVal(ByVal v, k)
  v = v + 1
  If k > 0 Then
    AddByVal = AddByVal(v, k - 1)
  Else
    AddByVal = v
  End If
End Function
Function SwapDeep(a, b, k)
  Dim t
  If k > 0 Then
    SwapDeep = SwapDeep(b, a, k - 1)
  Else
    t = a: a = b: b = t
    SwapDeep = a & b
  End If
End Function
Dim g, h
g = 0
WScript.Echo "global by reference:", AddDeep(g, 5), g
g = 0
WScript.Echo "by value:", AddByVal(g, 5), g
g = "x": h = "y"
WScript.Echo "swapped through three frames:", SwapDeep(g, h, 3), g, h
Sub ByRefInAProcedure
  Dim loc, other
  loc = 10
  WScript.Echo "local by reference:", AddDeep(loc, 3), loc
  WScript.Echo "in parentheses:", AddDeep((loc), 2), loc
  other = 1
  WScript.Echo "two:", AddDeep(loc, 1) + AddDeep(other, 1), loc, other
  On Error Resume Next
  loc = 0
  x = AddDeep(loc, 2) + Fails(1)
  WScript.Echo "written before the error:", loc, Err.Number
End Sub
ByRefInAProcedure

' A callee's objects go when it returns, and when an error leaves it.
Function Make(name, depth)
  Dim t
  Set t = New Tracker
  t.Name = name
  If depth > 0 Then
    Make = Make(name & "+", depth - 1) + 1
  Else
    Make = 0
  End If
  WScript.Echo "leaving " & name
End Function
Function MakeAndFail(name, depth)
  Dim t
  Set t = New Tracker
  t.Name = name
  If depth > 0 Then
    MakeAndFail = MakeAndFail(name & "+", depth - 1)
  Else
    MakeAndFail = 1 / 0
  End If
End Function
Sub ObjectsOfCallees
  WScript.Echo "made", Make("a", 2)
  On Error Resume Next
  x = MakeAndFail("failing", 2)
  WScript.Echo "handled", Err.Number
End Sub
ObjectsOfCallees

' An argument that is a function's name calls it while the call is being set up.
Function Named
  Named = Depth(3)
End Function
Function Twice(a, b)
  Twice = a + b
End Function
Function UseNamed(k)
  UseNamed = Twice(Named, k) + Twice(k, Named)
End Function
WScript.Echo "named", UseNamed(10)

' An error nobody handles is reported where it happened, three frames down.
Function Outer(n)
  Outer = Fails(n) + 1
End Function
WScript.Echo Outer(3)
WScript.Echo "not reached"

' Sub, Function, ByRef by default, ByVal, parentheses passing by value, Call, Exit, GetRef.
Sub AddOne(x)
  x = x + 1
End Sub
Sub AddOneByVal(ByVal x)
  x = x + 1
End Sub
Dim a: a = 1
AddOne a
WScript.Echo a
AddOne (a)
WScript.Echo a
Call AddOne(a)
WScript.Echo a
AddOneByVal a
WScript.Echo a
Dim arr(2)
arr(1) = 10
AddOne arr(1)
WScript.Echo arr(1)
Function Twice(n)
  Twice = n * 2
  Exit Function
  Twice = 0
End Function
WScript.Echo Twice(21)
Function NoResult()
End Function
WScript.Echo IsEmpty(NoResult()), TypeName(NoResult)
Function Fact(n)
  If n <= 1 Then Fact = 1 Else Fact = n * Fact(n - 1)
End Function
WScript.Echo Fact(10)
Sub Early(v)
  If v Then Exit Sub
  WScript.Echo "not early"
End Sub
Early True
Early False
Dim f: Set f = GetRef("Twice")
WScript.Echo f(5)
Sub Swap(p, q)
  Dim t: t = p: p = q: q = t
End Sub
Dim m, n: m = "left": n = "right"
Swap m, n
WScript.Echo m, n
Function Counter()
  count = count + 1
  Counter = count
End Function
Dim count: count = 10
WScript.Echo Counter(), Counter()
Sub Implicit()
  undeclaredLocal = 5
End Sub
Implicit
WScript.Echo IsEmpty(undeclaredLocal)

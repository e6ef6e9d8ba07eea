' Statement forms the parser accepts: End after a statement on the same line, procedures declared
' inside blocks and on one line (class members too), Call with a parenthesised expression, (f)(x),
' Property as a name, a procedure defined twice, ReDim declaring under Option Explicit, statement
' calls whose first argument starts with a parenthesis, bracketed names and member calls continued
' on the next line.
Option Explicit
Dim x, y, arr(2), chain

Sub OneLine(v) x = v End Sub
Function Twice(v) Twice = v * 2 End Function
OneLine 7
WScript.Echo "one-line procedures:", x, Twice(4)

If x = 7 Then y = "then" End If
If x = 8 Then y = "no" Else y = "else" End If
WScript.Echo "single-line If with End If:", y
If False Then :
If False Then x = 1 Else
WScript.Echo "If with nothing after Then or Else"
If False Then
  x = 0
Else x = 9 End If
WScript.Echo "Else with End If on its line:", x
If False Then
ElseIf True Then x = 10 End If
WScript.Echo "ElseIf with End If on its line:", x

If False Then
Sub Hidden
  WScript.Echo "a Sub declared inside an If block exists"
End Sub
End If
Hidden

Class Greeter
  Public Name
  Public Function Greet() : Greet = "hello " & Name : End Function
  Public Sub Say : WScript.Echo "Say called" : End Sub
End Class
Call (New Greeter).Say
Function AddOne(a) : a = a + 1 : AddOne = a : End Function
x = 1
Call (((AddOne))) (x)
WScript.Echo "Call (((f))) (x) passes x by reference:", x
Call (((AddOne))) ((x))
WScript.Echo "Call (((f))) ((x)) passes a copy:", x
WScript.Echo "(f)(x) calls f:", (AddOne)(x), x

Sub UsesProperty
  Dim Property
  Property = "a variable named Property"
  WScript.Echo Property
  For Property = 1 To 2 : Next
End Sub
UsesProperty

Class OneLineMembers
  Private value_
  Sub Class_Initialize() value_ = "initial" End Sub
  Public Property Get Value() Value = value_ End Property
  Public Property Let Value(v) value_ = v End Property
  Function Twice() Twice = value_ & value_ End Function
End Class
Dim members : Set members = New OneLineMembers
WScript.Echo "one-line members:", members.Value, members.Twice()
members.Value = "set"
WScript.Echo "one-line Property Let:", members.Value

Function Defined : Defined = "first" : End Function
Sub Defined : End Sub
Function Defined : Defined = "last" : End Function
WScript.Echo "a procedure defined twice:", Defined()

ReDim declared(2)
declared(2) = "ReDim declares under Option Explicit"
WScript.Echo declared(2)

Dim lastArg, secondArg
Sub Take(a) : lastArg = a : End Sub
Sub TakeTwo(a, b) : lastArg = a : secondArg = b : End Sub
Take(10) + 5
WScript.Echo "Take(10) + 5 passes", lastArg
Take(2) ^ 3
WScript.Echo "Take(2) ^ 3 passes", lastArg
TakeTwo (2) * 8, 7
WScript.Echo "TakeTwo (2) * 8, 7 passes", lastArg, secondArg
Take Mid ("hello", 2) & "x"
WScript.Echo "a function call with a space before its parenthesis:", lastArg, CInt (2) * 3

Dim [my var], [], [dim]
[my var] = 1 : [] = 2 : [dim] = 3
WScript.Echo "bracketed names:", [my var] + [] + [dim]
Class Counter
  Public [the count]
  Public Function Bump() : [the count] = [the count] + 1 : Set Bump = Me : End Function
End Class
Set chain = New Counter
chain.Bump().Bump() _
.Bump()
chain _
.Bump
WScript.Echo "member calls continued on the next line:", chain.[the count]
arr (0) = 2 Xor -2
WScript.Echo "a space before the index of an assignment:", arr(0)

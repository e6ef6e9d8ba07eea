' Members of script objects called, read and assigned by the bytecode: methods, Property Get /
' Let / Set, fields, Me, objects that are the results of calls and of other members, Set of
' variables and members; errors and their order, On Error, and when Class_Terminate runs.
Option Explicit

Dim log
Sub Note(text)
  log = log & text & ";"
End Sub
Sub Flush(title)
  WScript.Echo title & ": " & log
  log = ""
End Sub

Class Node
  Public Name
  Public Child
  Private secret_
  Private value_
  Private Sub Class_Initialize()
    secret_ = "hidden"
  End Sub
  Private Sub Class_Terminate()
    Note "end " & Name
  End Sub
  Public Property Get Value()
    Note "get " & Name
    Value = value_
  End Property
  Public Property Let Value(v)
    Note "let " & Name
    value_ = v
  End Property
  Public Property Get Item(i)
    Item = Name & "#" & i
  End Property
  Public Property Set Link(o)
    Note "set link " & Name
    Set Child = o
  End Property
  Public Property Get Link()
    Set Link = Child
  End Property
  Public Function Greet(who)
    Greet = "hello " & who & " from " & Name
  End Function
  Public Sub Bump(ByRef n, ByVal m)
    n = n + 1
    m = m + 1
  End Sub
  Public Function Twice(n)
    n = n * 2
    Twice = n
  End Function
  Public Function Self()
    Set Self = Me
  End Function
  Public Function Secret()
    Secret = Me.secret_ & "/" & Me.Name & "/" & Me.Greet("me")
  End Function
  Public Sub Rename(text)
    Me.Name = text
    Me.Value = text & "!"
  End Sub
  Public Function List()
    List = Array("a", "b", "c")
  End Function
  Public Sub Nothing0()
  End Sub
  Public Sub Fail(number)
    Note "fail " & number
    Err.Raise number, "Node", "failed " & number
    Note "not reached"
  End Sub
  Public Function Divide(a, b)
    Divide = a / b
  End Function
  Public Function Depth(n)
    Depth = Me.Depth(n + 1)
  End Function
  Public Function TakeValue(ByVal v)
    Set held = Nothing
    TakeValue = "took " & v.Name
  End Function
  Public Sub DropHeld()
    Set held = Nothing
    Note "dropped"
  End Sub
End Class

Dim held

Function Make(name)
  Dim n
  Set n = New Node
  n.Name = name
  Note "make " & name
  Set Make = n
End Function

Function Value(text)
  Note "value " & text
  Value = text
End Function

Sub Methods()
  Dim a, x, y, s
  Set a = Make("a")
  WScript.Echo a.Greet("you"), a.Greet(1 + 2)
  x = 1: y = 10
  a.Bump x, y
  a.Bump (x), y
  Call a.Bump(x, y)
  WScript.Echo "bump", x, y
  x = 3
  WScript.Echo a.Twice(x), x, a.Twice((x)), x, a.Twice(x + 1), x
  WScript.Echo a.Item(7), a.Item("k")
  WScript.Echo "sub as value [" & a.Nothing0() & "]"
  WScript.Echo a.Secret()
  a.Rename "b"
  WScript.Echo a.Name, a.Value
  s = a.Value & a.Value
  WScript.Echo s
  WScript.Echo a.Self().Self().Name, a.Self.Name
  WScript.Echo a.List()(1), a.List(2)
  Set a = Nothing
  Flush "methods"
End Sub
Methods

' The same in global code, the object in a global variable.
Dim g, gx, gy
Set g = Make("g")
gx = 5: gy = 6
g.Bump gx, gy
WScript.Echo g.Greet("global"), gx, gy, g.Twice(gx), gx
g.Value = 42
WScript.Echo g.Value + 1
Flush "global"

' Objects that are results: of calls, of members, of members of results.
Sub Results()
  Dim re, root
  Set re = New RegExp
  re.Pattern = "o"
  re.Global = True
  WScript.Echo re.Execute("foo boo").Count, re.Execute("foo")(1).FirstIndex
  WScript.Echo Make("r").Greet("result")
  Flush "result"
  Set root = Make("root")
  Set root.Child = Make("kid")
  Set root.Child.Child = Make("grandkid")
  WScript.Echo root.Child.Child.Name, root.Child.Greet("x"), root.Link.Name
  root.Child.Child.Name = "renamed"
  WScript.Echo root.Child.Child.Name
  root.Child.Value = "v"
  WScript.Echo root.Child.Value
  Set root.Link = Make("other")
  WScript.Echo root.Child.Name
  Set root = Nothing
  Flush "members of members"
End Sub
Results

' Set: of variables and of members; the value is computed first, then the object.
Sub Sets()
  Dim a, b, c, d
  Set a = New Node
  a.Name = "new"
  Set b = a
  Set c = a.Self()
  Set d = b.Self
  WScript.Echo (a Is b), (a Is c), (a Is d), TypeName(d)
  Set b = Nothing
  Set c = Nothing
  Set d = Nothing
  Make("target").Value = Value("assigned")
  Set a.Child = Make("first")
  Set a.Child = Make("second")
  a.Name = Value("renamed")
  WScript.Echo a.Name
  Set a = Nothing
  Flush "sets"
End Sub
Sets

' Errors, in the order the classic engine finds them.
Sub Errors()
  Dim a, z, v, nothingHere
  Set a = Make("err")
  On Error Resume Next
  a.Missing 1 / z
  WScript.Echo "unknown member first:", Err.Number: Err.Clear
  v = a.Greet(1, 2 / z)
  WScript.Echo "wrong count first:", Err.Number, "[" & v & "]": Err.Clear
  v = a.Greet(1 / z)
  WScript.Echo "failing argument:", Err.Number: Err.Clear
  v = a.secret_
  WScript.Echo "private member:", Err.Number: Err.Clear
  Set nothingHere = Nothing
  nothingHere.Greet "x"
  WScript.Echo "Nothing:", Err.Number: Err.Clear
  v = z.Name
  WScript.Echo "no object:", Err.Number, Err.Description: Err.Clear
  a.Fail 5
  WScript.Echo "raised in a method:", Err.Number, Err.Source, Err.Description: Err.Clear
  v = a.Divide(1, 0)
  WScript.Echo "failing function:", Err.Number, "[" & v & "]": Err.Clear
  Set v = 5
  WScript.Echo "Set of no object:", Err.Number, Err.Description: Err.Clear
  Set Make("skipped").Child = 5
  WScript.Echo "Set of a member, no object:", Err.Number, Err.Description: Err.Clear
  z.Name = "x"
  WScript.Echo "assigned to no object:", Err.Number: Err.Clear
  a.Missing = 1
  WScript.Echo "assigned to an unknown member:", Err.Number: Err.Clear
  Set a.Value = a
  WScript.Echo "Set without Property Set:", Err.Number: Err.Clear
  v = a.Depth(1)
  WScript.Echo "too deep:", Err.Number: Err.Clear
  If a.Divide(1, 0) Then WScript.Echo "condition failed, block runs"
  Err.Clear
  On Error GoTo 0
  Set a = Nothing
  Flush "errors"
End Sub
Errors

' Class_Terminate: an object that is a result ends once its member is done; a value passed by
' value ends with the method; a method that drops the last reference ends the object after it.
Sub Lifetimes()
  Dim keeper, s
  s = Make("temporary").Greet("once") & " (" & log & ")"
  WScript.Echo s
  log = ""
  Set held = Make("passed")
  Set keeper = Make("keeper")
  s = keeper.TakeValue((held)) & " (" & log & ")"
  WScript.Echo s
  log = ""
  Set held = Make("dropped")
  held.DropHeld
  Note "next statement"
  Set keeper = Nothing
  Flush "lifetimes"
End Sub
Lifetimes

' An error in a method called by a member call, not handled: its position.
Dim last
Set last = Make("last")
last.Fail 9

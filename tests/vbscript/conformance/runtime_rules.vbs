' Run-time rules: New RegExp is always the built-in object, ReDim of a declared-size array,
' statement uses of the conversion functions and Randomize used for a value, assignments the
' language refuses, errors of Erase and of indexing, Property Let receiving objects, and
' nested array elements written in place.
Option Explicit
Dim x, y, arr, obj

Class RegExp
  Public Property Get Global() : Global = "the script's class" : End Property
End Class
Set x = New RegExp
WScript.Echo "New RegExp:", TypeName(x), x.Global

Sub Try(code)
  On Error Resume Next
  Err.Clear
  ExecuteGlobal code
  WScript.Echo Err.Number, Err.Description, "<-", code
End Sub

Dim fixedSize(4)
Try "ReDim fixedSize(3)"
Try "ReDim fixedSize(""abc"")"
Try "ReDim Preserve fixedSize(5)"
Try "x = Array(1) : ReDim x(""abc"")"
Try "x = Array(1) : ReDim Preserve x(2, 2)"
Try "x = Randomize(0)"
Try "Call Randomize(5)"
Try "Call CInt(1)"
Try "CLng 2"
Try "Call CInt(32767.5)"
Try "Call CByte("""")"
Try "Call Abs(-4)"
Const Fixed = 5
Try "Fixed = 6"
Try "Set Fixed = Nothing"
Function Named : Named = 1 : End Function
Try "Named = 2"
Dim number : number = 42
Try "number(0) = 1"
Try "y = number(0)"
Try "Erase number"
Try "Erase undeclaredName"
Dim twoD(2, 2), oneD(2), dynamic()
Try "y = twoD(0)"
Try "oneD(0, 0) = 1"
Try "y = dynamic(0)"
Try "Erase dynamic"
ReDim dynamic(2) : dynamic(0) = "x"
Erase dynamic
Try "y = dynamic(0)"
oneD(0) = "kept shape"
Erase oneD
WScript.Echo "Erase of a declared-size array:", UBound(oneD), TypeName(oneD(0))
Try "Set obj = New NoSuchClass"
Try "Set obj = CreateObject(""No.Such.Object"")"
Try "For Each y In 42 : Next"

Class Holder
  Public Kind, Value
  Public Property Let Item(v)
    Kind = TypeName(v)
    If IsObject(v) Then Set Value = v Else Value = v
  End Property
End Class
Class Wrapped
  Public Default Property Get Inner : Inner = "inner value" : End Property
End Class
Set obj = New Holder
obj.Item = New Wrapped
WScript.Echo "Property Let receives the object:", obj.Kind, obj.Value
Try "Set obj.Item = New Wrapped"
obj.Kind = New Wrapped
WScript.Echo "a field takes the object's value:", obj.Kind

arr = Array(Array("a", 0), Array(Empty, Empty))
arr(0)(1) = 5
Set arr(1)(0) = New Wrapped
WScript.Echo "nested elements written in place:", arr(0)(1), TypeName(arr(1)(0))
arr = Array(Nothing, 42)
Try "arr(0)(0) = 5"
Try "arr(1)(0) = 5"

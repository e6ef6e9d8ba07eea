' Values the compiled code holds for a moment: an object a statement computes and uses once (a
' call's result stored into a variable, an element, a parameter by reference, or compared in a
' condition) goes as soon as the statement is done with it, also when the value is stored by
' its default property; an element assignment reads the value's default property before it
' computes the subscript; under On Error Resume Next a failing statement lets go of its values too.
Dim arr(3), t, log, i

Class Noisy
  Public name
  Public Default Property Get Value
    log = log & "get " & name & ";"
    Value = 5
  End Property
  Private Sub Class_Terminate
    WScript.Echo "bye " & name
  End Sub
End Class

Class Silent
  Public name
  Private Sub Class_Terminate
    WScript.Echo "bye " & name
  End Sub
End Class

Function Make(text)
  Set Make = New Noisy
  Make.name = text
End Function

Function MakeSilent(text)
  Set MakeSilent = New Silent
  MakeSilent.name = text
End Function

Function Position
  log = log & "position;"
  Position = 1
End Function

' Into a global variable, an element at a name and at a name plus a literal, by default value.
t = Make("global")
WScript.Echo "stored", t
arr(1) = Make("element")
WScript.Echo "stored", arr(1)
i = 1
arr(i + 1) = Make("next element")
WScript.Echo "stored", arr(2)

' A condition's object goes before the block runs.
If Make("condition") = 5 Then WScript.Echo "in the block"
If Make("left") = Make("right") Then WScript.Echo "equal"
Do While Make("loop") <> 5
Loop
WScript.Echo "after the loop"

' The default property is read before the subscript (here a function called by its name).
log = ""
arr(Position) = Make("order")
WScript.Echo log
log = ""
arr(Position + 1) = Make("order plus one")
WScript.Echo log

' An element copied to another element: the value, not the object, and the object stays.
Set arr(0) = Make("kept")
arr(3) = arr(0)
WScript.Echo "copied", TypeName(arr(0)), TypeName(arr(3)), arr(3)
t = arr(0)
WScript.Echo "copied to a variable", TypeName(t)
Set arr(0) = Nothing
WScript.Echo "released the element"

' The same in a procedure without On Error, whose statements need not empty their temporaries
' afterwards.
Sub Stores
  t = Make("global from a procedure")
  WScript.Echo "stored", t
  arr(1) = Make("element from a procedure")
  WScript.Echo "stored", arr(1)
  arr(i + 1) = Make("next element from a procedure")
  WScript.Echo "stored", arr(2)
  If Make("condition in a procedure") = 5 Then WScript.Echo "in the block"
  If Make("left in a procedure") = Make("right in a procedure") Then WScript.Echo "equal"
  If 5 <> Make("literal on the left") Then WScript.Echo "unequal" Else WScript.Echo "equal"
  Do Until Make("until") = 5
  Loop
  log = ""
  arr(Position + 1) = Make("order in a procedure")
  WScript.Echo log
  Set arr(0) = Make("kept in a procedure")
  arr(3) = arr(0)
  t = arr(0)
  WScript.Echo "copied", TypeName(arr(0)), TypeName(arr(3)), TypeName(t)
  Set arr(0) = Nothing
  WScript.Echo "released the element"
End Sub
Stores

' In a procedure: a local and a parameter by reference.
Sub Locals(ByRef p)
  Dim x
  x = Make("local")
  WScript.Echo "local", x
  p = Make("by reference")
  WScript.Echo "parameter", p
End Sub
Dim q
Locals q
WScript.Echo "after the call", q

' Objects without a default property: the store fails, and the object still goes.
On Error Resume Next
arr(1) = MakeSilent("no default")
WScript.Echo "error", Err.Number
Err.Clear
t = MakeSilent("no default either")
WScript.Echo "error", Err.Number
Err.Clear
arr(9) = Make("out of range")
WScript.Echo "error", Err.Number
Err.Clear
On Error GoTo 0

Sub Failing
  On Error Resume Next
  arr(9) = Make("in a procedure, out of range")
  WScript.Echo "error in a procedure", Err.Number
  If MakeSilent("no default in a condition") = 1 Then WScript.Echo "the block runs"
  WScript.Echo "error in a condition", Err.Number
End Sub
Failing
WScript.Echo "done"

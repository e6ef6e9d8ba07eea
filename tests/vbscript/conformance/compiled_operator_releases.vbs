' An operator whose result a statement stores straight into a local variable lets go of the
' values it read (calls' results) once it has computed: objects read by their default property
' go before the next statement (the right one first), also when the operator fails; under
' On Error Resume Next too.
Dim log

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

Function Five(n)
  Five = 5 + n
End Function

Sub Operators
  Dim x, y
  x = Make("sum left") + Make("sum right")
  WScript.Echo "sum", x
  x = Make("difference") - 1
  WScript.Echo "difference", x
  x = 3 * Make("product")
  WScript.Echo "product", x
  x = Make("remainder") Mod Five(-2)
  WScript.Echo "remainder", x
  y = 2
  x = Make("with a local") + y
  WScript.Echo "with a local", x
  x = Five(1) + Five(2)
  WScript.Echo "numbers", x
  x = Make("a text") + "1"
  WScript.Echo "a text", x, TypeName(x)
  log = ""
  x = Make("order left") - Make("order right")
  WScript.Echo "order", x, log
End Sub
Operators

Sub Failing
  Dim x
  x = 1
  x = MakeSilent("no default left") + Five(0)
  WScript.Echo "not reached", x
End Sub

Sub FailingHandled
  Dim x
  On Error Resume Next
  x = 7
  x = MakeSilent("handled left") + Make("handled right")
  WScript.Echo "handled", x, Err.Number
  Err.Clear
  x = Make("mod zero") Mod Five(-5)
  WScript.Echo "mod zero", x, Err.Number
End Sub
FailingHandled

Sub Recursive(n)
  Dim x
  If n > 0 Then
    x = Make("level " & n) + Five(n)
    WScript.Echo "level", n, x
    Recursive n - 1
  End If
End Sub
Recursive 2

On Error Resume Next
Failing
WScript.Echo "after Failing", Err.Number

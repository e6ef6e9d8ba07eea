' Conversions with the classic rules: #TRUE# and #FALSE#, CByte(True), Round of a Boolean, the
' value of Eval for values that are not text, and Execute and GetRef given other values.
Sub Show(label, value)
  WScript.Echo label, value, TypeName(value)
End Sub
Show "CBool(""#TRUE#"")", CBool("#TRUE#")
Show "CBool(""#false#"")", CBool("#false#")
Show "CByte(True)", CByte(True)
Show "CByte(False)", CByte(False)
Show "Round(True)", Round(True)
Show "Round(False, 2)", Round(False, 2)
Show "Round(3, 1)", Round(3, 1)
Show "Round(""2.5"")", Round("2.5")
Show "CInt(-36.5)", CInt(-36.5)
Show "CLng(1.5)", CLng(1.5)
Show "Eval(42)", Eval(42)
Show "Eval(True)", Eval(True)
WScript.Echo "Eval(Null):", IsNull(Eval(Null)), "Eval(Empty):", IsEmpty(Eval(Empty))
Class TextValue
  Public Default Function Value : Value = "1 + 1" : End Function
End Class
Show "Eval of an object's text", Eval(New TextValue)
If "#TRUE#" Then WScript.Echo "If ""#TRUE#"" runs its Then part"
If Not "#FALSE#" Then WScript.Echo "Not ""#FALSE#"" is True"
Function Answer : Answer = 42 : End Function
Dim ref : Set ref = GetRef("Answer")
Show "GetRef called", ref()
Dim value : value = ref
Show "GetRef's value", value
Sub Try(code)
  On Error Resume Next
  Err.Clear
  ExecuteGlobal code
  WScript.Echo code, "->", Err.Number
End Sub
Try "Execute 42"
Try "ExecuteGlobal Null"
Try "Set ref = GetRef(""NoSuchProcedure"")"
Try "Set ref = GetRef("""")"
Try "Set ref = GetRef(123)"
Try "Set ref = GetRef(Empty)"
Try "value = Eval(Nothing)"

' And, Or, Xor, Eqv, Imp and Not take Empty as the Long 0 (arithmetic takes it as the Integer
' 0); Null propagates unless the other side decides; a Byte implies Null as its complement.
Sub Show(label, value)
  If IsNull(value) Then
    WScript.Echo label, "Null"
  Else
    WScript.Echo label, value, TypeName(value)
  End If
End Sub
Show "Empty And Empty", Empty And Empty
Show "Empty And False", Empty And False
Show "Empty And Null", Empty And Null
Show "Empty Or CInt(5)", Empty Or CInt(5)
Show "Empty Or Null", Empty Or Null
Show "Empty Xor CInt(5)", Empty Xor CInt(5)
Show "Empty Eqv Empty", Empty Eqv Empty
Show "Empty Imp Null", Empty Imp Null
Show "Not Empty", Not Empty
Show "CInt(5) Imp Empty", CInt(5) Imp Empty
Show "True Imp Empty", True Imp Empty
Show "CInt(0) And Null", CInt(0) And Null
Show "CInt(5) And Null", CInt(5) And Null
Show "True Or Null", True Or Null
Show "False Imp Null", False Imp Null
Show "CByte(0) Imp Null", CByte(0) Imp Null
Show "CByte(170) Imp Null", CByte(170) Imp Null
Show "CByte(255) Imp Null", CByte(255) Imp Null
Show "CDate(-1) Imp Null", CDate(-1) Imp Null
Show "Not CLng(0)", Not CLng(0)
Show "Empty + Empty", Empty + Empty
Show "Empty + CLng(7)", Empty + CLng(7)
Show "Empty ^ 2", Empty ^ 2
Show "+Empty", +Empty
Show "-Empty", -Empty
Show "Not ""#FALSE#""", Not "#FALSE#"
On Error Resume Next
x = 1 / Empty
WScript.Echo "1 / Empty:", Err.Number
Err.Clear
x = 1 Mod Empty
WScript.Echo "1 Mod Empty:", Err.Number

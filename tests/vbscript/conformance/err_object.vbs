' The Err object: its source, Raise keeping what an earlier Raise gave when arguments are left
' out, the numbers Raise accepts (COM statuses map to the language's numbers), help file and
' context cleared by a new error, and errors of compilation inside Execute and Eval.
Sub Show(label)
  WScript.Echo label & ":", Err.Number, "[" & Err.Source & "]", "[" & Err.Description & "]", _
      "[" & Err.HelpFile & "]", Err.HelpContext
End Sub
On Error Resume Next
x = 1 / 0
Show "division by zero"
Err.Clear
Show "cleared"
Err.Raise 1, "First", "Described", "help.chm", 7
Show "raised with everything"
Err.Raise 5
Show "raised with a number only"
Err.Clear
Err.Raise 5
Show "after Clear"
Err.Clear
Err.Raise 1, "Mine"
Err.Raise &h8007000E&
Show "COM status after a raise"
Err.Clear
Err.Raise &h8007000E&
Show "out of memory status"
Err.Clear
Err.Raise &h800A0009&
Show "engine status"
Err.Clear
Err.Raise &h80020005&
Show "dispatch type mismatch"
Err.Clear
Err.Raise &h80080008&
Show "unknown status"
Err.Raise 1, "Mine", "Text", "file.chm", 3
x = Array(1)(5)
Show "an engine error after a raise"
Err.Clear
Err.Raise 0
Show "zero"
Err.Clear
Err.Raise
Show "no number"
Err.Clear
Err.Raise &h10000&
Show "above 65535"
Err.Clear
Err.Raise -3000000000
Show "beyond a Long"
Err.Clear
Err.Raise &h8000
Show "&h8000"
Err.Clear
Err.Raise -&h8000
Show "-&h8000"
y = Err
WScript.Echo "Err's value:", y, TypeName(y)
Err.Clear
Execute "x = "
Show "Execute of bad code"
Err.Clear
y = Eval("1 +")
Show "Eval of bad code"
Err.Clear
y = Eval("Dim z")
Show "Eval of a statement"
Err.Clear
y = Eval("CBool(""maybe"")")
Show "Eval failing at run time"
On Error GoTo 0
Show "On Error GoTo 0 clears Err"

' On Error Resume Next, the Err object, Err.Raise and errors passing out of procedures.
On Error Resume Next
Dim x
x = 1 / 0
WScript.Echo Err.Number, Err.Description
Err.Clear
WScript.Echo Err.Number
x = CLng("zzz")
WScript.Echo Err.Number, Err.Description
Err.Raise 1000, "MySource", "Custom failure"
WScript.Echo Err.Number, Err.Source, Err.Description
Err.Raise 9
WScript.Echo Err.Number, Err.Source, Err.Description
Err.Clear
Err.Raise 9
WScript.Echo Err.Number, Err.Source, Err.Description
Err.Raise 12345
WScript.Echo Err.Number, Err.Description
Sub Fails
  Dim a(1)
  a(5) = 1
  WScript.Echo "not reached"
End Sub
Fails
WScript.Echo "after Fails", Err.Number
If 1 / 0 = 1 Then WScript.Echo "error in a condition goes on inside the block"
On Error GoTo 0
WScript.Echo Err.Number
WScript.Echo "before"
x = Array(1)(3)
WScript.Echo "never"

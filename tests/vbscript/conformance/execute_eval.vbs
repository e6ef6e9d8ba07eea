' Execute, ExecuteGlobal and Eval, in global and in procedure scope.
Dim x: x = 3
WScript.Echo Eval("x * 2")
Execute "x = x + 1"
WScript.Echo x
ExecuteGlobal "Function Sq(n): Sq = n * n: End Function"
WScript.Echo Sq(4)
Sub Local
  Dim y: y = 10
  Execute "y = y + 5"
  WScript.Echo y, Eval("y = 15")
End Sub
Local
WScript.Echo Eval("1 = 1"), TypeName(Eval("1 = 1"))
Execute "Dim made: made = ""by execute"""
WScript.Echo made
ExecuteGlobal "Class Dyn: Public V: End Class"
Dim o: Set o = New Dyn
o.V = "dynamic class"
WScript.Echo o.V
On Error Resume Next
Execute "x = (1"
WScript.Echo Err.Number, Err.Description
Err.Clear
WScript.Echo Eval("(2")
WScript.Echo Err.Number

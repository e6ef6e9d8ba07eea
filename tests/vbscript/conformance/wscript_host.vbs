' The console host's own objects.
WScript.StdOut.Write "no newline, "
WScript.StdOut.WriteLine "then a line"
WScript.Echo WScript.Arguments.Count
WScript.Echo "a", 1, True, Empty, 2.5, #1/2/2003#
WScript.Echo
Dim r: r = MsgBox("Continue?", 4, "Title")
WScript.Echo r
MsgBox "statement form"

' MsgBox goes to the host, which shows the prompt and answers; InputBox likewise.
Dim r
r = MsgBox("Save the game?", vbYesNo + vbQuestion, "Storyloom")
WScript.Echo r, TypeName(r), r = vbOK
MsgBox 42
MsgBox "Line one" & vbCrLf & "Line two"

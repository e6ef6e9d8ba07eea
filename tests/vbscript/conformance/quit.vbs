WScript.Echo "before quit"
WScript.Quit 0
WScript.Echo "after quit"

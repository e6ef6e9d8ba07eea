WScript.Echo "looping"
Do
Loop

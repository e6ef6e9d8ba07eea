WScript.Echo "never printed"
x = (1 + 2

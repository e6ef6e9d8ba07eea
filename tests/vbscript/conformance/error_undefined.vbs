Option Explicit
Dim a
a = 1
WScript.Echo a
b = 2

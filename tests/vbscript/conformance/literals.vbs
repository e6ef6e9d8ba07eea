' Number literals and the lexer's edge cases: hex literals with and without the Long suffix,
' negative literals, => and =<, & before a name starting with h, exponents.
Option Explicit
Dim hi, x
Sub Show(label, value)
  WScript.Echo label, value, TypeName(value)
End Sub
Show "&h10&", &h10&
Show "&hFFFF", &hFFFF
Show "&hFFFF&", &hFFFF&
Show "&hFFFFFFFF&", &hFFFFFFFF&
Show "&hFFFFFFFE&", &hFFFFFFFE&
Show "&h10000&", &h10000&
Show "&o17", &o17
Show "-32768", -32768
Show "-32767", -32767
Show "-&h8000", -&h8000
Show "--1", --1
Show "-3^2", -3^2
Show "2^-1", 2^-1
Show "2^3^2", 2^3^2
Show "34e+5", 34e+5
Show ".5e1", .5e1
Show "1e-300*1e-300", 1e-300*1e-300
Show "10.", 10.
Show "2147483648", 2147483648
WScript.Echo Hex(-32768), Hex(-32767), Hex(-&h8000)
WScript.Echo (&h01or&h02), &h0f And &hf0
hi = "y"
x = "x" &hi
WScript.Echo x, "a" &hi& "b"
WScript.Echo 2 => 1, 2 => 3, 1 =< 2, 3 =< 2, 2 >< 2
WScript.Echo 1 = 1 < 0, 0 = Not 1 = 1, "" = True = False

' Arithmetic operators and the types of their results.
Dim a, b
a = 5: b = 2
WScript.Echo a + b, a - b, a * b, a / b, a \ b, a Mod b, a ^ b
WScript.Echo TypeName(a + b), TypeName(a / b), TypeName(a ^ b)
WScript.Echo TypeName(32767 + 1), 32767 + 1
WScript.Echo TypeName(2147483647 + 1), 2147483647 + 1
WScript.Echo -7 \ 2, -7 Mod 2, 7 Mod -2
WScript.Echo 5.5 \ 2, 6.5 Mod 4
WScript.Echo 2 ^ -1, -2 ^ 2
WScript.Echo "3" + 4, "3" & 4, "a" + "b"
WScript.Echo TypeName("3" + 4)
WScript.Echo True + True, TypeName(True + True)
WScript.Echo TypeName(Empty + Empty), Empty + 1
WScript.Echo IsNull(Null + 1), IsNull(Null & Null), "x" & Null & "y"
WScript.Echo &HFF, &H10 + 1, &O17, &HFFFF, &HFFFFFFFF, TypeName(&HFFFF), TypeName(&H10000)
WScript.Echo 1E3, 1.5E-2, .5
WScript.Echo -(-32768), TypeName(-(-32768))
WScript.Echo 1 + 2 * 3, (1 + 2) * 3, 2 * 3 ^ 2, 7 \ 2 * 2, 10 - 2 - 3
WScript.Echo 1 & 2 + 3

' String functions: positions, limits, compare modes and Null propagation.
Option Explicit
Dim s, a, i
s = "The quick brown fox"
WScript.Echo Len(s), Left(s, 3), Right(s, 3), Mid(s, 5, 5), "[" & Mid(s, 50) & "]"
WScript.Echo InStr(s, "o"), InStr(14, s, "o"), InStr(1, s, "QUICK"), InStr(1, s, "QUICK", vbTextCompare)
WScript.Echo InStr(3, "abc", ""), InStr("", "a"), InStrRev(s, "o"), InStrRev(s, "o", 17)
WScript.Echo IsNull(Len(Null)), IsNull(Left(Null, 2)), IsNull(InStr(Null, "a")), IsNull(Mid(Null, 1))
WScript.Echo UCase("abc Déjà"), LCase("ABC"), "[" & Trim("  x  ") & "]", "[" & LTrim("  x  ") & "]", "[" & RTrim("  x  ") & "]"
WScript.Echo "[" & Space(3) & "]", String(4, "*"), String(3, 65), StrReverse("stressed")
WScript.Echo StrComp("a", "B"), StrComp("a", "B", 1), StrComp("abc", "ABC", vbTextCompare), StrComp("b", "a")
WScript.Echo Replace("a-b-c-d", "-", "+"), Replace("a-b-c-d", "-", "+", 3), Replace("a-b-c-d", "-", "+", 1, 2)
WScript.Echo Replace("Hello hello", "HELLO", "bye", 1, -1, vbTextCompare)
a = Split("one,two,,three", ",")
WScript.Echo UBound(a), a(0), "[" & a(2) & "]", a(3)
a = Split("a b c d", " ", 2)
WScript.Echo UBound(a), a(1)
a = Split("")
WScript.Echo UBound(a)
WScript.Echo Join(Array("x", 1, True), "|"), Join(Array("p", "q"))
a = Filter(Array("apple", "Banana", "cherry"), "an")
WScript.Echo UBound(a), a(0)
a = Filter(Array("apple", "Banana", "cherry"), "AN", False, vbTextCompare)
WScript.Echo UBound(a), a(0), a(1)
WScript.Echo Asc("A"), AscW("€"), Chr(97), ChrW(8364) = "€", Len(Chr(0))
WScript.Echo Escape("a b&c"), Unescape("%41%u0042")
For i = 1 To 3
  WScript.Echo i, Mid("abc", i, 1) & Left("xyz", i)
Next

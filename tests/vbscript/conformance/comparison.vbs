' Comparisons: numbers, strings, a literal taking the type of the other side, Empty and Null.
Dim n, s
n = 5: s = "5"
WScript.Echo n = s, n = "5", s = 5, n < s
WScript.Echo "abc" < "abd", "B" < "a", "10" < "9", 10 < 9, "a" <> "A"
WScript.Echo Empty = 0, Empty = "", IsNull(Null = Null), IsNull(1 < Null)
WScript.Echo 1 = 1.0, True = -1, 3 >= 3, 3 <= 2, 2 <> 2
Dim o1, o2: Set o1 = New C1: Set o2 = o1
WScript.Echo o1 Is o2, o1 Is Nothing, Nothing Is Nothing
Class C1
End Class

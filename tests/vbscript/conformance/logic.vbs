' And, Or, Xor, Not, Eqv, Imp on Booleans, on integers (bitwise) and with Null.
WScript.Echo True And False, True Or False, True Xor True, Not True, True Eqv False, False Imp True
WScript.Echo 12 And 10, 12 Or 3, 12 Xor 10, Not 0, Not 5
WScript.Echo TypeName(12 And 10), TypeName(True And 1), TypeName(True And False)
WScript.Echo IsNull(Null And True), Null And False, Null Or True, IsNull(Null Or False), IsNull(Not Null)
WScript.Echo Not 1 = 2, Not (1 = 2) And False

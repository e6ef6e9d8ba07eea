' Result types of mixed-type arithmetic: Byte, Single, Currency, Date, strings, Null.
WScript.Echo TypeName(CByte(200) + CByte(100)), CByte(200) + CByte(100)
WScript.Echo TypeName(CByte(5) + CByte(6)), TypeName(CByte(5) \ CByte(2))
WScript.Echo TypeName(CSng(1.5) + 1), TypeName(CSng(1.5) + CLng(1)), TypeName(CSng(1.5) * CSng(2))
WScript.Echo TypeName(CCur(1.5) + 1), CCur(1.5) + 1, TypeName(CCur(1) + 2.5), TypeName(CCur(1) * 2.5)
WScript.Echo TypeName(#1/1/2000# + 1), #1/1/2000# + 1, #1/2/2000# - #1/1/2000#, TypeName(#1/2/2000# - #1/1/2000#)
WScript.Echo 7.5 Mod 2, 8.5 \ 1, TypeName(7.5 Mod 2)
WScript.Echo "5" * "2", TypeName("5" * "2"), "1.5" + 1
WScript.Echo IsNull(Null * 2), IsNull(-Null), IsNull(Null \ 2)
WScript.Echo TypeName(-CByte(3)), -True, TypeName(-True)
WScript.Echo TypeName(CLng(5) + 1), TypeName(1 + 1), TypeName(1.5 + 1)
On Error Resume Next
Dim x
x = "abc" * 1
WScript.Echo Err.Number
Err.Clear
x = 5 \ 0
WScript.Echo Err.Number
Err.Clear
x = 0 / 0
WScript.Echo Err.Number

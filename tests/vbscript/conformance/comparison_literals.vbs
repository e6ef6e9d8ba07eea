' Comparisons of text with numbers and Booleans. Against a number written as a literal, text
' is read as a number (text that is no number is a type mismatch); a number that comes from a
' variable, a constant, a calculation or a function compares as its text with literal text and
' is less than any other text; a Boolean compares as its name, a Byte and a Currency as their
' text; a Single against a Double compares at the Single's precision.
Option Explicit
Dim zero, five, ten, spaces
zero = "0" : five = 5 : ten = 10 : spaces = Space(3)
Const FIVE_C = 5
Function GetFive : GetFive = 5 : End Function
WScript.Echo "text variable against literals:", zero > 30, zero < 30, "10" > 9, "42" = 42, "+5" = 5, "&hff" = 255
WScript.Echo "literal text against variables:", "5" = five, "010" = ten, "abc" = five, "abc" = FIVE_C, "abc" = GetFive()
WScript.Echo "literal text against calculations:", "010" = (5 + 5), "abc" = -5, "010" = CInt(10)
WScript.Echo "numbers below other text:", Len("ab") < spaces, Len("ab") > spaces, Len("ab") > ""
WScript.Echo "text against text:", "10" > "9", "a" < "B"
WScript.Echo "Booleans as names:", "True" = True, "False" = False, "true" = True, "-1" = True, "" = True, "True" > False, "abc" > True
WScript.Echo "Byte and Currency as text:", "5" = CByte(5), "abc" = CByte(5), "10" > CByte(5), "5" < CCur(10)
WScript.Echo "Single against Double:", CSng(0.1) = 0.1, CSng(0.5) = 0.5, CDbl(CSng(0.1)) = 0.1
Sub Try(code)
  On Error Resume Next
  Err.Clear
  Dim result
  Execute "result = " & code
  WScript.Echo code, "->", Err.Number, result
End Sub
Try "(""abc"" = 5)"
Try "("""" = 5)"
Try "("" "" = 0)"
Try "(5 > ""abc"")"
Try "(""abc"" = #1/15/2024#)"
Try "(""abc"" = 1.5)"
Dim s
Select Case 3
  Case "test" : s = "test"
  Case "3" : s = "text 3"
  Case Else : s = "else"
End Select
WScript.Echo "Select Case compares its value as a variable:", s

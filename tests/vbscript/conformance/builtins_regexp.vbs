' RegExp: Test, Execute with submatches, global Replace with $ references.
Option Explicit
Dim re, m, matches, s
Set re = New RegExp
re.Pattern = "(\w+)@(\w+)\.com"
re.Global = True
Set matches = re.Execute("ann@home.com, bob@work.com")
WScript.Echo matches.Count
For Each m In matches
  WScript.Echo m.Value, m.FirstIndex, m.Length, m.SubMatches.Count, m.SubMatches(0), m.SubMatches(1)
Next
WScript.Echo matches(1).Value, matches.Item(0).SubMatches.Item(1)
WScript.Echo re.Replace("ann@home.com, bob@work.com", "$2:$1")
re.Pattern = "^hello"
re.Global = False
WScript.Echo re.Test("Hello world"), re.Test("hello world")
re.IgnoreCase = True
WScript.Echo re.Test("Hello world")
re.Pattern = "o"
WScript.Echo re.Replace("foo boo", "0")
re.Global = True
WScript.Echo re.Replace("foo boo", "0"), re.Replace("foo", "[$&]"), re.Replace("abc", "$$")
re.Pattern = "x*"
WScript.Echo re.Replace("abc", "-")
re.Pattern = "^\d+$"
re.Multiline = True
WScript.Echo re.Execute("12" & vbLf & "ab" & vbLf & "345").Count
re.Pattern = "(a)|(b)"
Set m = re.Execute("b")(0)
WScript.Echo IsEmpty(m.SubMatches(0)), m.SubMatches(1)
Set re = CreateObject("VBScript.RegExp")
re.Pattern = "(unclosed"
On Error Resume Next
re.Test "x"
WScript.Echo Err.Number, Err.Description
On Error GoTo 0
' A function as the replacement gets the match, the submatches, the position and the text.
Function Shout(match, letter, position, source)
  Shout = UCase(match) & position
End Function
re.Pattern = "b(.)"
re.Global = True
WScript.Echo re.Replace("abcabd", GetRef("Shout"))
' A replacement that is not text is converted as a number: True is -1.
Set re = New RegExp
re.Pattern = "\[([^\[]+)\]"
WScript.Echo re.Replace("- [x] -", True), re.Replace("- [x] -", 6)
re.Global = True
re.Pattern = "(\$(\d))"
WScript.Echo re.Replace("$1,$2", "$$1-$1$2")
re.Pattern = ""
WScript.Echo re.Replace("xxx", "y")

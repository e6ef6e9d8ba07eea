Rem Comments, line continuation, colons, letter case, bracketed names, date literals.
Dim Total ' trailing comment
total = 1 + _
  2 + _
  3
WScript.Echo TOTAL : wscript.echo "case" ' comment
Dim [my var]
[my var] = "bracketed"
WScript.Echo [my var]
WScript.Echo #3/7/2004#, #2:05:09 PM#, #2004-03-07 14:05:09#
WScript.Echo TypeName(#1/1/2000#)
WScript.Echo "quote "" inside"
If True Then
  WScript.Echo "block": End If
Const Greeting = "hi", Answer = 42
WScript.Echo Greeting, Answer, -Answer
WScript.Echo Len("abc"): Rem also a comment

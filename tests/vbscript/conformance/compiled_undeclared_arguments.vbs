' Names nothing declares passed as arguments in code run by the bytecode (no Option Explicit):
' each becomes a variable at its first use, passed by reference to a parameter declared so, its
' value taken in its turn when an argument after it may change it.
Dim log

Sub Note(text)
  log = log & text & ";"
End Sub
Sub Bump(n)
  n = n + 1
End Sub
Sub Both(ByVal a, b)
  Note "both " & a & " " & b
  b = b & "!"
End Sub
Function Change()
  later = "changed"
  Change = "c"
End Function

counter = 1
Bump counter
Bump fresh
Note counter & " " & fresh
later = "first"
Both later, Change()
Note later
WScript.Echo log, undeclared, TypeName(undeclared)
log = ""
later = "again"
WScript.Echo later, Change(), later
Both unseen, unseen
WScript.Echo log, unseen

' Calls sure to fail, raised by the bytecode before the arguments as the tree walker raises
' them: a wrong count of arguments (450), a call past the depth limit (28), an unknown member
' (438), a member without a procedure for that use (438); the object a member was called on let
' go of first. Each error with its number and description, under On Error Resume Next, and the
' last one uncaught with its line.
Option Explicit

Dim log, depth, lastMark, o, d
Sub Note(text)
  log = log & text & ";"
End Sub
Sub Flush(title)
  WScript.Echo title & ": " & log
  log = ""
End Sub
Function Idx(n)
  Note "idx " & n
  Idx = n
End Function
Sub Report()
  Note Err.Number & " " & Err.Description
  Err.Clear
End Sub

Sub Two(a, b)
  Note "two " & a & " " & b
End Sub
Function Three(a, b, c)
  Three = a + b + c
End Function

Class Thing
  Public name
  Public Sub Method(a, b)
    Note "method " & a & " " & b
  End Sub
  Public Property Let WriteOnly(v)
    Note "let " & v
  End Property
  Public Property Get ReadOnly()
    ReadOnly = "ro"
  End Property
  Public Property Let Prop(v)
    Note "prop " & v
  End Property
  Public Sub Recurse(n)
    depth = n
    lastMark = n
    Recurse Mark(n + 1)
  End Sub
  Public Sub Outer()
    Helper Idx(1), Idx(2)
  End Sub
  Public Sub Helper(a)
    Note "helper " & a
  End Sub
  Private Sub Class_Terminate()
    Note "terminate " & name
  End Sub
End Class
Function Mark(n)
  lastMark = n
  Mark = n
End Function
Function MakeThing(name)
  Set MakeThing = New Thing
  MakeThing.name = name
End Function

On Error Resume Next
Two Idx(1)
Report
Call Two(Idx(1), Idx(2), Idx(3))
Report
Note Three(Idx(1), Idx(2))
Report
Note "after " & Three(1, 2, 3)
Flush "procedures"

Sub Deep(n)
  depth = n
  lastMark = n
  Deep Mark(n + 1)
End Sub
Deep 1
Note Err.Number & " " & Err.Description & " " & (lastMark = depth)
Err.Clear
depth = 0
Set o = MakeThing("deep")
o.Recurse 1
' (whether the last argument was evaluated is left out: near the C stack's limit, which a
' method's recursion may reach first, the call is refused after its arguments)
Note Err.Number & " " & Err.Description
Err.Clear
Flush "depth"

o.Method Idx(1)
Report
o.Method Idx(1), Idx(2), Idx(3)
Report
Note o.WriteOnly
Report
Note o.WriteOnly(Idx(1))
Report
o.ReadOnly = Idx(1)
Report
Set o.Prop = o
Report
o.Nope Idx(1)
Report
o.Outer
Report
Flush "script members"

Set d = CreateObject("Scripting.Dictionary")
d.Missing Idx(1)
Report
Note d.Nope(Idx(1), Idx(2))
Report
WScript.NoSuchMember Idx(1)
Report
d.Add "k", 1
Note d.Count
Flush "host members"

Sub Values()
  On Error Resume Next
  Dim k, n
  k = 3
  Note k(Idx(1))
  Report
  Set n = Nothing
  Note n(Idx(1), Idx(2))
  Report
  k = Array(5, 6)
  Note k(Idx(1))
End Sub
Values
Flush "values called with arguments"

Class Plain
End Class
Dim gk
Const kc = 4
Sub Names()
  On Error Resume Next
  Dim k, z
  k = 3
  k
  Report
  Call k
  Report
  Call k()
  Report
  k Idx(1)
  Report
  Call k(Idx(1), Idx(2))
  Report
  Set z = Nothing
  z Idx(1)
  Report
  Call z
  Report
  Note Plain(Idx(1))
  Report
  Plain
  Report
  Call Plain(Idx(1))
  Report
  Execute
  Report
  Note Eval(Idx(1), Idx(2))
  Report
  gk = "text"
  gk Idx(1)
  Report
  gk
  Report
  Note kc(Idx(1))
  Report
  k = Array(1, 2)
  k
  Report
  k Idx(1)
  Report
End Sub
Names
Flush "names that hold nothing to call"

MakeThing("gone").Method Idx(1)
Report
MakeThing("unknown").Nope Idx(1)
Report
Note MakeThing("write only").WriteOnly
Report
Flush "objects let go of"

On Error GoTo 0
Note "end"
Flush "before the last"
o.Method 1

' Member calls and reads the bytecode evaluates itself (host objects held in variables, with
' arguments it computes) and those it leaves to the tree walker (script objects, unknown
' members, no object): calls as statements and as values, arguments by reference, default
' members, errors and their order, On Error, and when Class_Terminate runs.
Option Explicit

Dim log
Sub Note(text)
  log = log & text & ";"
End Sub

Class Counter
  Public Count
  Private items_
  Private Sub Class_Initialize()
    Count = 0
    Set items_ = CreateObject("Scripting.Dictionary")
  End Sub
  Public Default Property Get Item(k)
    Item = items_(k)
  End Property
  Public Property Let Item(k, v)
    items_(k) = v
    Count = Count + 1
  End Property
  Public Property Get Items()
    Set Items = items_
  End Property
  Public Property Set Target(o)
    Set items_ = o
  End Property
  Public Sub Bump(ByRef n, ByVal m)
    n = n + 1
    m = m + 1
    Count = Count + 1
  End Sub
  Public Function Twice(n)
    n = n * 2
    Twice = n
  End Function
  Public Sub Fail(number)
    Count = Count + 100
    Err.Raise number, "Counter", "failed " & number
    Count = Count + 1000
  End Sub
  Public Function Divide(a, b)
    Divide = a / b
  End Function
  Public Sub Store(k, v)
    items_.Add k, v
  End Sub
End Class

Class Noisy
  Public Name
  Public Function Value()
    Value = "value of " & Name
  End Function
  Public Sub Drop()
    Set holder = Nothing
    Note "dropped " & Name
  End Sub
  Private Sub Class_Terminate()
    Note "end " & Name
  End Sub
End Class

Dim holder

' ---- Dictionary: statements, values, arguments computed, variables and literals ----
Sub DictionaryCalls()
  Dim d, i, k, total, keys
  Set d = CreateObject("Scripting.Dictionary")
  For i = 1 To 5
    d.Add "key" & i, i * 10
  Next
  k = "key3"
  d.Add k, "three"  ' duplicate: 457
  WScript.Echo "unreached"
End Sub
On Error Resume Next
DictionaryCalls
WScript.Echo "duplicate key:", Err.Number
On Error GoTo 0

Sub DictionaryValues()
  Dim d, i, k, total
  Set d = CreateObject("Scripting.Dictionary")
  For i = 1 To 5
    d.Add "key" & i, i * 10
  Next
  total = 0
  For i = 0 To 6
    If d.Exists("key" & i) Then total = total + d.Item("key" & i)
  Next
  WScript.Echo "count", d.Count, "total", total
  k = "key2"
  WScript.Echo "item", d.Item(k), d(k), d("key" & 4), d.Exists(k), d.Exists("nope")
  d(k) = "two"
  d.Item("key5") = 55
  WScript.Echo "changed", d(k), d.Item("key5"), d.Count
  WScript.Echo "keys by index", d.Keys(0), d.Keys()(1), d.Items(2)
  d.Remove "key1"
  d.Remove k
  WScript.Echo "after remove", d.Count, Join(d.Keys, ",")
  WScript.Echo "missing item", TypeName(d.Item("key9")), d.Count
  Dim keys: keys = d.Keys
  WScript.Echo "keys", UBound(keys), keys(0)
  d.RemoveAll
  WScript.Echo "empty", d.Count
  d.CompareMode = 1
  d.Add "Abc", 1
  WScript.Echo "text compare", d.Exists("ABC"), d.CompareMode
  Dim nd: Set nd = CreateObject("Scripting.Dictionary")
  For i = 1 To 4
    nd.Add i, i * i
  Next
  i = 2
  WScript.Echo "numeric keys", nd(i), nd(i + 1), nd(i - 1), nd(4), TypeName(nd(i + 5)), nd.Count
End Sub
DictionaryValues

' The same in global code (the object a global variable).
Dim gd, gi, gtotal, gk
Set gd = CreateObject("Scripting.Dictionary")
For gi = 1 To 300
  gd.Add "k" & gi, gi
Next
gtotal = 0
For gi = 1 To 300
  If gd.Exists("k" & gi) Then gtotal = gtotal + gd.Item("k" & gi)
Next
gk = "k7"
WScript.Echo "global", gd.Count, gtotal, gd(gk), gd.Item(gk) + 1, gd.Exists(gk & "x")

' ---- Errors: their numbers, their order, On Error ----
Sub Errors()
  Dim d, nothingHere, n, x
  Set d = CreateObject("Scripting.Dictionary")
  On Error Resume Next
  d.Add "a", 1
  d.Add "a", 2
  WScript.Echo "dup", Err.Number, Err.Description
  Err.Clear
  d.Nope 1 / 0  ' the member is looked up before the arguments are evaluated
  WScript.Echo "unknown member first", Err.Number
  Err.Clear
  x = d.Nope
  WScript.Echo "unknown member read", Err.Number, IsEmpty(x)
  Err.Clear
  x = 5
  x = d.Item(1 / 0)
  WScript.Echo "argument fails", Err.Number, x
  Err.Clear
  d.Add 1 / 0, 2
  WScript.Echo "argument of a statement fails", Err.Number, d.Count
  Err.Clear
  x = d.Count(1)
  WScript.Echo "count with an argument", Err.Number
  Err.Clear
  x = d.Keys(5)
  WScript.Echo "key index past the end", Err.Number
  Err.Clear
  Set nothingHere = Nothing
  nothingHere.Add 1, 2
  WScript.Echo "nothing", Err.Number
  Err.Clear
  x = nothingHere(1)
  WScript.Echo "nothing indexed", Err.Number
  Err.Clear
  x = n(1)
  WScript.Echo "number indexed", Err.Number
  Err.Clear
  n = 3
  n.Add 1, 2
  WScript.Echo "no object", Err.Number
  Err.Clear
  x = n.Value
  WScript.Echo "no object read", Err.Number
  Err.Clear
  d.Remove "zzz"
  WScript.Echo "remove missing", Err.Number
  Err.Clear
  If d.Item(1 / 0) Then WScript.Echo "condition that fails runs the block"
  WScript.Echo "after", Err.Number
  On Error GoTo 0
End Sub
Errors

' ---- RegExp and its matches ----
Sub Patterns()
  Dim re, ms, m, s, i
  Set re = New RegExp
  re.Pattern = "(\w)(\d+)"
  re.Global = True
  s = "a12 b3 c456"
  WScript.Echo "test", re.Test(s), re.Test("---")
  WScript.Echo "replace", re.Replace(s, "$2$1"), re.Replace(s, True)
  Set ms = re.Execute(s)
  WScript.Echo "matches", ms.Count, ms.Item(1).Value, ms(2).FirstIndex
  For i = 0 To ms.Count - 1
    Set m = ms.Item(i)
    WScript.Echo "match", i, m.Value, m.SubMatches.Count, m.SubMatches(0), m.SubMatches.Item(1)
  Next
  On Error Resume Next
  re.Pattern = "("
  WScript.Echo "bad pattern", re.Test(s), Err.Number
  WScript.Echo "bad pattern skipped the statement", Err.Number
  On Error GoTo 0
End Sub
Patterns

' ---- Err ----
Sub ErrCalls()
  On Error Resume Next
  Err.Raise 1000 + 5, "here", "raised"
  WScript.Echo "err", Err.Number, Err.Source, Err.Description
  Err.Clear
  WScript.Echo "cleared", Err.Number, Len(Err.Description)
End Sub
ErrCalls

' ---- Script objects: properties, default members, ByRef, errors in methods ----
Sub ScriptObjects()
  Dim c, a, b, r, d
  Set c = New Counter
  c("x") = 1
  c.Item("y") = 2
  WScript.Echo "default", c("x"), c.Item("y"), c.Count
  a = 5: b = 7
  c.Bump a, b
  WScript.Echo "byref", a, b, c.Count
  c.Bump (a), b
  WScript.Echo "in parentheses", a
  Call c.Bump(a, b)
  WScript.Echo "call", a
  r = c.Twice(a)
  WScript.Echo "twice", r, a
  r = c.Twice(a + 0)
  WScript.Echo "twice of a value", r, a
  WScript.Echo "items", c.Items.Count, c.Items("x")
  Set d = CreateObject("Scripting.Dictionary")
  d.Add "z", 26
  Set c.Target = d
  WScript.Echo "set property", c("z"), c.Items.Count
  c.Store "w", 23
  WScript.Echo "stored through", d("w"), d.Count
  On Error Resume Next
  c.Fail 42
  WScript.Echo "raised in a method", Err.Number, Err.Source, Err.Description, c.Count
  Err.Clear
  r = "kept"
  r = c.Divide(1, 0)
  WScript.Echo "failed in a function", Err.Number, r
  Err.Clear
  c.Nothing_Here
  WScript.Echo "no such member", Err.Number
  Err.Clear
  c.Bump a
  WScript.Echo "wrong count", Err.Number, a
  Err.Clear
  c.Bump 1 / 0, a
  WScript.Echo "argument fails", Err.Number
  On Error GoTo 0
End Sub
ScriptObjects

' ---- Host arguments by reference: a variable passed to a host member is written back ----
Sub HostByRef()
  Dim d, k, v
  Set d = CreateObject("Scripting.Dictionary")
  k = "key": v = 1
  d.Add k, v
  v = 2
  WScript.Echo "values are copied", d(k), v
  d.Key(k) = "other"
  WScript.Echo "renamed", d.Exists(k), d.Exists("other"), k
End Sub
HostByRef

' ---- When Class_Terminate runs ----
Sub Terminations()
  Dim n, d
  log = ""
  Set holder = New Noisy
  holder.Name = "A"
  holder.Drop
  Note "after drop"
  WScript.Echo log
  log = ""
  Set n = New Noisy
  n.Name = "B"
  Set d = CreateObject("Scripting.Dictionary")
  d.Add "n", n
  Set n = Nothing
  Note "in dictionary"
  d.Remove "n"
  Note "removed"
  WScript.Echo log
  log = ""
  Set holder = New Noisy
  holder.Name = "C"
  Note holder.Value()
  WScript.Echo log
  log = ""
  Set d = CreateObject("Scripting.Dictionary")
  Set n = New Noisy
  n.Name = "D"
  d.Add 1, n
  Set n = Nothing
  Note "count " & d.Count
  d.RemoveAll
  Note "all removed"
  WScript.Echo log
End Sub
Terminations

' ---- The last error leaves unhandled, from a member call in a procedure ----
Sub Outer()
  Dim d
  Set d = CreateObject("Scripting.Dictionary")
  d.Add "x", 1
  WScript.Echo "before the last error", d.Count
  d.Add "x", 2
End Sub
Outer

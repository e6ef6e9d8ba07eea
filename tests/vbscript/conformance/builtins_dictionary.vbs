' Scripting.Dictionary: order, default Item, compare modes, Key renaming and its errors.
Option Explicit
Dim d, k, s
Set d = CreateObject("Scripting.Dictionary")
d.Add "b", 2
d.Add "a", 1
d("c") = 3
d.Item("a") = 10
WScript.Echo d.Count, d("a"), d.Item("b"), d.Exists("c"), d.Exists("C")
s = ""
For Each k In d
  s = s & k & "=" & d(k) & " "
Next
WScript.Echo s
WScript.Echo Join(d.Keys, ","), Join(d.Items, ",")
WScript.Echo IsEmpty(d("missing")), d.Exists("missing"), d.Count
d.Remove "missing"
d.Key("b") = "bee"
WScript.Echo Join(d.Keys, ","), d("bee")
d.Add 1, "one"
WScript.Echo d.Exists(1), d.Exists("1"), d.Exists(1.0)
On Error Resume Next
d.Add "a", 99
WScript.Echo Err.Number, Err.Description
Err.Clear
d.Remove "nothing here"
WScript.Echo Err.Number
Err.Clear
d.CompareMode = vbTextCompare
WScript.Echo Err.Number
Err.Clear
On Error GoTo 0
d.RemoveAll
d.CompareMode = vbTextCompare
d.Add "Key", "v"
WScript.Echo d.Count, d.Exists("KEY"), d.CompareMode

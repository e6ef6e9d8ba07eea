' Late-bound calls on objects: default members with arguments, For Each over a collection,
' arguments applied to the value of a member that takes none.
Dim d, k
Set d = CreateObject("Scripting.Dictionary")
d.Add "a", 1: d("b") = 2: d.Item("c") = 3
For Each k In d
  WScript.Echo k, d(k)
Next
WScript.Echo d.Count, Join(d.Keys, ","), d.Exists("b")
Dim re: Set re = New RegExp
re.Pattern = "(\d+)-(\d+)"
re.Global = True
Dim m
For Each m In re.Execute("10-20 and 30-40")
  WScript.Echo m.Value, m.SubMatches(0), m.SubMatches(1)
Next
Function MakeArr(n)
  Dim r(): ReDim r(n - 1)
  Dim i: For i = 0 To n - 1: r(i) = i * i: Next
  MakeArr = r
End Function
WScript.Echo Join(MakeArr(4), " ")
WScript.Echo UBound(MakeArr(3)), MakeArr(3)(2)
Class Box
  Private items_
  Private Sub Class_Initialize: items_ = Array("p", "q"): End Sub
  Public Property Get Items: Items = items_: End Property
End Class
Dim bx: Set bx = New Box
WScript.Echo bx.Items(1), UBound(bx.Items)

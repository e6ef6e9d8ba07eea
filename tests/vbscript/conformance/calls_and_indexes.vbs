' Calls and indexes chained on results: f()(i), obj.Member()(i).Member, default members called
' as statements, GetRef results called and passed around, Execute and Eval seeing the caller's
' locals, and the errors of calls with the wrong number of arguments or endless recursion.
Class Container
  Public Default Property Get Item(key)
    If key = "pair" Then Item = Array("first", Array("inner one", "inner two"))
  End Property
End Class
Dim box : Set box = New Container
WScript.Echo box.Item("pair")(0), box("pair")(1)(1), Split("a;b;c", ";")(2), Array(10, 20)(1)
Function Nested : Nested = Array(Array(1, 2), Array(3, 4)) : End Function
WScript.Echo Nested()(1)(0), UBound(Nested()), Len(Split("abc,de", ",")(1))
Dim d : Set d = CreateObject("Scripting.Dictionary")
d.Add "one", 1 : d.Add "two", 2
Dim outer : Set outer = CreateObject("Scripting.Dictionary")
outer.Add "inner", d
WScript.Echo d.Keys()(1), d.Items()(0), outer.Items()(0).Item("two")

Dim said
Class Speaker
  Public Default Sub Say(text) : said = "said " & text : End Sub
End Class
Class Caller
  Public Default Function Run : said = "ran" : End Function
End Class
Dim s : Set s = New Speaker
s "hello"
WScript.Echo said
Set s = New Caller
s
WScript.Echo said

Function Add(a, b) : Add = a + b : End Function
Sub Remember(a, b) : said = a & "+" & b : End Sub
Dim ref : Set ref = GetRef("ADD")
Function Apply(f, x, y) : Apply = f(x, y) : End Function
WScript.Echo ref(2, 3), Apply(ref, 4, 5), TypeName(ref)
Set ref = GetRef("Remember")
Call ref(6, 7)
WScript.Echo said

Sub Scopes
  Dim a, x
  a = 10 : x = 100
  Execute "a = a + 1"
  Execute "Dim x"
  Execute "Dim created : created = 5"
  WScript.Echo a, x, Eval("a * 2"), created
End Sub
Scopes
ExecuteGlobal "Function Made : Made = ""made"" : End Function"
WScript.Echo Made()

Sub Three(a, b, c) : End Sub
Sub Forever : Forever : End Sub
Sub Try(code)
  On Error Resume Next
  Err.Clear
  ExecuteGlobal code
  WScript.Echo Err.Number, Err.Description
End Sub
Try "Three 1"
Try "Three 1, 2, 3, 4"
Try "x = Add(1)"
Try "Forever"
Dim n : n = 5
Try "n"
Try "Set ref = GetRef(""Nothing_Here"")"

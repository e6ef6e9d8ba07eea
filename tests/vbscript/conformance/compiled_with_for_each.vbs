' With blocks and For Each loops run by the bytecode: members of the With object called, read
' and assigned, nested With, With objects that are results, leaving a With by Exit; For Each
' over arrays and collections, the variable after the loop, Exit For, errors in the head under
' On Error Resume Next, and when Class_Terminate runs.
Option Explicit

Dim log
Sub Note(text)
  log = log & text & ";"
End Sub
Sub Flush(title)
  WScript.Echo title & ": " & log
  log = ""
End Sub

Class Item
  Public Name
  Public Child
  Public Count
  Private Sub Class_Terminate()
    Note "end " & Name
  End Sub
  Public Function Greet(who)
    Greet = Name & " greets " & who
  End Function
  Public Sub Bump(ByRef n)
    n = n + 1
    Count = Count + 1
  End Sub
  Public Sub Describe()
    With Me
      Note "me " & .Name & " " & .Greet("myself")
    End With
  End Sub
End Class

Function Make(name)
  Dim n
  Set n = New Item
  n.Name = name
  n.Count = 0
  Note "make " & name
  Set Make = n
End Function

Sub WithBlocks()
  Dim a, n, d, s
  Set a = Make("a")
  n = 1
  With a
    .Name = "renamed"
    .Bump n
    .Bump n
    s = .Greet("you") & " " & .Count
    Set .Child = Make("child")
    With .Child
      .Name = "inner"
      s = s & " / " & .Greet("outer " & a.Name)
      ' a member with an argument the code leaves to the tree walker
      s = s & " / " & .Greet(Len("abc"))
    End With
    s = s & " / " & .Greet(Len("ab"))
    .Describe
  End With
  WScript.Echo s, n
  Set d = CreateObject("Scripting.Dictionary")
  With d
    .Add "k1", 1
    .Add "k2", 2
    .Item("k1") = 10
    WScript.Echo .Count, .Item("k1"), .Exists("k2"), Join(.Keys, ",")
  End With
  Set a = Nothing
  Flush "with"
End Sub
WithBlocks

' A With object that is a result ends at End With; leaving a With by Exit Do, Exit For and
' Exit Sub; a With in a loop, and the outer With's object after an inner one was left.
Sub Leaving()
  Dim k, outer
  With Make("result")
    Note .Greet("block")
  End With
  Note "after the block"
  Set outer = Make("outer")
  With outer
    Do
      With Make("looped")
        Note .Name
        Exit Do
      End With
    Loop
    Note "back to " & .Greet(Len("x"))
    For k = 1 To 3
      With Make("for " & k)
        If k = 2 Then Exit For
        Note .Name
      End With
    Next
    Note "again " & .Name & " " & .Greet(CStr(k))
  End With
  ExitFromWith
  Note "returned"
  Set outer = Nothing
  Flush "leaving"
End Sub

Sub ExitFromWith()
  With Make("exited")
    Note .Name
    Exit Sub
  End With
End Sub
Leaving

' With in global code, and errors: a failing head under On Error Resume Next runs the body with no
' object; Nothing and a value that is no object.
Dim g, nothingHere
Set g = Make("global")
With g
  .Count = 5
  .Bump g.Count
End With
WScript.Echo g.Name, g.Count
Set g = Nothing

Sub WithErrors()
  Dim z, v
  On Error Resume Next
  With z.Missing
    .Name = "no object"
    WScript.Echo "failing head:", Err.Number
    Err.Clear
    v = .Name
    WScript.Echo "member of no object:", Err.Number
    Err.Clear
  End With
  Set nothingHere = Nothing
  With nothingHere
    .Bump v
    WScript.Echo "Nothing:", Err.Number
    Err.Clear
  End With
  With 5
    v = .Name
    WScript.Echo "a number:", Err.Number
    Err.Clear
  End With
  With Make("unknown")
    .Missing 1
    WScript.Echo "unknown member:", Err.Number
    Err.Clear
  End With
  Flush "with errors"
End Sub
WithErrors

' For Each over arrays and collections.
Sub ForEachLoops()
  Dim x, s, arr, grid(1, 1), d, re, m, total
  arr = Array(1, "two", 3.5)
  s = ""
  For Each x In arr
    s = s & TypeName(x) & " "
  Next
  WScript.Echo s & "[" & TypeName(x) & "]"
  grid(0, 0) = "a": grid(1, 0) = "b": grid(0, 1) = "c": grid(1, 1) = "d"
  s = ""
  For Each x In grid
    s = s & x
  Next
  WScript.Echo "grid:", s
  ' the loop goes over the array as it was when it started
  s = ""
  For Each x In arr
    s = s & x & " "
    arr(2) = "changed"
    ReDim Preserve arr(5)
  Next
  WScript.Echo "changed while looping:", s, UBound(arr)
  Set d = CreateObject("Scripting.Dictionary")
  d.Add "a", 1
  d.Add "b", 2
  d.Add "c", 3
  s = ""
  total = 0
  For Each x In d
    s = s & x
    total = total + d(x)
  Next
  WScript.Echo "dictionary:", s, total
  For Each x In d.Items
    total = total + x
  Next
  WScript.Echo "items:", total
  Set re = New RegExp
  re.Pattern = "\d+"
  re.Global = True
  s = ""
  For Each m In re.Execute("a1 b22 c333")
    s = s & m.Value & "@" & m.FirstIndex & " "
  Next
  WScript.Echo "matches:", s
  ' nested, and Exit For keeps the item
  s = ""
  For Each x In Array(1, 2, 3)
    For Each m In Array("a", "b", "c")
      If m = "b" Then Exit For
      s = s & x & m & " "
    Next
    If x = 2 Then Exit For
  Next
  WScript.Echo "nested:", s, x, m
  For Each x In Array()
    WScript.Echo "never"
  Next
  WScript.Echo "empty array:", TypeName(x)
End Sub
ForEachLoops

' The loop variable: a global, a parameter by reference, a field.
Dim gv
Sub SetByRef(ByRef target)
  For Each target In Array("p", "q")
    Note "param " & target
  Next
End Sub
For Each gv In Array(7, 8)
  Note "global " & gv
Next
Note "global after [" & gv & "]"
gv = "x"
SetByRef gv
Note "by reference after [" & gv & "]"
Flush "variables"

' Objects as items end when the variable lets go of them.
Sub ObjectItems()
  Dim x, list
  list = Array(Make("first"), Make("second"))
  For Each x In list
    Note "at " & x.Name
  Next
  Note "loop done"
  list = Empty
  Note "list dropped"
  Flush "object items"
End Sub
ObjectItems

' Errors under On Error Resume Next: in the head, in the body, over things that are no collection.
Sub ForEachErrors()
  Dim x, count, z, nothingHere2, o
  On Error Resume Next
  count = 0
  For Each x In 5
    count = count + 1
  Next
  WScript.Echo "a number:", count, Err.Number, Err.Description
  Err.Clear
  count = 0
  Set nothingHere2 = Nothing
  For Each x In nothingHere2
    count = count + 1
  Next
  WScript.Echo "Nothing:", count, Err.Number
  Err.Clear
  count = 0
  Set o = Make("not a collection")
  For Each x In o
    count = count + 1
  Next
  WScript.Echo "a script object:", count, Err.Number
  Err.Clear
  count = 0
  For Each x In z.Missing
    count = count + 1
    Exit For
  Next
  WScript.Echo "failing head, Exit For:", count, Err.Number
  Err.Clear
  count = 0
  For Each x In Array(1, 0, 2)
    count = count + 10 / x
  Next
  WScript.Echo "failing body:", count, Err.Number, x
  Err.Clear
  On Error GoTo 0
  Set o = Nothing
  Flush "for each errors"
End Sub
ForEachErrors

' Not handled: the position of the error.
Dim last
For Each last In 12
Next

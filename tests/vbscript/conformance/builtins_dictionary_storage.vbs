' Scripting.Dictionary under many changes: order after removals and re-adds, growth through
' many removals, keys equal without regard to case in text mode, renamed keys, keys of every
' kind, and objects whose Class_Terminate changes the dictionary that is releasing them.
Option Explicit
Dim d, i, s, k, keys, o

' Removed keys leave the order; added again, they go to the end.
Set d = CreateObject("Scripting.Dictionary")
For i = 1 To 30: d.Add "k" & i, i: Next
For i = 3 To 30 Step 3: d.Remove "k" & i: Next
d.Add "k3", "again"
d("k6") = "again too"
WScript.Echo d.Count, Join(d.Keys, " ")
WScript.Echo Join(d.Items, " ")

' Five thousand keys, all but ten removed, then three thousand added again as Doubles.
Set d = CreateObject("Scripting.Dictionary")
For i = 1 To 5000: d.Add i, "v" & i: Next
For i = 1 To 5000
  If i Mod 500 <> 0 Then d.Remove i
Next
WScript.Echo d.Count, Join(d.Keys, " ")
WScript.Echo Join(d.Items, " ")
s = ""
For i = 1 To 5000
  If d.Exists(i) Then s = s & i & " "
Next
WScript.Echo s
For i = 1 To 3000: d(CDbl(i)) = -i: Next
keys = d.Keys
WScript.Echo d.Count, d(500), d(4500), TypeName(keys(0)), keys(10), TypeName(keys(10)), keys(d.Count - 1)
For Each k In keys: d.Remove k: Next
d.CompareMode = vbTextCompare
WScript.Echo d.Count, d.CompareMode

' Text mode: keys that differ only in case are one key, in Latin, Greek and Cyrillic letters
' and whatever the length; binary mode keeps them apart.
Dim upper(5), lower(5)
upper(0) = "A": lower(0) = "a"
upper(1) = "ABCD": lower(1) = "abcd"
upper(2) = "ABCDEFGHI": lower(2) = "abcdefghi"
upper(3) = ChrW(196) & "PFEL": lower(3) = ChrW(228) & "pfel"
upper(4) = ChrW(931) & ChrW(927) & ChrW(934) & ChrW(921) & ChrW(913)
lower(4) = ChrW(963) & ChrW(959) & ChrW(966) & ChrW(953) & ChrW(945)
upper(5) = ChrW(1046) & ChrW(1059) & ChrW(1050): lower(5) = ChrW(1078) & ChrW(1091) & ChrW(1082)
Set d = CreateObject("Scripting.Dictionary")
d.CompareMode = vbTextCompare
For i = 0 To 5: d.Add upper(i), i: Next
s = ""
For i = 0 To 5: s = s & d.Exists(lower(i)) & " ": Next
WScript.Echo s, d.Exists("ABC"), d.Exists("ABCDE"), d.Exists("ABCDEFGH")
For i = 0 To 5: d(lower(i)) = 10 * i: Next
WScript.Echo d.Count, Join(d.Items, " "), d.Keys()(2)
On Error Resume Next
d.Add lower(3), 9
WScript.Echo Err.Number
Err.Clear
d.Key(lower(5)) = upper(5)
WScript.Echo Err.Number
Err.Clear
On Error GoTo 0
d.Remove "abcd"
d.Key(lower(5)) = "Kafer"
WScript.Echo d.Count, Join(d.Keys, " ") = "A ABCDEFGHI " & upper(3) & " " & upper(4) & " Kafer"
WScript.Echo d.Exists("KAFER"), d.Exists(upper(5)), d("kAfEr")
Set d = CreateObject("Scripting.Dictionary")
For i = 0 To 5: d.Add upper(i), i: d(lower(i)) = -i: Next
WScript.Echo d.Count, d(upper(3)), d(lower(3))
' Two hundred keys and their upper-case forms.
Set d = CreateObject("Scripting.Dictionary")
d.CompareMode = vbTextCompare
For i = 1 To 200: d.Add "Key" & i, i: Next
For i = 1 To 200: d(UCase("key" & i)) = d(LCase("KEY" & i)) + 1000: Next
s = 0
For Each k In d: s = s + d(k): Next
WScript.Echo d.Count, s, d.Keys()(199)

' A renamed key keeps its place and item, through removals that squeeze the table.
Set d = CreateObject("Scripting.Dictionary")
For i = 1 To 40: d.Add "n" & i, i: Next
d.Key("n5") = "five"
For i = 6 To 40: d.Remove "n" & i: Next
WScript.Echo Join(d.Keys, " "), d("five"), d.Exists("n5")
d.Key("five") = 5
WScript.Echo d.Exists(5), d.Exists(5.0), d.Exists("5"), d(5)
d.Key(5) = "n5"
WScript.Echo Join(d.Keys, " "), Join(d.Items, " ")
On Error Resume Next
d.Key("n1") = Array(1)
WScript.Echo Err.Number
Err.Clear
d.Key("n1") = "n1"
WScript.Echo Err.Number
Err.Clear
On Error GoTo 0

' Keys of every kind: Empty, Null, "", 0, Nothing and an object are six keys; numbers of
' every subtype are one key by value.
Set d = CreateObject("Scripting.Dictionary")
Set o = CreateObject("Scripting.Dictionary")
d.Add Empty, "empty"
d.Add Null, "null"
d.Add "", "text"
d.Add 0, "zero"
d.Add Nothing, "nothing"
d.Add o, "object"
WScript.Echo d.Count, d(Empty), d(Null), d(""), d(0), d(Nothing), d(o)
WScript.Echo d.Exists(CByte(0)), d.Exists(False), d.Exists(CCur(0)), d.Exists(CDate(0)), d.Exists(-0.0), d.Exists("0")
d.Add True, "true"
WScript.Echo d.Exists(-1), d.Exists(CSng(-1)), d.Exists(CCur(-1)), d.Exists("True"), d(-1)
d.Remove Null
d.Remove o
WScript.Echo d.Count, d.Exists(Null), d.Exists(o), d.Exists(Empty), d.Exists(CreateObject("Scripting.Dictionary"))

' Releasing an item or key can run a Class_Terminate that changes the same dictionary: each
' change leaves it whole, and RemoveAll leaves it whole whatever the terminations add.
Dim shared, log, whole
Class Meddler
  Public Name
  Private Sub Class_Terminate()
    log.Add Name, shared.Count
    If shared.Exists("spare") Then shared.Remove "spare"
    For i = 1 To 50: shared("late" & Name & i) = i: Next
  End Sub
End Class
Function NewMeddler(name)
  Set NewMeddler = New Meddler
  NewMeddler.Name = name
End Function
Set shared = CreateObject("Scripting.Dictionary")
Set log = CreateObject("Scripting.Dictionary")
shared.Add "spare", 0
shared.Add "removed", NewMeddler("removed")
shared.Add "replaced", NewMeddler("replaced")
shared.Add NewMeddler("renamed"), "key object"
shared.Add "cleared", NewMeddler("cleared")
shared.Remove "removed"
WScript.Echo shared.Count, shared.Exists("spare"), shared.Exists("lateremoved50")
shared("replaced") = 1
WScript.Echo shared.Count, shared("latereplaced50")
For Each k In shared.Keys
  If IsObject(k) Then shared.Key(k) = "renamed"
Next
WScript.Echo shared.Count, shared("renamed"), shared("laterenamed1")
shared.RemoveAll
whole = shared.Count = UBound(shared.Keys) + 1
For Each k In shared.Keys
  whole = whole And shared.Exists(k) And Left(k, 11) = "latecleared"
Next
WScript.Echo whole, Join(log.Keys, " ")

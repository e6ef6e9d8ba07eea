' Dim of arrays, ReDim, Erase, Const and Randomize run by the bytecode: the bounds of ReDim
' evaluated and checked in their turn, a fixed array found before them without Preserve and
' after them with it, Erase of fixed and dynamic arrays, constants from expressions, and the
' sequence of Rnd after a seed.
Option Explicit

Dim log
Sub Note(text)
  log = log & text & ";"
End Sub
Function Bound(n)
  Note "bound " & n
  Bound = n
End Function

Sub Arrays()
  Dim i, d(), fixed(2)
  For i = 1 To 2
    Dim a(3)
    a(i) = i
    Note "a " & Join(a, ",")
  Next
  ReDim d(Bound(1), Bound(2))
  Note "d " & UBound(d, 1) & " " & UBound(d, 2)
  d(1, 2) = "x"
  ReDim Preserve d(1, Bound(3))
  Note "kept " & d(1, 2) & " " & UBound(d, 2)
  ReDim d(Bound(-1))
  Note "empty " & UBound(d)
  On Error Resume Next
  ReDim d(Bound(-2))
  Note "below " & Err.Number
  Err.Clear
  ReDim d(Bound("x"))
  Note "text " & Err.Number
  Err.Clear
  ReDim fixed(Bound(5))
  Note "fixed " & Err.Number
  Err.Clear
  ReDim Preserve fixed(Bound(6))
  Note "fixed preserve " & Err.Number
  Err.Clear
  On Error GoTo 0
  ReDim e(1), f(Bound(2))
  Note "two " & UBound(e) & " " & UBound(f)
  fixed(1) = "one"
  Erase fixed
  Note "erased fixed " & UBound(fixed) & " [" & fixed(1) & "]"
  Erase f
  Note "erased dynamic " & IsArray(f)
  On Error Resume Next
  i = 5
  Erase i
  Note "no array " & Err.Number
  Err.Clear
  On Error GoTo 0
  Flush
End Sub

Sub Flush()
  WScript.Echo log
  log = ""
End Sub

Sub Constants()
  Const Base = 10
  Const Twice = 20, Label = "n"
  Note Base & " " & Twice & " " & Label
  Dim i
  For i = 1 To 2
    Const Inner = 3
    Note Inner * i
  Next
  Flush
End Sub

Sub Randoms(seed)
  Dim first, second
  Rnd -1
  Randomize seed
  first = Rnd
  Rnd -1
  Randomize seed
  second = Rnd
  Note "same " & (first = second)
  Rnd -1
  Randomize seed + 1
  Note "other " & (first = Rnd)
  Randomize
  Flush
End Sub

Arrays
Constants
Randoms 42
Randoms Bound(7)

' In global code.
Dim g()
ReDim g(Bound(2))
g(2) = "g"
ReDim Preserve g(Bound(3))
Note g(2) & " " & UBound(g)
Erase g
Const Top = 5
Note Top
Flush

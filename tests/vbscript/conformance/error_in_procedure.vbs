Sub Inner
  Dim a
  a = 1 / 0
End Sub
WScript.Echo "calling"
Inner

Dim x
x = "abc"
  WScript.Echo x - 1

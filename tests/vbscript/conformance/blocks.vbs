' Code blocks share one global scope; Option Explicit holds only in the block that has it.
Dim shared
shared = "from block one"
Function Helper(x)
  Helper = "helper(" & x & ")"
End Function
loose = "implicit global"

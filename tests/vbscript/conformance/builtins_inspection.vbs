' Inspection and array functions: TypeName and VarType of each subtype, the Is functions.
Option Explicit
Dim v, a(2), d
Set d = CreateObject("Scripting.Dictionary")
For Each v In Array(Empty, Null, CInt(1), CLng(1), CSng(1), CDbl(1), CCur(1), CDate(1), "s", True, CByte(1))
  WScript.Echo TypeName(v), VarType(v)
Next
WScript.Echo TypeName(d), VarType(d), TypeName(Nothing), TypeName(a), VarType(a), TypeName(New RegExp)
WScript.Echo IsNumeric("&H10"), IsNumeric(" 12 "), IsNumeric("1e5"), IsNumeric("12abc"), IsNumeric(""), IsNumeric(Empty), IsNumeric(Null)
WScript.Echo IsEmpty(Empty), IsEmpty(""), IsNull(Null), IsObject(d), IsObject(Nothing), IsObject("x"), IsArray(a), IsArray(d)
WScript.Echo LBound(a), UBound(a), UBound(Array()), UBound(Array(1, 2, 3))
WScript.Echo ScriptEngine, ScriptEngineMajorVersion & "." & ScriptEngineMinorVersion, RGB(255, 128, 0), vbRed, Len(vbCrLf), vbObjectError

' Built-in constants: every vb* constant, with the subtype the classic engine gives it
' (Integer, except the colours, vbObjectError and the message box options above 16 bits).
Option Explicit
Sub Show(name, value)
  WScript.Echo name, value, TypeName(value)
End Sub
Show "vbSunday", vbSunday
Show "vbSaturday", vbSaturday
Show "vbUseSystemDayOfWeek", vbUseSystemDayOfWeek
Show "vbFirstFullWeek", vbFirstFullWeek
Show "vbEmpty", vbEmpty
Show "vbArray", vbArray
Show "vbByte", vbByte
Show "vbOKOnly", vbOKOnly
Show "vbRetryCancel", vbRetryCancel
Show "vbCritical", vbCritical
Show "vbDefaultButton4", vbDefaultButton4
Show "vbSystemModal", vbSystemModal
Show "vbMsgBoxHelpButton", vbMsgBoxHelpButton
Show "vbMsgBoxSetForeground", vbMsgBoxSetForeground
Show "vbMsgBoxRight", vbMsgBoxRight
Show "vbMsgBoxRtlReading", vbMsgBoxRtlReading
Show "vbYes", vbYes
Show "vbUseDefault", vbUseDefault
Show "vbTrue", vbTrue
Show "vbBinaryCompare", vbBinaryCompare
Show "vbTextCompare", vbTextCompare
Show "vbDatabaseCompare", vbDatabaseCompare
Show "vbShortTime", vbShortTime
Show "vbObjectError", vbObjectError
Show "vbBlack", vbBlack
Show "vbRed", vbRed
Show "vbWhite", vbWhite
WScript.Echo Len(vbCrLf), Asc(vbVerticalTab), Asc(vbFormFeed), Len(vbNullString), Asc(vbNullChar)
Dim total : total = vbMsgBoxRight + vbMsgBoxHelpButton + vbCritical
WScript.Echo total, TypeName(total)

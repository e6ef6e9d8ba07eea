' Classes: fields, Public/Private, properties, default member, Initialize/Terminate, With, Me.
Class Counter
  Private count_
  Public Name
  Private Sub Class_Initialize()
    count_ = 0
    Name = "counter"
  End Sub
  Private Sub Class_Terminate()
    WScript.Echo "terminate " & Name
  End Sub
  Public Property Get Count
    Count = count_
  End Property
  Public Property Let Count(v)
    count_ = v
  End Property
  Public Sub Increment(by)
    count_ = count_ + by
  End Sub
  Public Default Function Describe()
    Describe = Name & "=" & count_
  End Function
  Public Function Self()
    Set Self = Me
  End Function
End Class
Dim c
Set c = New Counter
c.Increment 2
c.Count = c.Count + 3
WScript.Echo c.Count, c.Describe(), c
WScript.Echo TypeName(c), IsObject(c), c Is c, c.Self() Is c
Dim d: Set d = c
d.Name = "shared"
WScript.Echo c.Name
Set d = Nothing
WScript.Echo "still alive"
Set c = Nothing
WScript.Echo "after"
With New Counter
  .Name = "temp"
  .Increment 1
  WScript.Echo .Describe
End With
WScript.Echo "end"
Class Node
  Public Value, NextNode
End Class
Dim head, n, i
Set head = Nothing
For i = 1 To 3
  Set n = New Node
  n.Value = i
  Set n.NextNode = head
  Set head = n
Next
Set n = head
Do Until n Is Nothing
  WScript.Echo n.Value
  Set n = n.NextNode
Loop
WScript.Echo IsObject(head), head Is Nothing, TypeName(Nothing)
Class Holder
  Public Items(2)
  Private secret
End Class
Dim h: Set h = New Holder
h.Items(1) = "held"
WScript.Echo h.Items(1), UBound(h.Items)
On Error Resume Next
WScript.Echo h.secret
WScript.Echo Err.Number, Err.Description

Dim o
Set o = New Missing

Class C
End Class
Dim o: Set o = New C
o.Missing

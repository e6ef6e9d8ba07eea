Sub Two(a, b)
End Sub
Two(1, 2)

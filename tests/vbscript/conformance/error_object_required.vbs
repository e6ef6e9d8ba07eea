Dim x
x.Foo

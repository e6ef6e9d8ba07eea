WScript.Echo "start"
Err.Raise 1234, "MyComponent", "Something broke"

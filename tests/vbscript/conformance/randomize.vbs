' Rnd with a negative argument followed by Randomize with the same seed repeats a sequence.
Dim a, b, c, d
Rnd -1
Randomize 42
a = Rnd: b = Rnd
Rnd -1
Randomize 42
c = Rnd: d = Rnd
WScript.Echo a = c, b = d, a <> b, a >= 0 And a < 1

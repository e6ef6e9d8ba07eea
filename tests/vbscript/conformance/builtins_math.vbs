' Math functions and the seeded random number generator.
Option Explicit
Dim x, i, dice
WScript.Echo Round(2.5), Round(3.5), Round(-2.5), Round(0.125, 2), Round(0.375, 2), Round(7.25, 1), TypeName(Round("2.5"))
WScript.Echo Abs(-5), Abs(-2.5), TypeName(Abs(-32768)), Sgn(-3), Sgn(0), Sgn(0.001)
WScript.Echo Sqr(16), Exp(0), Log(1), Atn(1) * 4, Cos(0), Sin(0), Tan(0)
' An unseeded run starts from the same seed every time.
WScript.Echo Rnd, Rnd, Rnd
WScript.Echo Rnd(0)
x = Rnd(-1)
WScript.Echo x, Rnd
WScript.Echo Rnd(-1) = x
' Rnd with a negative number and then Randomize with a number repeats a sequence.
Rnd -1
Randomize 42
WScript.Echo Rnd, Rnd, Rnd
Rnd -1
Randomize 42
WScript.Echo Rnd, Rnd, Rnd
Rnd -7
dice = ""
For i = 1 To 10
  dice = dice & (Int(Rnd * 6) + 1)
Next
WScript.Echo dice

// Math functions and the random number generator.
#include <cmath>

#include "vbscript/builtins/builtin_test_support.h"
#include "vbscript/builtins/random.h"

namespace sl::vbs::test {
namespace {

class MathTest : public BuiltinTest {};

TEST_F(MathTest, RoundHalfToEvenKeepsSubtype) {
  EXPECT_EQ(Show("Round", {Variant(2.5)}), "Double 2");
  EXPECT_EQ(Show("Round", {Variant(3.5)}), "Double 4");
  EXPECT_EQ(Show("Round", {Variant(-2.5)}), "Double -2");
  EXPECT_EQ(Show("Round", {Variant(1.2345), I(2)}), "Double 1.23");
  EXPECT_EQ(Show("Round", {Variant(0.125), I(2)}), "Double 0.12");
  EXPECT_EQ(Show("Round", {Variant(0.375), I(2)}), "Double 0.38");
  EXPECT_EQ(Show("Round", {"2.5"}), "Double 2");
  EXPECT_EQ(Show("Round", {I(7), I(2)}), "Integer 7");
  EXPECT_EQ(Show("Round", {Variant(2.5f)}), "Single 2");
  EXPECT_EQ(Show("Round", {Variant::Currency(25000)}), "Currency 2");
  EXPECT_EQ(Show("Round", {Variant::Currency(35000)}), "Currency 4");
  EXPECT_EQ(Show("Round", {Variant::Currency(12345), I(3)}), "Currency 1.234");
  EXPECT_EQ(Show("Round", {Variant::Null()}), "Null");
  EXPECT_EQ(Error("Round", {Variant(1.5), I(-1)}), 5);
}

TEST_F(MathTest, AbsAndSgn) {
  EXPECT_EQ(Show("Abs", {I(-5)}), "Integer 5");
  EXPECT_EQ(Show("Abs", {I(-32768)}), "Long 32768");
  EXPECT_EQ(Show("Abs", {Variant(-2.5)}), "Double 2.5");
  EXPECT_EQ(Show("Abs", {"-3"}), "Double 3");
  EXPECT_EQ(Show("Abs", {Variant(true)}), "Integer 1");
  EXPECT_EQ(Show("Abs", {Variant::Currency(-10000)}), "Currency 1");
  EXPECT_EQ(Show("Abs", {Variant::Null()}), "Null");
  EXPECT_EQ(Show("Sgn", {Variant(-0.1)}), "Integer -1");
  EXPECT_EQ(Show("Sgn", {Variant()}), "Integer 0");
  EXPECT_EQ(Show("Sgn", {"7"}), "Integer 1");
  EXPECT_EQ(Error("Sgn", {Variant::Null()}), 94);
}

TEST_F(MathTest, TranscendentalFunctionsAndTheirDomains) {
  EXPECT_DOUBLE_EQ(Run("Atn", {I(1)}).AsDouble() * 4, M_PI);
  EXPECT_DOUBLE_EQ(Run("Cos", {I(0)}).AsDouble(), 1.0);
  EXPECT_DOUBLE_EQ(Run("Sin", {I(0)}).AsDouble(), 0.0);
  EXPECT_DOUBLE_EQ(Run("Tan", {Variant(M_PI / 4)}).AsDouble(), std::tan(M_PI / 4));
  EXPECT_DOUBLE_EQ(Run("Exp", {I(1)}).AsDouble(), M_E);
  EXPECT_DOUBLE_EQ(Run("Log", {Variant(M_E)}).AsDouble(), 1.0);
  EXPECT_EQ(Show("Sqr", {I(16)}), "Double 4");
  EXPECT_EQ(Error("Log", {I(0)}), 5);
  EXPECT_EQ(Error("Sqr", {I(-1)}), 5);
  EXPECT_EQ(Error("Exp", {I(1000)}), 6);
  EXPECT_EQ(Error("Sin", {Variant::Null()}), 94);
  EXPECT_EQ(Error("Cos", {"x"}), 13);
}

// The generator: seed = (seed * &H43FD43FD + &HC39EC3) mod 2^24 from &H50000.
TEST_F(MathTest, RndFollowsTheClassicSequence) {
  std::uint32_t seed = 0x50000;
  for (int i = 0; i < 5; ++i) {
    seed = (seed * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFF;
    Variant r = Run("Rnd");
    ASSERT_EQ(r.Type(), VarType::Single);
    EXPECT_EQ(r.AsSingle(), static_cast<float>(seed) / 16777216.0f) << i;
  }
  float last = context.random.last;
  EXPECT_EQ(Run("Rnd", {I(0)}).AsSingle(), last);  // Rnd(0) repeats
  EXPECT_EQ(Run("Rnd", {I(0)}).AsSingle(), last);
  EXPECT_NE(Run("Rnd", {I(5)}).AsSingle(), last);
}

TEST_F(MathTest, RndFromTheDefaultSeedMatchesKnownValues) {
  // The first numbers of an unseeded run, as the classic runtime prints them.
  EXPECT_EQ(ToUtf8(Run("Rnd")), "0.7055475");
  EXPECT_EQ(ToUtf8(Run("Rnd")), "0.533424");
  EXPECT_EQ(ToUtf8(Run("Rnd")), "0.5795186");
}

TEST_F(MathTest, NegativeRndReseeds) {
  float a = Run("Rnd", {I(-1)}).AsSingle();
  Run("Rnd");
  EXPECT_EQ(Run("Rnd", {I(-1)}).AsSingle(), a);
  EXPECT_EQ(ToUtf8(Variant(a)), "0.224007");
  EXPECT_NE(Run("Rnd", {I(-2)}).AsSingle(), a);
}

TEST_F(MathTest, RandomizeMixesTheNumberIntoTheSeed) {
  RandomState first, second;
  Randomize(first, Variant(42.0), context.clock);
  Randomize(second, Variant(42.0), context.clock);
  EXPECT_EQ(first.seed, second.seed);
  EXPECT_EQ(first.seed & 0xFF, 0x50000u & 0xFF);  // the low byte stays
  EXPECT_NE(first.seed, 0x50000u);
  Randomize(second, Variant(43.0), context.clock);
  EXPECT_NE(first.seed, second.seed);
  // Without a number the time of day is used: same clock, same seed.
  RandomState third, fourth;
  Randomize(third, std::nullopt, context.clock);
  Randomize(fourth, std::nullopt, context.clock);
  EXPECT_EQ(third.seed, fourth.seed);
  context.clock.Advance(10);
  Randomize(fourth, std::nullopt, context.clock);
  EXPECT_NE(third.seed, fourth.seed);
  EXPECT_EQ(ErrorOf([&] { Randomize(third, Variant::Null(), context.clock); }), 94);
}

}  // namespace
}  // namespace sl::vbs::test

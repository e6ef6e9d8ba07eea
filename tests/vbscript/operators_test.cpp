// The operators' type rules, checked directly on values: overflow widening, string and number
// comparison, Null propagation, bitwise logic and concatenation.
#include "vbscript/operators.h"

#include <gtest/gtest.h>

#include "core/runtime_error.h"
#include "core/variant_convert.h"

namespace sl::vbs {
namespace {

Variant I(std::int16_t v) {
  return Variant(v);
}
Variant L(std::int32_t v) {
  return Variant(v);
}

TEST(OperatorsTest, IntegerResultsWidenOnOverflow) {
  Variant r = Arith(Op::Add, I(32767), I(1));
  EXPECT_EQ(r.Type(), VarType::Long);
  EXPECT_EQ(r.AsLong(), 32768);
  r = Arith(Op::Mul, L(65536), L(65536));
  EXPECT_EQ(r.Type(), VarType::Double);
  EXPECT_EQ(r.AsDouble(), 4294967296.0);
  r = Arith(Op::Add, Variant(std::uint8_t{200}), Variant(std::uint8_t{100}));
  EXPECT_EQ(r.Type(), VarType::Integer);
  EXPECT_EQ(Arith(Op::Sub, I(5), I(7)).AsInteger(), -2);
  EXPECT_EQ(Negate(I(-32768)).Type(), VarType::Long);
}

TEST(OperatorsTest, DivisionRules) {
  EXPECT_EQ(Arith(Op::Div, I(1), I(4)).AsDouble(), 0.25);
  EXPECT_EQ(Arith(Op::IntDiv, I(-7), I(2)).AsInteger(), -3);
  EXPECT_EQ(Arith(Op::Mod, Variant(5.5), I(3)).AsLong(), 0);  // 5.5 rounds to 6
  try {
    Arith(Op::Div, I(1), I(0));
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), 11);
  }
  try {
    Arith(Op::Div, I(0), I(0));
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), 6);
  }
  EXPECT_THROW(Arith(Op::Mod, L(1), L(0)), RuntimeError);
  EXPECT_THROW(Arith(Op::Pow, Variant(-8.0), Variant(1.0 / 3)), RuntimeError);
}

TEST(OperatorsTest, PlusJoinsStringsAndConvertsMixedOperands) {
  EXPECT_EQ(ToUtf8(Arith(Op::Add, Variant("a"), Variant("b"))), "ab");
  Variant mixed = Arith(Op::Add, Variant("3"), I(4));
  EXPECT_EQ(mixed.Type(), VarType::Double);
  EXPECT_EQ(mixed.AsDouble(), 7);
  EXPECT_EQ(ToUtf8(Arith(Op::Add, Variant(), Variant("x"))), "x");
  EXPECT_THROW(Arith(Op::Sub, Variant("abc"), I(1)), RuntimeError);
  EXPECT_EQ(ToUtf8(Arith(Op::Concat, I(1), Variant(2.5))), "12.5");
  EXPECT_EQ(ToUtf8(Arith(Op::Concat, Variant::Null(), Variant("x"))), "x");
  EXPECT_TRUE(Arith(Op::Concat, Variant::Null(), Variant::Null()).IsNull());
  EXPECT_TRUE(Arith(Op::Add, Variant::Null(), I(1)).IsNull());
}

TEST(OperatorsTest, ComparisonOfNumbersAndStrings) {
  auto eq = [](const Variant& a, const Variant& b, bool aLit, bool bLit) {
    Variant r = Compare(Op::Eq, a, b, aLit, bLit);
    return r.Type() == VarType::Boolean && r.AsBool();
  };
  EXPECT_FALSE(eq(I(5), Variant("5"), false, false));  // a number is less than a string
  EXPECT_TRUE(eq(I(5), Variant("5"), false, true));    // the literal takes the number's type
  EXPECT_TRUE(eq(I(5), Variant("5"), true, false));
  EXPECT_TRUE(Compare(Op::Lt, I(5), Variant("4"), false, false).AsBool());
  EXPECT_TRUE(eq(Variant(), I(0), false, false));
  EXPECT_TRUE(eq(Variant(), Variant(""), false, false));
  EXPECT_TRUE(Compare(Op::Lt, Variant("B"), Variant("a"), false, false).AsBool());
  EXPECT_TRUE(Compare(Op::Eq, Variant::Null(), I(1), false, false).IsNull());
  EXPECT_TRUE(eq(L(3), Variant(3.0), false, false));
}

TEST(OperatorsTest, LogicIsBitwiseAndPropagatesNull) {
  EXPECT_EQ(Logic(Op::And, I(12), I(10)).AsInteger(), 8);
  EXPECT_EQ(Logic(Op::Xor, I(12), I(10)).AsInteger(), 6);
  EXPECT_EQ(Logic(Op::Or, Variant(true), Variant(false)).Type(), VarType::Boolean);
  EXPECT_EQ(Not(I(5)).AsInteger(), -6);
  EXPECT_TRUE(Not(Variant::Null()).IsNull());
  EXPECT_FALSE(Logic(Op::And, Variant::Null(), Variant(false)).AsBool());
  EXPECT_TRUE(Logic(Op::And, Variant::Null(), Variant(true)).IsNull());
  EXPECT_TRUE(Logic(Op::Or, Variant::Null(), Variant(true)).AsBool());
  EXPECT_TRUE(Logic(Op::Imp, Variant(false), Variant::Null()).AsBool());
  EXPECT_TRUE(Logic(Op::Imp, Variant(true), Variant::Null()).IsNull());
}

TEST(OperatorsTest, IdentityNeedsObjects) {
  EXPECT_TRUE(SameObject(Variant::Nothing(), Variant::Nothing()));
  EXPECT_THROW(SameObject(I(1), Variant::Nothing()), RuntimeError);
  EXPECT_FALSE(IsTrue(Variant::Null()));
  EXPECT_TRUE(IsTrue(Variant("True")));
  EXPECT_THROW(IsTrue(Variant("maybe")), RuntimeError);
}

}  // namespace
}  // namespace sl::vbs

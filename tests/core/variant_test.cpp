#include "core/variant.h"

#include <gtest/gtest.h>

#include "core/date_time.h"
#include "core/object.h"
#include "core/runtime_error.h"
#include "core/variant_convert.h"

namespace sl {
namespace {

int ErrorOf(auto&& f) {
  try {
    f();
  } catch (const RuntimeError& e) {
    return e.Number();
  }
  return 0;
}

TEST(VariantTest, SubtypesAndSharing) {
  EXPECT_EQ(Variant().Type(), VarType::Empty);
  EXPECT_EQ(Variant::Null().Type(), VarType::Null);
  EXPECT_EQ(Variant(true).Type(), VarType::Boolean);
  EXPECT_EQ(Variant(true).AsInteger(), -1);
  EXPECT_EQ(Variant(std::int16_t{5}).Type(), VarType::Integer);
  EXPECT_EQ(Variant(5).Type(), VarType::Long);
  EXPECT_EQ(Variant(1.5).Type(), VarType::Double);
  EXPECT_EQ(Variant("é").AsString().size(), 1u);
  EXPECT_EQ(Variant::Nothing().IsNothing(), true);

  Variant a("hello");
  Variant b = a;
  EXPECT_TRUE(a.AsString().IsShared());
  b.MutableString().Append(u" world");  // b is shared, so it gets its own copy
  EXPECT_EQ(ToUtf8(a), "hello");
  EXPECT_EQ(ToUtf8(b), "hello world");
  a = std::move(b);
  EXPECT_TRUE(b.IsEmpty());
  EXPECT_EQ(ToUtf8(a), "hello world");
}

TEST(VariantTest, ConversionsRoundHalfToEven) {
  EXPECT_EQ(ToInteger(Variant(2.5)), 2);
  EXPECT_EQ(ToInteger(Variant(3.5)), 4);
  EXPECT_EQ(ToLong(Variant(-2.5)), -2);
  EXPECT_EQ(ErrorOf([] { ToInteger(Variant(32767.5)); }), 6);
  EXPECT_EQ(ErrorOf([] { ToInteger(Variant("abc")); }), 13);
  EXPECT_EQ(ErrorOf([] { ToDouble(Variant::Null()); }), 94);
  EXPECT_EQ(ToInteger(Variant(" 12 ")), 12);
  EXPECT_EQ(ToLong(Variant("&HFFFF")), -1);
  EXPECT_EQ(ToDouble(Variant("1,234.5")), 1234.5);
  EXPECT_TRUE(ToBoolean(Variant("TRUE")));
  EXPECT_FALSE(ToBoolean(Variant(0)));
}

TEST(VariantTest, GeneralNumberAndDateText) {
  EXPECT_EQ(ToUtf8(Variant(0.1)), "0.1");
  EXPECT_EQ(ToUtf8(Variant(1e15)), "1E+15");
  EXPECT_EQ(ToUtf8(Variant(1e14)), "100000000000000");
  EXPECT_EQ(ToUtf8(Variant(0.00001)), "1E-05");
  EXPECT_EQ(ToUtf8(Variant(1.1f)), "1.1");
  EXPECT_EQ(ToUtf8(Variant(true)), "True");
  EXPECT_EQ(ToUtf8(Variant::Currency(15000)), "1.5");
  CivilTime t{2004, 3, 7, 14, 5, 9, 0};
  EXPECT_EQ(ToUtf8(Variant::Date(CivilToOleDate(t))), "3/7/2004 2:05:09 PM");
  EXPECT_EQ(ToUtf8(Variant::Date(0)), "12:00:00 AM");
  double d;
  ASSERT_TRUE(ParseDate(u"3/7/2004 2:05:09 PM", d));
  EXPECT_EQ(OleDateToCivil(d), t);
  EXPECT_EQ(Val(std::string_view("1.5 s")), 1.5);
  EXPECT_EQ(Val(std::string_view("abc")), 0);
  EXPECT_EQ(Val(std::string_view("&H10")), 16);
}

// Whole numbers of every width as text, at the ends of their ranges and across a power of ten.
TEST(VariantTest, WholeNumberText) {
  EXPECT_EQ(ToString(Variant(std::int16_t{-32768})).ToUtf8(), "-32768");
  EXPECT_EQ(ToString(Variant(std::int16_t{32767})).ToUtf8(), "32767");
  EXPECT_EQ(ToString(Variant(std::int16_t{0})).ToUtf8(), "0");
  EXPECT_EQ(ToString(Variant(std::int32_t{-2147483647 - 1})).ToUtf8(), "-2147483648");
  EXPECT_EQ(ToString(Variant(std::int32_t{2147483647})).ToUtf8(), "2147483647");
  EXPECT_EQ(ToString(Variant(std::int32_t{1000000})).ToUtf8(), "1000000");
  EXPECT_EQ(ToString(Variant(std::int32_t{-9})).ToUtf8(), "-9");
  EXPECT_EQ(ToString(Variant(std::uint8_t{255})).ToUtf8(), "255");
  EXPECT_EQ(ToString(Variant(std::uint8_t{0})).ToUtf8(), "0");
}

TEST(DateTimeTest, OleDatesAndCivilDays) {
  EXPECT_EQ(CivilToOleDate(CivilTime{1899, 12, 30}), 0);
  EXPECT_EQ(CivilToOleDate(CivilTime{2000, 1, 1}), 36526);
  CivilTime before = OleDateToCivil(-1.25);
  EXPECT_EQ(before, (CivilTime{1899, 12, 29, 6, 0, 0, 0}));
  int y, m, dd;
  CivilFromDays(DaysFromCivil(2024, 2, 29), y, m, dd);
  EXPECT_EQ(y * 10000 + m * 100 + dd, 20240229);
  EXPECT_EQ(DayOfWeek(2004, 3, 7), 0);  // a Sunday
}

TEST(VariantArrayTest, BoundsAndPreservingRedim) {
  auto arr = MakeRef<VariantArray>(std::vector<VariantArray::Bound>{{0, 3}});
  arr->At(2) = Variant(7);
  EXPECT_EQ(ErrorOf([&] { arr->At(3); }), 9);
  arr->Redim({{0, 5}}, true);
  EXPECT_EQ(arr->At(2).AsLong(), 7);
  EXPECT_EQ(arr->UpperBound(0), 4);
  auto copy = arr->Clone();
  copy->At(2) = Variant(1);
  EXPECT_EQ(arr->At(2).AsLong(), 7);
  arr->SetFixedSize(true);
  EXPECT_EQ(ErrorOf([&] { arr->Redim({{0, 1}}, false); }), 10);
  EXPECT_EQ(ErrorOf([] { VariantArray big({{0, 1 << 20}, {0, 1 << 20}}); }), 7);
}

}  // namespace
}  // namespace sl

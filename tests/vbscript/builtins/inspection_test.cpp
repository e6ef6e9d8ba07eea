// Inspection and array functions: TypeName, VarType, the Is functions, Array, LBound, UBound.
#include "core/object.h"
#include "vbscript/builtins/builtin_test_support.h"

namespace sl::vbs::test {
namespace {

class InspectionTest : public BuiltinTest {};

class Thing : public Object {
 public:
  std::string TypeName() const override { return "Thing"; }
  Variant Invoke(DispId id, std::uint8_t, std::span<Variant>) override {
    if (id == kDispIdValue) return Variant(" 42 ");
    throw RuntimeError(438);
  }
};

TEST_F(InspectionTest, TypeNameAndVarTypeOfEachSubtype) {
  struct Case {
    Variant value;
    const char* name;
    int varType;
  };
  Ref<Object> thing = MakeRef<Thing>();
  std::vector<Case> cases = {
      {Variant(), "Empty", 0},
      {Variant::Null(), "Null", 1},
      {I(1), "Integer", 2},
      {Variant(1), "Long", 3},
      {Variant(1.0f), "Single", 4},
      {Variant(1.0), "Double", 5},
      {Variant::Currency(1), "Currency", 6},
      {Variant::Date(1), "Date", 7},
      {Variant("x"), "String", 8},
      {Variant(thing), "Thing", 9},
      {Variant::Nothing(), "Nothing", 9},
      {Variant::Error(5), "Error", 10},
      {Variant(true), "Boolean", 11},
      {Variant(std::uint8_t{1}), "Byte", 17},
      {Run("Array", {}), "Variant()", 8204},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Show("TypeName", {c.value}), std::string("String ") + c.name);
    EXPECT_EQ(Run("VarType", {c.value}).AsInteger(), c.varType) << c.name;
  }
}

TEST_F(InspectionTest, IsNumericAcceptsWhatCDblAccepts) {
  EXPECT_TRUE(Run("IsNumeric", {"&H10"}).AsBool());
  EXPECT_TRUE(Run("IsNumeric", {" 12 "}).AsBool());
  EXPECT_TRUE(Run("IsNumeric", {"-1.5e3"}).AsBool());
  EXPECT_TRUE(Run("IsNumeric", {"1,000"}).AsBool());
  EXPECT_TRUE(Run("IsNumeric", {Variant()}).AsBool());
  EXPECT_TRUE(Run("IsNumeric", {Variant(true)}).AsBool());
  EXPECT_TRUE(Run("IsNumeric", {Variant(MakeRef<Thing>())}).AsBool());  // its default value
  EXPECT_FALSE(Run("IsNumeric", {""}).AsBool());
  EXPECT_FALSE(Run("IsNumeric", {"12abc"}).AsBool());
  EXPECT_FALSE(Run("IsNumeric", {Variant::Null()}).AsBool());
  EXPECT_FALSE(Run("IsNumeric", {Variant::Date(1)}).AsBool());
  EXPECT_FALSE(Run("IsNumeric", {Variant::Nothing()}).AsBool());
}

TEST_F(InspectionTest, IsFunctions) {
  EXPECT_TRUE(Run("IsEmpty", {Variant()}).AsBool());
  EXPECT_FALSE(Run("IsEmpty", {""}).AsBool());
  EXPECT_TRUE(Run("IsNull", {Variant::Null()}).AsBool());
  EXPECT_FALSE(Run("IsNull", {Variant()}).AsBool());
  EXPECT_TRUE(Run("IsObject", {Variant::Nothing()}).AsBool());
  EXPECT_FALSE(Run("IsObject", {"x"}).AsBool());
  EXPECT_TRUE(Run("IsArray", {Run("Array", {I(1)})}).AsBool());
  EXPECT_FALSE(Run("IsArray", {"x"}).AsBool());
  EXPECT_TRUE(Run("IsDate", {"3/7/2004"}).AsBool());
  EXPECT_TRUE(Run("IsDate", {"2/29"}).AsBool());  // 2004, the clock's year, is a leap year
  EXPECT_TRUE(Run("IsDate", {Variant::Date(0)}).AsBool());
  EXPECT_FALSE(Run("IsDate", {"2/30/2004"}).AsBool());
  EXPECT_FALSE(Run("IsDate", {Variant(38000)}).AsBool());
  EXPECT_FALSE(Run("IsDate", {"1.5"}).AsBool());
}

TEST_F(InspectionTest, ArrayAndBounds) {
  Variant a = Run("Array", {I(1), "two", Variant(3.0)});
  EXPECT_EQ(Show("LBound", {a}), "Long 0");
  EXPECT_EQ(Show("UBound", {a}), "Long 2");
  EXPECT_EQ(ToUtf8(a.AsArray()->Data()[1]), "two");
  EXPECT_EQ(Show("UBound", {Run("Array", {})}), "Long -1");
  auto grid = MakeRef<VariantArray>(std::vector<VariantArray::Bound>{{0, 3}, {1, 5}});
  Variant g(grid);
  EXPECT_EQ(Show("UBound", {g, I(2)}), "Long 5");
  EXPECT_EQ(Show("LBound", {g, I(2)}), "Long 1");
  EXPECT_EQ(Error("UBound", {g, I(3)}), 9);
  EXPECT_EQ(Error("UBound", {g, I(0)}), 9);
  EXPECT_EQ(Error("UBound", {"x"}), 13);
}

TEST(RegistryTest, LooksUpNamesInAnyCase) {
  ASSERT_NE(FindBuiltin("mid"), nullptr);
  EXPECT_STREQ(FindBuiltin("MID")->name, "Mid");
  EXPECT_EQ(FindBuiltin("Midd"), nullptr);
  EXPECT_EQ(FindBuiltin(""), nullptr);
  for (const BuiltinInfo& info : AllBuiltins()) {
    EXPECT_EQ(FindBuiltin(info.name), &info);
    EXPECT_LE(info.minArgs, info.maxArgs < 0 ? 127 : info.maxArgs) << info.name;
  }
  ASSERT_NE(FindConstant("VBCRLF"), nullptr);
  EXPECT_EQ(ToUtf8(FindConstant("vbCrLf")->value()), "\r\n");
  EXPECT_EQ(FindConstant("vbObjectError")->value().AsLong(), -2147221504);
  EXPECT_EQ(FindConstant("vbUseSystemDayOfWeek")->value().Type(), VarType::Integer);
  EXPECT_EQ(FindConstant("vbWhite")->value().Type(), VarType::Long);
  EXPECT_EQ(FindConstant("vbNope"), nullptr);
}

}  // namespace
}  // namespace sl::vbs::test

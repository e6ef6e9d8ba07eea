// String functions: positions, limits, Null propagation and the compare modes.
#include "vbscript/builtins/builtin_test_support.h"

namespace sl::vbs::test {
namespace {

class StringTest : public BuiltinTest {};

TEST_F(StringTest, LenCountsCharactersOfAnyValue) {
  EXPECT_EQ(Show("Len", {"héllo"}), "Long 5");
  EXPECT_EQ(Show("Len", {I(123)}), "Long 3");
  EXPECT_EQ(Show("Len", {Variant()}), "Long 0");
  EXPECT_EQ(Show("Len", {Variant::Null()}), "Null");
  EXPECT_EQ(Show("LenB", {"abc"}), "Long 6");
}

TEST_F(StringTest, LeftRightMidEdges) {
  EXPECT_EQ(Show("Left", {"abc", I(2)}), "String ab");
  EXPECT_EQ(Show("Left", {"abc", I(10)}), "String abc");
  EXPECT_EQ(Show("Right", {"abc", I(2)}), "String bc");
  EXPECT_EQ(Show("Right", {"abc", I(0)}), "String ");
  EXPECT_EQ(Show("Left", {Variant::Null(), I(1)}), "Null");
  EXPECT_EQ(Error("Left", {"abc", I(-1)}), 5);
  EXPECT_EQ(Error("Left", {"abc", Variant::Null()}), 94);

  EXPECT_EQ(Show("Mid", {"abcdef", I(2), I(3)}), "String bcd");
  EXPECT_EQ(Show("Mid", {"abcdef", I(4)}), "String def");
  EXPECT_EQ(Show("Mid", {"abc", I(4)}), "String ");  // start just past the end
  EXPECT_EQ(Show("Mid", {"abc", I(99), I(2)}), "String ");
  EXPECT_EQ(Show("Mid", {"abc", I(2), I(99)}), "String bc");
  EXPECT_EQ(Error("Mid", {"abc", I(0)}), 5);
  EXPECT_EQ(Error("Mid", {"abc", I(1), I(-1)}), 5);
  EXPECT_EQ(Show("Mid", {Variant::Null(), I(1)}), "Null");
  EXPECT_EQ(Show("Mid", {"abc", Variant(2.5), I(1)}), "String b");  // 2.5 rounds to 2
}

TEST_F(StringTest, InStrStartAndEmptyStrings) {
  EXPECT_EQ(Show("InStr", {"abcabc", "c"}), "Long 3");
  EXPECT_EQ(Show("InStr", {I(4), "abcabc", "c"}), "Long 6");
  EXPECT_EQ(Show("InStr", {I(7), "abcabc", "c"}), "Long 0");
  EXPECT_EQ(Show("InStr", {I(2), "abc", ""}), "Long 2");
  EXPECT_EQ(Show("InStr", {"", ""}), "Long 0");
  EXPECT_EQ(Show("InStr", {I(9), "abc", ""}), "Long 0");
  EXPECT_EQ(Show("InStr", {"abc", Variant::Null()}), "Null");
  EXPECT_EQ(Error("InStr", {I(0), "abc", "a"}), 5);
  EXPECT_EQ(Error("InStr", {Variant::Null(), "abc", "a"}), 94);
  EXPECT_EQ(Show("InStr", {I(1), "ABC", "b", I(0)}), "Long 0");
  EXPECT_EQ(Show("InStr", {I(1), "ABC", "b", I(1)}), "Long 2");
  EXPECT_EQ(Error("InStr", {I(1), "ABC", "b", I(7)}), 5);
  EXPECT_EQ(Show("InStrB", {"abc", "b"}), "Long 3");
}

TEST_F(StringTest, InStrRevEndsAtStart) {
  EXPECT_EQ(Show("InStrRev", {"abcabc", "bc"}), "Long 5");
  EXPECT_EQ(Show("InStrRev", {"abcabc", "bc", I(5)}), "Long 2");  // must end by position 5
  EXPECT_EQ(Show("InStrRev", {"abcabc", "bc", I(6)}), "Long 5");
  EXPECT_EQ(Show("InStrRev", {"abc", "a", I(4)}), "Long 0");
  EXPECT_EQ(Show("InStrRev", {"abc", ""}), "Long 3");
  EXPECT_EQ(Show("InStrRev", {"aBc", "b", I(-1), I(1)}), "Long 2");
  EXPECT_EQ(Error("InStrRev", {"abc", "a", I(0)}), 5);
}

TEST_F(StringTest, CaseAndTrim) {
  EXPECT_EQ(Show("UCase", {"straße ÿ é"}), "String STRAßE Ÿ É");
  EXPECT_EQ(Show("LCase", {"ÀÉÎ Жук"}), "String àéî жук");
  EXPECT_EQ(Show("UCase", {Variant::Null()}), "Null");
  EXPECT_EQ(Show("Trim", {"  a b  "}), "String a b");
  EXPECT_EQ(Show("Trim", {"\ta\t"}), "String \ta\t");  // only spaces are trimmed
  EXPECT_EQ(Show("LTrim", {"  a  "}), "String a  ");
  EXPECT_EQ(Show("RTrim", {"  a  "}), "String   a");
}

TEST_F(StringTest, SpaceAndString) {
  EXPECT_EQ(Show("Space", {I(3)}), "String    ");
  EXPECT_EQ(Error("Space", {I(-1)}), 5);
  EXPECT_EQ(Show("String", {I(3), "xyz"}), "String xxx");
  EXPECT_EQ(Show("String", {I(2), I(65 + 256)}), "String AA");
  EXPECT_EQ(Error("String", {I(2), ""}), 5);
  EXPECT_EQ(Show("String", {I(2), Variant::Null()}), "Null");
  EXPECT_EQ(Error("Space", {Variant(200000000)}), 7);
}

TEST_F(StringTest, StrCompModes) {
  EXPECT_EQ(Show("StrComp", {"a", "B"}), "Integer 1");  // binary: "a" > "B"
  EXPECT_EQ(Show("StrComp", {"a", "B", I(1)}), "Integer -1");
  EXPECT_EQ(Show("StrComp", {"ABC", "abc", I(1)}), "Integer 0");
  EXPECT_EQ(Show("StrComp", {"ab", "abc"}), "Integer -1");
  EXPECT_EQ(Show("StrComp", {"a", Variant::Null()}), "Null");
  EXPECT_EQ(Show("StrReverse", {"abc"}), "String cba");
  EXPECT_EQ(Error("StrReverse", {Variant::Null()}), 94);
}

TEST_F(StringTest, ReplaceStartCountAndCompare) {
  EXPECT_EQ(Show("Replace", {"aXbXc", "X", "-"}), "String a-b-c");
  EXPECT_EQ(Show("Replace", {"aXbXc", "X", "-", I(3)}), "String b-c");  // text before start dropped
  EXPECT_EQ(Show("Replace", {"aXbXcX", "X", "-", I(1), I(2)}), "String a-b-cX");
  EXPECT_EQ(Show("Replace", {"axbXc", "X", "", I(1), I(-1), I(1)}), "String abc");
  EXPECT_EQ(Show("Replace", {"abc", "", "-"}), "String abc");
  EXPECT_EQ(Show("Replace", {"abc", "b", "-", I(9)}), "String ");
  EXPECT_EQ(Show("Replace", {"aaa", "aa", "b"}), "String ba");
  EXPECT_EQ(Error("Replace", {Variant::Null(), "a", "b"}), 94);
  EXPECT_EQ(Error("Replace", {"abc", "a", "b", I(0)}), 5);
}

std::vector<std::string> Items(const Variant& array) {
  std::vector<std::string> out;
  for (const Variant& v : array.AsArray()->Data())
    out.push_back(ToUtf8(v));
  return out;
}

TEST_F(StringTest, SplitLimitsAndEmptyText) {
  using V = std::vector<std::string>;
  EXPECT_EQ(Items(Run("Split", {"a b  c"})), (V{"a", "b", "", "c"}));
  EXPECT_EQ(Items(Run("Split", {"a,b,c,d", ",", I(2)})), (V{"a", "b,c,d"}));
  EXPECT_EQ(Items(Run("Split", {"a,b", ",", I(1)})), (V{"a,b"}));
  EXPECT_EQ(Items(Run("Split", {"aXbxc", "x", I(-1), I(1)})), (V{"a", "b", "c"}));
  EXPECT_EQ(Items(Run("Split", {"abc", ""})), (V{"abc"}));
  EXPECT_EQ(Items(Run("Split", {"a,", ","})), (V{"a", ""}));
  Variant empty = Run("Split", {""});
  EXPECT_EQ(empty.AsArray()->UpperBound(0), -1);
  EXPECT_EQ(Run("Split", {"a b", " ", I(0)}).AsArray()->UpperBound(0), -1);
  EXPECT_EQ(Error("Split", {Variant::Null()}), 94);
}

TEST_F(StringTest, JoinAndFilter) {
  Variant parts = Run("Split", {"a,b,c", ","});
  EXPECT_EQ(Show("Join", {parts}), "String a b c");
  EXPECT_EQ(Show("Join", {parts, "--"}), "String a--b--c");
  EXPECT_EQ(Error("Join", {"abc"}), 13);
  Variant words = Run("Split", {"apple Banana cherry"});
  using V = std::vector<std::string>;
  EXPECT_EQ(Items(Run("Filter", {words, "an"})), (V{"Banana"}));
  EXPECT_EQ(Items(Run("Filter", {words, "A", Variant(true), I(1)})), (V{"apple", "Banana"}));
  EXPECT_EQ(Items(Run("Filter", {words, "an", Variant(false)})), (V{"apple", "cherry"}));
  EXPECT_EQ(Run("Filter", {words, "zz"}).AsArray()->UpperBound(0), -1);
}

TEST_F(StringTest, EscapeRoundTrips) {
  EXPECT_EQ(Show("Escape", {"a b+c/é€"}), "String a%20b+c/%E9%u20AC");
  EXPECT_EQ(Show("Unescape", {"a%20b%u20ac%zz%"}), "String a b€%zz%");
  EXPECT_EQ(Show("Unescape", {Run("Escape", {"<tag attr=\"1\">"})}), "String <tag attr=\"1\">");
}

}  // namespace
}  // namespace sl::vbs::test

// Formatting functions and the message and input boxes.
#include "vbscript/builtins/arguments.h"
#include "vbscript/builtins/builtin_test_support.h"

namespace sl::vbs::test {
namespace {

class FormatTest : public BuiltinTest {
 protected:
  std::string Number(std::vector<Variant> args) { return ToUtf8(Run("FormatNumber", args)); }
};

TEST_F(FormatTest, FormatNumberRoundsAndGroups) {
  EXPECT_EQ(Number({Variant(1234.567)}), "1,234.57");
  EXPECT_EQ(Number({Variant(1234.567), I(0)}), "1,235");
  EXPECT_EQ(Number({Variant(2.5), I(0)}), "3");  // formatting rounds half away from zero
  EXPECT_EQ(Number({Variant(-2.5), I(0)}), "-3");
  EXPECT_EQ(Number({Variant(1.005), I(2)}), "1.01");
  EXPECT_EQ(Number({Variant(999.999), I(2)}), "1,000.00");
  EXPECT_EQ(Number({Variant(1234567.891), I(1)}), "1,234,567.9");
  EXPECT_EQ(Number({Variant(0.000123), I(5)}), "0.00012");
  EXPECT_EQ(Number({Variant(1e20), I(0)}), "100,000,000,000,000,000,000");
  EXPECT_EQ(Number({"1234.5"}), "1,234.50");
  EXPECT_EQ(Number({Variant()}), "0.00");
  EXPECT_EQ(Number({Variant(-0.001), I(2)}), "0.00");  // no sign on a rounded-away value
}

TEST_F(FormatTest, FormatNumberOptions) {
  EXPECT_EQ(Number({Variant(0.5), I(2), I(0)}), ".50");  // no leading digit
  EXPECT_EQ(Number({Variant(0.5), I(2), I(-1)}), "0.50");
  EXPECT_EQ(Number({Variant(-0.5), I(2), I(0)}), "-.50");
  EXPECT_EQ(Number({Variant(-1234.5), I(2), I(-2), I(-1)}), "(1,234.50)");
  EXPECT_EQ(Number({Variant(-1234.5), I(2), I(-2), I(0)}), "-1,234.50");
  EXPECT_EQ(Number({Variant(1234.5), I(2), I(-2), I(-2), I(0)}), "1234.50");
  EXPECT_EQ(Number({Variant(1234.5), Variant::Error(kMissingArgument), I(-2), I(-2), I(0)}),
            "1234.50");
  EXPECT_EQ(Error("FormatNumber", {Variant(1), I(-3)}), 5);
  EXPECT_EQ(Error("FormatNumber", {"abc"}), 13);
  EXPECT_EQ(Error("FormatNumber", {Variant::Null()}), 13);  // the value: a type mismatch
  EXPECT_EQ(Error("FormatNumber", {Variant(1), Variant::Null()}), 94);  // an option
}

TEST_F(FormatTest, CurrencyAndPercent) {
  EXPECT_EQ(ToUtf8(Run("FormatCurrency", {Variant(1234.567)})), "$1,234.57");
  EXPECT_EQ(ToUtf8(Run("FormatCurrency", {Variant(-1234.567)})), "($1,234.57)");
  EXPECT_EQ(ToUtf8(Run("FormatCurrency", {Variant(-5), I(0), I(-2), I(0)})), "-$5");
  EXPECT_EQ(ToUtf8(Run("FormatCurrency", {Variant::Currency(5000)})), "$0.50");
  EXPECT_EQ(ToUtf8(Run("FormatPercent", {Variant(0.125)})), "12.50%");
  EXPECT_EQ(ToUtf8(Run("FormatPercent", {Variant(-0.5), I(0)})), "-50%");
  EXPECT_EQ(ToUtf8(Run("FormatPercent", {Variant(12.345), I(1)})), "1,234.5%");
}

TEST_F(FormatTest, FormatDateTimeStyles) {
  Variant d = Run("CDate", {"3/7/2004 2:05:09 PM"});
  EXPECT_EQ(ToUtf8(Run("FormatDateTime", {d})), "3/7/2004 2:05:09 PM");
  EXPECT_EQ(ToUtf8(Run("FormatDateTime", {d, I(1)})), "Sunday, March 07, 2004");
  EXPECT_EQ(ToUtf8(Run("FormatDateTime", {d, I(2)})), "3/7/2004");
  EXPECT_EQ(ToUtf8(Run("FormatDateTime", {d, I(3)})), "2:05:09 PM");
  EXPECT_EQ(ToUtf8(Run("FormatDateTime", {d, I(4)})), "14:05");
  EXPECT_EQ(ToUtf8(Run("FormatDateTime", {"1/1/2010", I(0)})), "1/1/2010");
  EXPECT_EQ(ToUtf8(Run("FormatDateTime", {Run("CDate", {"9:00"}), I(4)})), "09:00");
  EXPECT_EQ(Error("FormatDateTime", {d, I(5)}), 5);
  EXPECT_EQ(Error("FormatDateTime", {"no date"}), 13);
  // The long date reads back as the same date.
  EXPECT_EQ(ToUtf8(Run("CDate", {Run("FormatDateTime", {d, I(1)})})), "3/7/2004");
}

TEST_F(FormatTest, MsgBoxGoesThroughTheHost) {
  context.messageAnswer = 6;
  EXPECT_EQ(Show("MsgBox", {"Save?", Variant(4 + 32), "Game"}), "Integer 6");
  ASSERT_EQ(context.messages.size(), 1u);
  EXPECT_EQ(context.messages[0].prompt, "Save?");
  EXPECT_EQ(context.messages[0].buttons, 36);
  EXPECT_EQ(context.messages[0].title, "Game");
  Run("MsgBox", {I(42)});
  EXPECT_EQ(context.messages[1].prompt, "42");
  EXPECT_EQ(context.messages[1].title, "");
  EXPECT_EQ(Error("MsgBox", {Variant::Null()}), 94);
}

TEST_F(FormatTest, InputBoxCancelIsEmpty) {
  context.inputAnswer = "Ann";
  EXPECT_EQ(Show("InputBox", {"Name?", "Title", "Bob"}), "String Ann");
  EXPECT_EQ(context.inputs[0].prompt, "Name?");
  EXPECT_EQ(context.inputs[0].title, "Title|Bob");
  context.inputAnswer.reset();
  EXPECT_TRUE(Run("InputBox", {"Name?"}).IsEmpty());
  context.inputAnswer = "";
  EXPECT_EQ(Show("InputBox", {"Name?"}), "String ");
}

}  // namespace
}  // namespace sl::vbs::test

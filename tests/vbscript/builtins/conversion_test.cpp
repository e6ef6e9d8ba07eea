// Conversion functions: rounding, ranges, the text forms of each subtype and date text.
#include "vbscript/builtins/builtin_test_support.h"

namespace sl::vbs::test {
namespace {

class ConversionTest : public BuiltinTest {};

TEST_F(ConversionTest, IntegerConversionsRoundHalfToEven) {
  EXPECT_EQ(Show("CInt", {Variant(2.5)}), "Integer 2");
  EXPECT_EQ(Show("CInt", {Variant(3.5)}), "Integer 4");
  EXPECT_EQ(Show("CInt", {Variant(-2.5)}), "Integer -2");
  EXPECT_EQ(Show("CInt", {"  1.5 "}), "Integer 2");
  EXPECT_EQ(Show("CInt", {"&H10"}), "Integer 16");
  EXPECT_EQ(Show("CInt", {"&HFFFF"}), "Integer -1");
  EXPECT_EQ(Show("CLng", {Variant(0.5)}), "Long 0");
  EXPECT_EQ(Show("CLng", {Variant(1.5)}), "Long 2");
  EXPECT_EQ(Show("CByte", {Variant(254.5)}), "Byte 254");
  EXPECT_EQ(Show("CInt", {Variant(true)}), "Integer -1");
  EXPECT_EQ(Show("CInt", {Variant()}), "Integer 0");
  EXPECT_EQ(Error("CInt", {Variant(32767.5)}), 6);
  EXPECT_EQ(Error("CByte", {I(-1)}), 6);
  EXPECT_EQ(Error("CLng", {Variant(3e9)}), 6);
  EXPECT_EQ(Error("CInt", {"abc"}), 13);
  EXPECT_EQ(Error("CInt", {Variant::Null()}), 94);
}

TEST_F(ConversionTest, TextFormsOfNumbers) {
  EXPECT_EQ(Show("CStr", {Variant(1.0f / 3)}), "String 0.3333333");
  EXPECT_EQ(Show("CStr", {Variant(1.0 / 3)}), "String 0.333333333333333");
  EXPECT_EQ(Show("CStr", {Variant(0.1 + 0.2)}), "String 0.3");
  EXPECT_EQ(Show("CStr", {Variant(1.1f)}), "String 1.1");
  EXPECT_EQ(Show("CStr", {Variant(1e20)}), "String 1E+20");
  EXPECT_EQ(Show("CStr", {Variant(-2.5e-7)}), "String -2.5E-07");
  EXPECT_EQ(Show("CStr", {Variant(123456789012345.0)}), "String 123456789012345");
  EXPECT_EQ(Show("CStr", {Variant(1e15)}), "String 1E+15");
  EXPECT_EQ(Show("CStr", {Variant(0.0001)}), "String 0.0001");
  EXPECT_EQ(Show("CStr", {Variant(0.00001)}), "String 1E-05");
  // A Single's error shows once it is a Double: 15 digits would reach past 15 decimals.
  EXPECT_EQ(Show("CStr", {Variant(static_cast<double>(0.01f) + 0.01)}),
            "String 1.99999997764826E-02");
  EXPECT_EQ(Show("CStr", {Variant(0.05)}), "String 0.05");
  EXPECT_EQ(Show("CStr", {Variant(1234567.0f)}), "String 1234567");
  EXPECT_EQ(Show("CStr", {Variant(12345678.0f)}), "String 1.234568E+07");
  EXPECT_EQ(Show("CStr", {Variant(-100.0)}), "String -100");
  EXPECT_EQ(Show("CStr", {Variant::Currency(12345000)}), "String 1234.5");
  EXPECT_EQ(Show("CStr", {Variant::Currency(-1)}), "String -0.0001");
  EXPECT_EQ(Show("CStr", {Variant(true)}), "String True");
  EXPECT_EQ(Show("CStr", {Variant()}), "String ");
  EXPECT_EQ(Error("CStr", {Variant::Null()}), 94);
  EXPECT_EQ(Show("CCur", {"1,234.56789"}), "Currency 1234.5679");
  EXPECT_EQ(Show("CDbl", {"1e3"}), "Double 1000");
  EXPECT_EQ(Show("CSng", {"2.5"}), "Single 2.5");
  EXPECT_EQ(Error("CSng", {Variant(1e300)}), 6);
}

TEST_F(ConversionTest, TextFormsOfDates) {
  EXPECT_EQ(Show("CStr", {Variant::Date(38053.0)}), "String 3/7/2004");
  EXPECT_EQ(Show("CStr", {Variant::Date(38053.0 + (14 * 3600 + 5 * 60 + 9) / 86400.0)}),
            "String 3/7/2004 2:05:09 PM");
  EXPECT_EQ(Show("CStr", {Variant::Date(0.5)}), "String 12:00:00 PM");
  EXPECT_EQ(Show("CStr", {Variant::Date(0)}), "String 12:00:00 AM");
}

TEST_F(ConversionTest, CDateReadsUsDateText) {
  EXPECT_EQ(Show("CDate", {"3/7/2004"}), "Date 3/7/2004");
  EXPECT_EQ(Show("CDate", {"2004-03-07"}), "Date 3/7/2004");
  EXPECT_EQ(Show("CDate", {"March 7, 2004"}), "Date 3/7/2004");
  EXPECT_EQ(Show("CDate", {"7 Mar 2004"}), "Date 3/7/2004");
  EXPECT_EQ(Show("CDate", {"7-Mar-04"}), "Date 3/7/2004");
  EXPECT_EQ(Show("CDate", {"Sunday, March 07, 2004"}), "Date 3/7/2004");
  EXPECT_EQ(Show("CDate", {"13/1/2004"}), "Date 1/13/2004");  // no 13th month: day first
  EXPECT_EQ(Show("CDate", {"3/7/29"}), "Date 3/7/2029");
  EXPECT_EQ(Show("CDate", {"3/7/30"}), "Date 3/7/1930");
  EXPECT_EQ(Show("CDate", {"3/7"}), "Date 3/7/2004");  // the clock's year
  EXPECT_EQ(Show("CDate", {"March 2004"}), "Date 3/1/2004");
  EXPECT_EQ(Show("CDate", {"2:05:09 PM"}), "Date 2:05:09 PM");
  EXPECT_EQ(Show("CDate", {"14:05"}), "Date 2:05:00 PM");
  EXPECT_EQ(Show("CDate", {"3 PM"}), "Date 3:00:00 PM");
  EXPECT_EQ(Show("CDate", {"12:30 AM"}), "Date 12:30:00 AM");
  EXPECT_EQ(Show("CDate", {"3/7/2004 14:05:09"}), "Date 3/7/2004 2:05:09 PM");
  EXPECT_EQ(Show("CDate", {"2:05 PM 3/7/2004"}), "Date 3/7/2004 2:05:00 PM");
  EXPECT_EQ(Show("CDate", {Variant(38053.5)}), "Date 3/7/2004 12:00:00 PM");
  EXPECT_EQ(Show("CDate", {"38053"}), "Date 3/7/2004");
  EXPECT_EQ(Error("CDate", {"2/30/2004"}), 13);
  EXPECT_EQ(Error("CDate", {"25:00"}), 13);
  EXPECT_EQ(Error("CDate", {"13 PM"}), 13);
  EXPECT_EQ(Error("CDate", {"hello"}), 13);
  EXPECT_EQ(Error("CDate", {""}), 13);
}

TEST_F(ConversionTest, CBoolAcceptsWordsAndNumbers) {
  EXPECT_EQ(Show("CBool", {" true "}), "Boolean True");
  EXPECT_EQ(Show("CBool", {"FALSE"}), "Boolean False");
  EXPECT_EQ(Show("CBool", {"0.5"}), "Boolean True");
  EXPECT_EQ(Show("CBool", {Variant()}), "Boolean False");
  EXPECT_EQ(Error("CBool", {"yes"}), 13);
  EXPECT_EQ(Error("CBool", {Variant::Null()}), 94);
}

TEST_F(ConversionTest, HexAndOctOfNegatives) {
  EXPECT_EQ(Show("Hex", {I(255)}), "String FF");
  EXPECT_EQ(Show("Hex", {I(-1)}), "String FFFF");
  EXPECT_EQ(Show("Hex", {Variant(-1)}), "String FFFFFFFF");
  EXPECT_EQ(Show("Hex", {Variant(-32769)}), "String FFFF7FFF");
  EXPECT_EQ(Show("Hex", {Variant(65535)}), "String FFFF");
  EXPECT_EQ(Show("Hex", {Variant(2.5)}), "String 2");
  EXPECT_EQ(Show("Hex", {Variant()}), "String 0");
  EXPECT_EQ(Show("Hex", {Variant::Null()}), "Null");
  EXPECT_EQ(Show("Oct", {I(8)}), "String 10");
  EXPECT_EQ(Show("Oct", {I(-1)}), "String 177777");
  EXPECT_EQ(Show("Oct", {Variant(-1)}), "String 37777777777");
  EXPECT_EQ(Error("Hex", {Variant(5e9)}), 6);
}

TEST_F(ConversionTest, CharacterCodes) {
  EXPECT_EQ(Show("Asc", {"ABC"}), "Integer 65");
  EXPECT_EQ(Show("Asc", {"€"}), "Integer 128");  // Windows Latin-1 code
  EXPECT_EQ(Show("AscW", {"€"}), "Integer 8364");
  EXPECT_EQ(Show("AscW", {Run("ChrW", {Variant(65535)})}), "Integer -1");
  EXPECT_EQ(Show("Asc", {"Ж"}), "Integer 63");  // not on the code page
  EXPECT_EQ(Error("Asc", {""}), 5);
  EXPECT_EQ(Error("Asc", {Variant::Null()}), 94);
  EXPECT_EQ(Show("Chr", {I(128)}), "String €");
  EXPECT_EQ(Show("Chr", {I(233)}), "String é");
  EXPECT_EQ(Show("ChrW", {I(0x416)}), "String Ж");
  EXPECT_EQ(Show("ChrW", {I(-1)}), Show("ChrW", {Variant(65535)}));
  EXPECT_EQ(Error("Chr", {I(256)}), 5);
  EXPECT_EQ(Error("ChrW", {Variant(65536)}), 5);
  EXPECT_EQ(Show("Len", {Run("Chr", {I(0)})}), "Long 1");
}

TEST_F(ConversionTest, IntAndFixKeepTheSubtype) {
  EXPECT_EQ(Show("Int", {Variant(-2.5)}), "Double -3");
  EXPECT_EQ(Show("Fix", {Variant(-2.5)}), "Double -2");
  EXPECT_EQ(Show("Int", {Variant(2.7f)}), "Single 2");
  EXPECT_EQ(Show("Int", {I(7)}), "Integer 7");
  EXPECT_EQ(Show("Int", {"-1.5"}), "Double -2");
  EXPECT_EQ(Show("Int", {Variant::Currency(-15000)}), "Currency -2");
  EXPECT_EQ(Show("Fix", {Variant::Currency(-15000)}), "Currency -1");
  EXPECT_EQ(Show("Int", {Variant::Date(38053.75)}), "Date 3/7/2004");
  EXPECT_EQ(Show("Int", {Variant::Null()}), "Null");
  EXPECT_EQ(Show("Int", {Variant()}), "Integer 0");
  EXPECT_EQ(Error("Int", {"x"}), 13);
}

}  // namespace
}  // namespace sl::vbs::test

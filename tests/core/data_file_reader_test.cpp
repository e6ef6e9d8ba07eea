#include "core/data_file_reader.h"

#include <gtest/gtest.h>

#include "core/data_file_writer.h"
#include "core/date_time.h"
#include "core/runtime_error.h"
#include "core/variant_convert.h"
#include "support/error_number.h"
#include "support/temp_folder.h"

namespace sl {
namespace {

using test::ErrorNumberOf;

TEST(DataFileReaderTest, QuotedFieldsKeepCommasAndLineBreaks) {
  DataFileReader r("\"a, b\",\"line1\r\nline2\",\"x\"junk after,\"last\"\r\n");
  EXPECT_EQ(r.ReadString(), "a, b");
  EXPECT_EQ(r.ReadString(), "line1\r\nline2");
  EXPECT_EQ(r.ReadString(), "x");  // text after the closing quote is dropped
  EXPECT_EQ(r.ReadString(), "last");
  EXPECT_TRUE(r.Eof());
  EXPECT_EQ(ErrorNumberOf([&] { r.ReadString(); }), 62);
}

TEST(DataFileReaderTest, BareFieldsTrimAndEndAtDelimiters) {
  DataFileReader r("  Hall  ,\tkey item \r\n,\r\n7\n8\r9");
  EXPECT_EQ(r.ReadString(), "Hall");
  EXPECT_EQ(r.ReadString(), "key item");
  EXPECT_EQ(r.ReadString(), "");  // empty field at the start of a line
  EXPECT_EQ(r.ReadInteger(), 0);  // empty field before the line end
  EXPECT_EQ(r.ReadInteger(), 7);  // lone LF
  EXPECT_EQ(r.ReadInteger(), 8);  // lone CR
  EXPECT_FALSE(r.Eof());
  EXPECT_EQ(r.ReadInteger(), 9);  // no final line end
  EXPECT_TRUE(r.Eof());
}

TEST(DataFileReaderTest, EofAfterFinalLineEndButNotBeforeBlankLine) {
  DataFileReader a("1,2\r\n");
  a.Skip(2);
  EXPECT_TRUE(a.Eof());
  DataFileReader b("1\r\n\r\n");
  b.Skip(1);
  EXPECT_FALSE(b.Eof());
  EXPECT_EQ(b.ReadString(), "");
  EXPECT_TRUE(b.Eof());
  DataFileReader empty("");
  EXPECT_TRUE(empty.Eof());
  EXPECT_EQ(ErrorNumberOf([&] { empty.ReadInteger(); }), 62);
}

TEST(DataFileReaderTest, LiteralsAndTypedReads) {
  DataFileReader r("#TRUE#,#FALSE#,#TRUE#,#NULL#,#2004-03-07#,#2004-03-07 14:05:09#,\"12\",-3\r\n");
  EXPECT_TRUE(r.ReadBoolean());
  EXPECT_FALSE(r.ReadBoolean());
  EXPECT_EQ(r.ReadInteger(), -1);  // True as a number
  EXPECT_TRUE(r.ReadVariant().IsNull());
  Variant date = r.ReadVariant();
  ASSERT_EQ(date.Type(), VarType::Date);
  EXPECT_EQ(OleDateToCivil(date.AsDate()), (CivilTime{2004, 3, 7, 0, 0, 0, 0}));
  Variant stamp = r.ReadVariant();
  EXPECT_EQ(OleDateToCivil(stamp.AsDate()), (CivilTime{2004, 3, 7, 14, 5, 9, 0}));
  EXPECT_EQ(r.ReadLong(), 12);  // a quoted number converts
  EXPECT_EQ(r.ReadDouble(), -3.0);
}

TEST(DataFileReaderTest, VariantKeepsTheFieldsOwnType) {
  DataFileReader r("\"5\",5,70000,2.5,,abc,#FALSE#");
  EXPECT_EQ(r.ReadVariant().Type(), VarType::String);
  EXPECT_EQ(r.ReadVariant().Type(), VarType::Integer);
  EXPECT_EQ(r.ReadVariant().Type(), VarType::Long);
  EXPECT_EQ(r.ReadVariant().Type(), VarType::Double);
  EXPECT_TRUE(r.ReadVariant().IsEmpty());
  Variant text = r.ReadVariant();
  EXPECT_EQ(ToUtf8(text), "abc");
  Variant b = r.ReadVariant();
  EXPECT_EQ(b.Type(), VarType::Boolean);
  EXPECT_FALSE(b.AsBool());
}

TEST(DataFileReaderTest, IntegerRoundingAndErrors) {
  DataFileReader r("2.5,3.5,-2.5,32767,32768,-32769,abc,2147483647,2147483648,1E3,&H10,True");
  EXPECT_EQ(r.ReadInteger(), 2);
  EXPECT_EQ(r.ReadInteger(), 4);
  EXPECT_EQ(r.ReadInteger(), -2);
  EXPECT_EQ(r.ReadInteger(), 32767);
  EXPECT_EQ(ErrorNumberOf([&] { r.ReadInteger(); }), 6);
  EXPECT_EQ(ErrorNumberOf([&] { r.ReadInteger(); }), 6);
  EXPECT_EQ(ErrorNumberOf([&] { r.ReadInteger(); }), 13);
  EXPECT_EQ(r.ReadLong(), 2147483647);
  EXPECT_EQ(ErrorNumberOf([&] { r.ReadLong(); }), 6);
  EXPECT_EQ(r.ReadLong(), 1000);
  EXPECT_EQ(r.ReadLong(), 16);
  EXPECT_TRUE(r.ReadBoolean());
}

TEST(DataFileReaderTest, BooleanFromNumbersAndTextErrors) {
  DataFileReader r("0,-1,2,\"yes\",#NULL#");
  EXPECT_FALSE(r.ReadBoolean());
  EXPECT_TRUE(r.ReadBoolean());
  EXPECT_TRUE(r.ReadBoolean());
  EXPECT_EQ(ErrorNumberOf([&] { r.ReadBoolean(); }), 13);
  EXPECT_NE(ErrorNumberOf([&] { r.ReadInteger(); }), 0);
}

TEST(DataFileReaderTest, SeparatorPeekDoesNotMove) {
  DataFileReader r("\"a\",\"----- SEPARATOR -----\"\r\n----- SEPARATOR -----\r\n");
  EXPECT_FALSE(r.SeparatorOrEndNext());
  std::size_t before = r.Position();
  EXPECT_FALSE(r.SeparatorOrEndNext());
  EXPECT_EQ(r.Position(), before);
  EXPECT_EQ(r.ReadString(), "a");
  before = r.Position();
  EXPECT_TRUE(r.SeparatorOrEndNext());
  EXPECT_EQ(r.Position(), before);
  EXPECT_EQ(r.ReadString(), std::string(DataFileReader::kSeparator));
  EXPECT_TRUE(r.SeparatorOrEndNext());  // the bare form counts too
  r.Skip(1);
  EXPECT_TRUE(r.Eof());
  EXPECT_TRUE(r.SeparatorOrEndNext());
}

TEST(DataFileReaderTest, LineInputAndUnterminatedQuote) {
  DataFileReader r("first, line \"q\"\r\nsecond\n\"open, never closed\r\nstill");
  EXPECT_EQ(r.ReadLine(), "first, line \"q\"");
  EXPECT_EQ(r.ReadLine(), "second");
  EXPECT_EQ(r.ReadString(), "open, never closed\r\nstill");
  EXPECT_TRUE(r.Eof());
  EXPECT_EQ(ErrorNumberOf([&] { r.ReadLine(); }), 62);
}

TEST(DataFileReaderTest, Windows1252TextComesOutAsUtf8) {
  DataFileReader r("\"Caf\xE9 \x80\",\xC4pfel");
  EXPECT_EQ(r.ReadString(), "Café €");
  EXPECT_EQ(ToUtf8(r.ReadVariant()), "Äpfel");
}

TEST(DataFileReaderTest, MissingFileIsError53) {
  test::TempFolder dir;
  EXPECT_EQ(ErrorNumberOf([&] { DataFileReader::FromFile(dir / "nope"); }), 53);
  EXPECT_NE(ErrorNumberOf([&] { DataFileReader::FromFile(dir.Path()); }), 0);
  DataFileReader r = DataFileReader::FromFile(dir.Write("f", "\"x\",1\r\n"));
  EXPECT_EQ(r.ReadString(), "x");
}

TEST(DataFileWriterTest, WritesTheEditorsNotationAndReadsBack) {
  DataFileWriter w;
  w.String("Hall, east").Integer(-3).Boolean(true).Boolean(false).Null().Empty().Number(2.5);
  w.EndLine();
  w.String("Café").Date(CivilToOleDate({2004, 3, 7, 14, 5, 9, 0})).EndLine();
  w.Line("raw, line");
  EXPECT_EQ(w.Bytes(),
            "\"Hall, east\",-3,#TRUE#,#FALSE#,#NULL#,,2.5\r\n"
            "\"Caf\xE9\",#2004-03-07 14:05:09#\r\nraw, line\r\n");
  DataFileReader r(w.Bytes());
  EXPECT_EQ(r.ReadString(), "Hall, east");
  EXPECT_EQ(r.ReadInteger(), -3);
  EXPECT_TRUE(r.ReadBoolean());
  EXPECT_FALSE(r.ReadBoolean());
  EXPECT_TRUE(r.ReadVariant().IsNull());
  EXPECT_TRUE(r.ReadVariant().IsEmpty());
  EXPECT_EQ(r.ReadDouble(), 2.5);
  EXPECT_EQ(r.ReadString(), "Café");
  EXPECT_EQ(r.ReadVariant().Type(), VarType::Date);
  EXPECT_EQ(r.ReadLine(), "raw, line");
  EXPECT_TRUE(r.Eof());
}

TEST(DataFileWriterTest, QuoteInsideStringCannotBreakTheField) {
  DataFileWriter w;
  w.String("say \"hi\"").String("next").EndLine();
  DataFileReader r(w.Bytes());
  EXPECT_EQ(r.ReadString(), "say 'hi'");
  EXPECT_EQ(r.ReadString(), "next");
}

}  // namespace
}  // namespace sl

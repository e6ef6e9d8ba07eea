#include "core/text_encoding.h"

#include <gtest/gtest.h>

#include "core/case_fold.h"
#include "core/shared_string.h"
#include "core/utf8.h"
#include "core/wildcard.h"

namespace sl {
namespace {

TEST(TextEncodingTest, EveryByteRoundTrips) {
  std::string all;
  for (int b = 0; b < 256; ++b)
    all.push_back(static_cast<char>(b));
  std::string utf8 = Windows1252ToUtf8(all);
  EXPECT_EQ(Utf8ToWindows1252(utf8), all);
  EXPECT_EQ(Utf16ToWindows1252(Windows1252ToUtf16(all)), all);
}

TEST(TextEncodingTest, SpecialCharactersAndUnmappable) {
  EXPECT_EQ(Windows1252ToUtf8("\x80\x96\x99\xE9"), "€–™é");
  EXPECT_EQ(Utf8ToWindows1252("Zoë – ☃ 日本"), "Zo\xEB \x96 ? ??");
  EXPECT_EQ(Utf8ToWindows1252("bad \xFF byte"), "bad ? byte");
  EXPECT_EQ(Utf16ToWindows1252(u"\U0001F600x"), "?x");
}

TEST(CaseFoldTest, FoldsAccentedAndAsciiLetters) {
  EXPECT_EQ(FoldCase("Frames\\PIC.Jpg"), "frames\\pic.jpg");
  EXPECT_EQ(FoldCase("ÉCOLE ÄÖÜ Œ Ÿ"), "école äöü œ ÿ");
  EXPECT_TRUE(EqualsIgnoreCase("Général", "GÉNÉRAL"));
  EXPECT_FALSE(EqualsIgnoreCase("abc", "abd"));
  EXPECT_EQ(FoldCase("\xC3"), "\xC3");  // a truncated sequence is kept as it is
}

TEST(Utf8Test, EncodesEachLengthAtItsBoundaries) {
  auto encoded = [](char32_t c) {
    std::string out;
    AppendUtf8(out, c);
    return out;
  };
  EXPECT_EQ(encoded(U'\x7F'), "\x7F");
  EXPECT_EQ(encoded(0x80), "\xC2\x80");
  EXPECT_EQ(encoded(0x7FF), "\xDF\xBF");
  EXPECT_EQ(encoded(0x800), "\xE0\xA0\x80");
  EXPECT_EQ(encoded(0xFFFF), "\xEF\xBF\xBF");
  EXPECT_EQ(encoded(0x10000), "\xF0\x90\x80\x80");
  EXPECT_EQ(encoded(0x10FFFF), "\xF4\x8F\xBF\xBF");
  // The three conversions that write UTF-8 agree on a character beyond the basic plane.
  EXPECT_EQ(Utf16ToUtf8(u"\U0001F600 \u00E9"), "\xF0\x9F\x98\x80 \xC3\xA9");
  EXPECT_EQ(FoldCase("\xF0\x9F\x98\x80\xC3\x89"), "\xF0\x9F\x98\x80\xC3\xA9");
  EXPECT_EQ(Windows1252ToUtf8("\x80"), "\xE2\x82\xAC");
}

TEST(CaseFoldTest, AsciiLowerChangesOnlyAsciiCapitals) {
  EXPECT_EQ(ToLowerAscii("MsgBox Z@[`{"), "msgbox z@[`{");
  EXPECT_EQ(ToLowerAscii("\xC3\x89T\xC3\x89"), "\xC3\x89t\xC3\x89");  // É stays as it is
  EXPECT_EQ(AsciiLower('A'), 'a');
  EXPECT_EQ(AsciiLower('Z'), 'z');
  EXPECT_EQ(AsciiLower('@'), '@');
  EXPECT_EQ(AsciiLower('\xC9'), '\xC9');
}

TEST(WildcardTest, WindowsListingPatterns) {
  EXPECT_TRUE(WildcardMatch("*.SAV", "game1.sav"));
  EXPECT_FALSE(WildcardMatch("*.sav", "game1.sav.bak"));
  EXPECT_TRUE(WildcardMatch("g?me*.s?v", "GAME12.SAV"));
  EXPECT_FALSE(WildcardMatch("g?me", "gme"));
  EXPECT_TRUE(WildcardMatch("*.*", "README"));
  EXPECT_TRUE(WildcardMatch("save.*", "save"));
  EXPECT_TRUE(WildcardMatch("?.txt", "é.txt"));  // '?' is one character, not one byte
  EXPECT_TRUE(WildcardMatch("a*b*c", "aXbYbZc"));
  EXPECT_FALSE(WildcardMatch("a*b*c", "aXbYbZ"));
}

}  // namespace
}  // namespace sl

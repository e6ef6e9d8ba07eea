#include "core/text_encoding.h"

#include <gtest/gtest.h>

#include "core/case_fold.h"
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

// Font mapping, measurement, drawing and label layout with the installed free fonts.
#include "ui/draw/font.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "ui/draw/text_layout.h"

namespace sl::draw {
namespace {

class FontTest : public ::testing::Test {
 protected:
  Font Arial(double size = 12, bool bold = false) {
    FontSpec spec;
    spec.name = "Arial";
    spec.size = size;
    spec.bold = bold;
    return fonts.Get(spec);
  }
  FontSystem fonts;
};

TEST_F(FontTest, ClassicNamesMapToMetricCompatibleFiles) {
  EXPECT_EQ(FontSystem::SubstituteFamily("ARIAL"), "Liberation Sans");
  EXPECT_EQ(FontSystem::SubstituteFamily(" Times New Roman"), "Liberation Serif");
  EXPECT_EQ(FontSystem::SubstituteFamily("courier new"), "Liberation Mono");
  EXPECT_EQ(FontSystem::SubstituteFamily("MS Sans Serif"), "Liberation Sans");
  EXPECT_EQ(FontSystem::SubstituteFamily("Comic Sans MS"), "");

  FontMatch arial = fonts.Resolve({"Arial"});
  EXPECT_NE(arial.file.filename().string().find("LiberationSans-Regular"), std::string::npos)
      << arial.file;
  FontSpec boldItalic{"Times New Roman", 10, true, true};
  FontMatch times = fonts.Resolve(boldItalic);
  EXPECT_NE(times.file.filename().string().find("LiberationSerif-BoldItalic"), std::string::npos)
      << times.file;
  EXPECT_FALSE(times.syntheticBold);
  EXPECT_EQ(fonts.Resolve({"Courier New"}).family, "Liberation Mono");
  // Unknown names still find a font through the best match.
  EXPECT_FALSE(fonts.Resolve({"No Such Font At All"}).file.empty());
}

TEST_F(FontTest, SizesFollowPointsAt96Dpi) {
  Font f = Arial(12);
  ASSERT_TRUE(f.Valid());
  EXPECT_EQ(f.PixelSize(), 16);
  // Arial's line is about 1.15 em: 18 pixels at 16 pixels to the em.
  EXPECT_NEAR(f.Height(), 18, 1);
  EXPECT_EQ(f.Height(), f.Ascent() + f.Descent());
  EXPECT_GT(f.Ascent(), f.Descent());
  EXPECT_GT(Arial(24).Height(), f.Height());
  EXPECT_TRUE(Arial(12).Valid());
}

TEST_F(FontTest, MeasuresWiderTextWider) {
  Font f = Arial(10);
  EXPECT_EQ(f.TextWidth(""), 0);
  int i = f.TextWidth("iii"), w = f.TextWidth("WWW");
  EXPECT_GT(i, 0);
  EXPECT_GT(w, 2 * i);
  EXPECT_GT(f.TextWidth("Hello world"), f.TextWidth("Hello"));
  EXPECT_GT(Arial(10, true).TextWidth("Hello world"), f.TextWidth("Hello world"));
  // Monospaced: every character the same width.
  Font mono = fonts.Get({"Courier New", 10});
  EXPECT_EQ(mono.TextWidth("iiii"), mono.TextWidth("WWWW"));
  EXPECT_GT(f.TextWidth("\xC3\xA9t\xC3\xA9"), 0);  // UTF-8 "été"
}

TEST_F(FontTest, DrawsAntiAliasedTextInItsColour) {
  Font f = Arial(12);
  Surface s(80, 24, kWhite);
  f.DrawText(s, 2, 2, "Hello", OpaquePixel(255, 0, 0));
  int red = 0, partial = 0;
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) {
      Pixel p = s.GetPixel(x, y);
      if (p == OpaquePixel(255, 0, 0)) ++red;
      if (p != kWhite && p != OpaquePixel(255, 0, 0)) {
        ++partial;
        EXPECT_EQ(PixelRed(p), 255);  // only green and blue fade: red over white
      }
    }
  }
  EXPECT_GT(red, 20);
  EXPECT_GT(partial, 5);
  // Nothing lands left of the text or outside the width it measures.
  for (int y = 0; y < s.Height(); ++y) {
    EXPECT_EQ(s.GetPixel(0, y), kWhite);
    EXPECT_EQ(s.GetPixel(3 + f.TextWidth("Hello"), y), kWhite);
  }
}

TEST_F(FontTest, MissingFontSystemFontDrawsNothing) {
  Font none;
  Surface s(4, 4, kWhite);
  none.DrawText(s, 0, 0, "x", kBlack);
  EXPECT_EQ(s, Surface(4, 4, kWhite));
  EXPECT_EQ(none.TextWidth("abc"), 0);
}

TEST_F(FontTest, LayoutBreaksLinesAndWrapsWords) {
  Font f = Arial(10);
  TextLayout three = LayoutText(f, "one\r\ntwo\nthree\rfour");
  ASSERT_EQ(three.lines.size(), 4u);
  EXPECT_EQ(three.lines[2].text, "three");
  EXPECT_EQ(three.height, 4 * f.Height());

  std::string words = "alpha beta gamma delta epsilon zeta";
  int wordWidth = f.TextWidth("epsilon ");
  int width = std::max(
      {f.TextWidth("alpha beta"), f.TextWidth("gamma delta"), f.TextWidth("epsilon zeta")});
  TextLayout wrapped = LayoutText(f, words, {width});
  ASSERT_EQ(wrapped.lines.size(), 3u);
  EXPECT_EQ(wrapped.lines[0].text, "alpha beta");
  EXPECT_EQ(wrapped.lines[1].text, "gamma delta");
  EXPECT_EQ(wrapped.lines[2].text, "epsilon zeta");
  for (const auto& line : wrapped.lines)
    EXPECT_LE(line.width, width);
  EXPECT_GT(LayoutText(f, words, {width - 1}).lines.size(), 3u);

  // A word wider than the width stays whole on its own line.
  TextLayout narrow = LayoutText(f, "a supercalifragilistic b", {wordWidth / 2});
  ASSERT_EQ(narrow.lines.size(), 3u);
  EXPECT_EQ(narrow.lines[1].text, "supercalifragilistic");
  EXPECT_GT(narrow.width, wordWidth / 2);

  TextLayout empty = LayoutText(f, "");
  EXPECT_EQ(empty.lines.size(), 1u);
  EXPECT_EQ(empty.width, 0);
}

TEST_F(FontTest, AccessKeysAreRemovedAndUnderlined) {
  Font f = Arial(10);
  TextLayout l = LayoutText(f, "&Save && Exit", {0, true});
  ASSERT_EQ(l.lines.size(), 1u);
  EXPECT_EQ(l.lines[0].text, "Save & Exit");
  EXPECT_EQ(l.lines[0].underlineStart, 0);
  EXPECT_EQ(l.lines[0].underlineEnd, 1);
  EXPECT_EQ(LayoutText(f, "&Save", {}).lines[0].text, "&Save");

  Surface plain(60, 20, kWhite), marked(60, 20, kWhite);
  DrawTextLayout(plain, f, LayoutText(f, "Save", {}), plain.Bounds(), TextAlign::kLeft, kBlack);
  DrawTextLayout(marked, f, LayoutText(f, "&Save", {0, true}), marked.Bounds(), TextAlign::kLeft,
                 kBlack);
  int underlineRow = f.Ascent() + 1;
  EXPECT_EQ(marked.GetPixel(1, underlineRow), kBlack);
  EXPECT_NE(plain.GetPixel(1, underlineRow), kBlack);
}

TEST_F(FontTest, AlignmentPlacesLinesInTheBox) {
  Font f = Arial(10);
  TextLayout l = LayoutText(f, "Hi");
  auto leftmostInk = [](const Surface& s) {
    for (int x = 0; x < s.Width(); ++x) {
      for (int y = 0; y < s.Height(); ++y) {
        if (s.GetPixel(x, y) != kWhite) return x;
      }
    }
    return -1;
  };
  Surface left(100, 20, kWhite), centre(100, 20, kWhite), right(100, 20, kWhite);
  DrawTextLayout(left, f, l, left.Bounds(), TextAlign::kLeft, kBlack);
  DrawTextLayout(centre, f, l, centre.Bounds(), TextAlign::kCenter, kBlack);
  DrawTextLayout(right, f, l, right.Bounds(), TextAlign::kRight, kBlack);
  int x0 = leftmostInk(left);
  EXPECT_NEAR(leftmostInk(centre) - x0, (100 - l.width) / 2, 1);
  EXPECT_NEAR(leftmostInk(right) - x0, 100 - l.width, 1);
}

TEST_F(FontTest, LabelAutoSizeWithAndWithoutWordWrap) {
  Font f = Arial(10);
  std::string caption = "The quick brown fox jumps over the lazy dog";
  Size oneLine = LabelAutoSize(f, caption, false, 50);
  EXPECT_EQ(oneLine.width, f.TextWidth(caption));
  EXPECT_EQ(oneLine.height, f.Height());
  Size wrapped = LabelAutoSize(f, caption, true, 100);
  EXPECT_EQ(wrapped.width, 100);
  EXPECT_GE(wrapped.height, 3 * f.Height());
  EXPECT_EQ(wrapped.height % f.Height(), 0);
  Size twoLines = LabelAutoSize(f, "short\r\nmuch longer line", false, 0);
  EXPECT_EQ(twoLines.width, f.TextWidth("much longer line"));
  EXPECT_EQ(twoLines.height, 2 * f.Height());
  EXPECT_EQ(LabelAutoSize(f, "", false, 0).height, f.Height());
  EXPECT_EQ(LabelAutoSize(f, "&&", false, 0).width, f.TextWidth("&"));
}

}  // namespace
}  // namespace sl::draw

// Font mapping, measurement, drawing and label layout with the installed free fonts.
#include "ui/draw/font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>

#include "support/memory_growth.h"
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

// The plain greedy wrapping, one measurement per word of every line's prefix: what the layout
// must give, by a way that is too slow for long texts.
std::vector<std::string> GreedyLines(const Font& f, const std::string& t, int width) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = start, pos = start;
    while (pos < t.size()) {
      std::size_t wordEnd = pos;
      while (wordEnd < t.size() && t[wordEnd] == ' ')
        ++wordEnd;
      while (wordEnd < t.size() && t[wordEnd] != ' ')
        ++wordEnd;
      if (end > start && f.TextWidth(t.substr(start, wordEnd - start)) > width) break;
      end = pos = wordEnd;
    }
    lines.push_back(t.substr(start, end - start));
    start = end;
    while (start < t.size() && t[start] == ' ')
      ++start;
    if (start >= t.size()) return lines;
  }
}

TEST_F(FontTest, WrappingTakesTheWordsThatFitAsThePlainGreedyWayDoes) {
  Font f = Arial(10);
  std::mt19937 rng(5);
  static const char* kWords[] = {"a",       "to",  "the",
                                 "lantern", "VAT", "Wave",
                                 "  ",      "x",   "lighthouse-keeper",
                                 "AV",      "Ty",  "\xC3\xA9t\xC3\xA9"};
  for (int round = 0; round < 60; ++round) {
    std::string text;
    int n = 1 + static_cast<int>(rng() % 80);
    for (int i = 0; i < n; ++i)
      text += std::string(i ? " " : "") + kWords[rng() % std::size(kWords)];
    int width = 1 + static_cast<int>(rng() % 300);
    TextLayout layout = LayoutText(f, text, {width});
    std::vector<std::string> lines;
    for (const TextLine& line : layout.lines)
      lines.push_back(line.text);
    EXPECT_EQ(lines, GreedyLines(f, text, width)) << text << " at " << width;
  }
}

// A caption of 20 KB of short words once took 45 s: every word re-measured the line so far.
// Now it takes milliseconds; the bound leaves room for slow and busy machines.
TEST_F(FontTest, LongCaptionsWrapQuickly) {
  Font f = Arial(10);
  std::string text;
  for (int i = 0; text.size() < 20000; ++i)
    text += i % 7 ? "ab " : "word ";
  for (int width : {1 << 30, 2000, 100}) {  // everything on one line; long lines; short ones
    SCOPED_TRACE(width);
    auto start = std::chrono::steady_clock::now();
    LayoutText(f, text, {width});
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 5);
  }
}

TEST_F(FontTest, LayoutsStopAtAHeightAndCutWithAnEllipsis) {
  Font f = Arial(10);
  std::string lines;
  for (int i = 0; i < 100000; ++i)
    lines += "line\r\n";
  LayoutOptions options;
  options.maxHeight = 5 * f.Height() + f.Height() / 2;
  options.ellipsis = true;
  options.maxWidth = f.TextWidth("line\xE2\x80\xA6");
  TextLayout cut = LayoutText(f, lines, options);
  ASSERT_EQ(cut.lines.size(), 5u);
  EXPECT_TRUE(cut.truncated);
  EXPECT_EQ(cut.lines[3].text, "line");
  EXPECT_EQ(cut.lines[4].text, "line\xE2\x80\xA6");
  EXPECT_EQ(cut.height, 5 * f.Height());
  // A line wider than the limit keeps the characters that fit before its "…".
  options.maxWidth = f.TextWidth("Lighthouse\xE2\x80\xA6");
  TextLayout wide = LayoutText(f, "Lighthouse keeper's lantern", options);
  ASSERT_EQ(wide.lines.size(), 1u);
  EXPECT_FALSE(wide.truncated);
  EXPECT_EQ(wide.lines[0].text, "Lighthouse\xE2\x80\xA6");
  EXPECT_LE(wide.width, options.maxWidth);
  // Nothing is cut that fits.
  EXPECT_EQ(LayoutText(f, "line\r\nline", options).lines[1].text, "line");
  // A label within a limit is as large as its cut text, "…" included.
  EXPECT_EQ(LabelAutoSize(f, lines, false, 0, true, {200, 3 * f.Height()}),
            (Size{f.TextWidth("line\xE2\x80\xA6"), 3 * f.Height()}));
}

// A line of a million characters is drawn by rendering the few that show.
TEST_F(FontTest, AHugeLineDrawsOnlyWhatShows) {
  Font f = Arial(10);
  std::string text;
  while (text.size() < 1000000)
    text += "The quick brown fox jumps over the lazy dog. ";
  Surface whole(200, 20, kWhite), start(200, 20, kWhite);
  long grown = test::PeakMemoryGrowthMiB([&] { f.DrawText(whole, 3, 2, text, kBlack); });
  EXPECT_GE(grown, 0);
  EXPECT_LT(grown, sl::test::kModestGrowthMiB);
  f.DrawText(whole, 3, 2, text, kBlack);
  f.DrawText(start, 3, 2, text.substr(0, 200), kBlack);
  EXPECT_TRUE(whole == start);
  // Far into the line the text still shows.
  Surface middle(200, 20, kWhite);
  f.DrawText(middle, -3000000, 2, text, kBlack);
  int ink = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 200; ++x)
      ink += middle.GetPixel(x, y) != kWhite;
  EXPECT_GT(ink, 100);
}

}  // namespace
}  // namespace sl::draw

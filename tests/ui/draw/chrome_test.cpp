// Classic chrome: geometry of edges and menus, and one reference picture of the controls and
// the four message box icons (set STORYLOOM_UPDATE_REFERENCES=1 to rewrite the reference).
#include "ui/draw/chrome.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "ui/draw/image_compare.h"
#include "ui/draw/png_io.h"

namespace sl::draw {
namespace {

const Pixel kFace = SystemPixel(SystemColor::kButtonFace);

TEST(ChromeTest, EdgesUseLightAndShadowSides) {
  Surface s(10, 10, kFace);
  Rect inside = DrawEdge(s, s.Bounds(), EdgeStyle::kRaised);
  EXPECT_EQ(inside, (Rect{2, 2, 6, 6}));
  EXPECT_EQ(s.GetPixel(0, 0), SystemPixel(SystemColor::kButtonHighlight));
  EXPECT_EQ(s.GetPixel(9, 9), SystemPixel(SystemColor::k3DDarkShadow));
  EXPECT_EQ(s.GetPixel(8, 5), SystemPixel(SystemColor::kButtonShadow));
  DrawEdge(s, s.Bounds(), EdgeStyle::kSunken);
  EXPECT_EQ(s.GetPixel(0, 5), SystemPixel(SystemColor::kButtonShadow));
  EXPECT_EQ(s.GetPixel(1, 5), SystemPixel(SystemColor::k3DDarkShadow));
  EXPECT_EQ(s.GetPixel(9, 5), SystemPixel(SystemColor::kButtonHighlight));
  EXPECT_EQ(EdgeThickness(EdgeStyle::kSunkenOuter), 1);
}

TEST(ChromeTest, CheckBoxShowsItsMarkOnlyWhenChecked) {
  Surface on(13, 13, kFace), off(13, 13, kFace);
  DrawCheckBox(on, 0, 0, true);
  DrawCheckBox(off, 0, 0, false);
  EXPECT_EQ(on.GetPixel(5, 8), SystemPixel(SystemColor::kWindowText));
  EXPECT_EQ(off.GetPixel(5, 8), SystemPixel(SystemColor::kWindowBackground));
}

TEST(ChromeTest, MenuLayoutMatchesWhatIsDrawn) {
  FontSystem fonts;
  Font font = fonts.Get({"MS Sans Serif", 8.25});
  std::vector<MenuItemLook> items = {{"&Open", "Ctrl+O"}, {"-"}, {"E&xit"}};
  Size size = MenuSize(font, items);
  std::vector<Rect> rects = MenuItemRects(font, items);
  ASSERT_EQ(rects.size(), 3u);
  EXPECT_EQ(rects[0].y, 3);
  EXPECT_EQ(rects[1].y, rects[0].Bottom());
  EXPECT_EQ(rects[2].Bottom() + 3, size.height);
  EXPECT_GT(size.width, font.TextWidth("Open") + font.TextWidth("Ctrl+O"));
  std::vector<Rect> titles = MenuBarItemRects({0, 0, 300, MenuBarHeight(font)}, font, items);
  EXPECT_EQ(titles[1].x, titles[0].Right());
  Surface s(size.width, size.height);
  DrawMenu(s, {0, 0}, font, items, 0);
  EXPECT_EQ(s.GetPixel(rects[0].x + 1, rects[0].y + 1), SystemPixel(SystemColor::kHighlight));
  EXPECT_EQ(s.GetPixel(rects[2].x + 1, rects[2].y + 1), SystemPixel(SystemColor::kMenuBar));
}

TEST(ChromeTest, IconsAreOpaqueInsideAndTransparentInTheCorners) {
  for (MessageIcon icon : {MessageIcon::kCritical, MessageIcon::kQuestion,
                           MessageIcon::kExclamation, MessageIcon::kInformation}) {
    Surface s(32, 32);
    DrawMessageIcon(s, 0, 0, icon);
    EXPECT_EQ(PixelAlpha(s.GetPixel(16, 14)), 255);
    EXPECT_EQ(PixelAlpha(s.GetPixel(31, 0)), 0);
  }
}

// Every control of the classic look in one picture: an open menu on the left, buttons in the
// middle, boxes on the right, the icons along the bottom.
Surface ChromeScene(FontSystem& fonts) {
  Font font = fonts.Get({"MS Sans Serif", 8.25});
  Surface s(400, 240, kFace);
  std::vector<MenuItemLook> bar = {{"&File"}, {"&Options"}, {"&Debug"}};
  Rect barRect{0, 0, 400, MenuBarHeight(font)};
  DrawMenuBar(s, barRect, font, bar, 1, true);
  Rect options = MenuBarItemRects(barRect, font, bar)[1];
  std::vector<MenuItemLook> menu = {{"&Transitions", "", true},
                                    {"&Effects", "", false},
                                    {"-"},
                                    {"&Volume", "", false, true, true},
                                    {"&Save", "Ctrl+S", false, false}};
  DrawMenu(s, {options.x, options.Bottom()}, font, menu, 3);

  DrawButton(s, {190, 30, 75, 23}, {}, font, "OK");
  DrawButton(s, {190, 60, 75, 23}, {true}, font, "&Cancel");
  DrawButton(s, {190, 90, 75, 23}, {false, true, true}, font, "&Yes");
  DrawButton(s, {190, 120, 75, 23}, {false, false, false, false}, font, "&No");

  DrawCheckBoxControl(s, {280, 30, 110, 17}, true, true, true, font, "&Checked", kFace, kBlack);
  DrawCheckBoxControl(s, {280, 50, 110, 17}, false, true, false, font, "Unchecked", kFace, kBlack);
  Rect text = DrawTextBoxFrame(s, {280, 72, 110, 21});
  font.DrawText(s, text.x + 2, text.y + 2, "Text box", kBlack);
  std::vector<std::string> items = {"First", "Second", "Third", "Fourth"};
  DrawListBox(s, {280, 98, 110, 60}, font, items, 0, 1, true);
  DrawTextBoxFrame(s, {280, 164, 110, 21});
  DrawComboArrow(s, {280 + 110 - 18, 166, 16, 17}, false);

  int x = 20;
  for (MessageIcon icon : {MessageIcon::kCritical, MessageIcon::kQuestion,
                           MessageIcon::kExclamation, MessageIcon::kInformation}) {
    DrawMessageIcon(s, x, 196, icon);
    x += 44;
  }
  return s;
}

TEST(ChromeTest, MatchesTheReferencePicture) {
  FontSystem fonts;
  Surface scene = ChromeScene(fonts);
  std::filesystem::path reference =
      std::filesystem::path(STORYLOOM_SOURCE_DIR) / "tests/ui/draw/data/chrome_reference.png";
  const char* update = std::getenv("STORYLOOM_UPDATE_REFERENCES");
  if (update && *update == '1') SavePng(scene, reference);
  // Text may be rasterised slightly differently by another FreeType version.
  ReferenceCheck check = CompareWithReference(scene, reference, STORYLOOM_BINARY_DIR, {24, 0.01});
  EXPECT_TRUE(check.match) << check.message;
}

}  // namespace
}  // namespace sl::draw

// Classic menus: the menu bar with its titles and the drop-down menus with check marks,
// separators, shortcuts and submenu arrows. Layout and drawing share the same metrics, so the
// rectangles the runtime hit-tests are exactly the ones drawn.
#include <algorithm>

#include "ui/draw/chrome.h"

namespace sl::draw {

namespace {

constexpr int kTitlePadding = 6;  // each side of a menu bar title
constexpr int kMenuFrame = 3;     // raised edge plus one pixel of face
constexpr int kCheckColumn = 18;  // left of an item's caption
constexpr int kArrowColumn = 18;  // right of an item's caption or shortcut
constexpr int kShortcutGap = 16;  // between the widest caption and the shortcuts
constexpr int kSeparatorHeight = 9;

Pixel Sys(SystemColor c) {
  return SystemPixel(c);
}

bool IsSeparator(const MenuItemLook& item) {
  return item.caption == "-";
}

int ItemHeight(const Font& font) {
  return std::max(17, font.Height() + 4);
}

int CaptionWidth(const Font& font, std::string_view caption) {
  LayoutOptions options;
  options.mnemonics = true;
  return LayoutText(font, caption, options).width;
}

// Menu text, embossed when disabled and not highlighted.
void DrawItemText(Surface& s, const Font& font, const Rect& box, std::string_view text,
                  TextAlign align, bool enabled, bool highlighted) {
  LayoutOptions options;
  options.mnemonics = true;
  TextLayout layout = LayoutText(font, text, options);
  Rect textBox{box.x, box.y + (box.height - layout.height) / 2, box.width, layout.height};
  if (highlighted) {
    Pixel color = enabled ? Sys(SystemColor::kHighlightText) : Sys(SystemColor::kGrayText);
    DrawTextLayout(s, font, layout, textBox, align, color);
  } else if (!enabled) {
    DrawTextLayout(s, font, layout, textBox.Offset(1, 1), align,
                   Sys(SystemColor::kButtonHighlight));
    DrawTextLayout(s, font, layout, textBox, align, Sys(SystemColor::kButtonShadow));
  } else {
    DrawTextLayout(s, font, layout, textBox, align, Sys(SystemColor::kMenuText));
  }
}

void DrawMenuCheck(Surface& s, int x, int y, Pixel color) {
  constexpr const char* kMark[7] = {"......#", ".....##", "#...###", "##.###.",
                                    "#####..", ".###...", "..#...."};
  for (int row = 0; row < 7; ++row) {
    for (int col = 0; col < 7; ++col) {
      if (kMark[row][col] == '#') s.SetPixel(x + col, y + row, color);
    }
  }
}

void DrawSubmenuArrow(Surface& s, int x, int cy, Pixel color) {
  for (int col = 0; col < 4; ++col)
    s.DrawVLine(x + col, cy - 3 + col, cy + 3 - col, color);
}

}  // namespace

int MenuBarHeight(const Font& font) {
  return std::max(19, font.Height() + 6);
}

std::vector<Rect> MenuBarItemRects(const Rect& bar, const Font& font,
                                   std::span<const MenuItemLook> titles) {
  std::vector<Rect> rects;
  int x = bar.x;
  for (const auto& title : titles) {
    int w = CaptionWidth(font, title.caption) + 2 * kTitlePadding;
    rects.push_back({x, bar.y + 1, w, std::max(bar.height - 2, 0)});
    x += w;
  }
  return rects;
}

void DrawMenuBar(Surface& target, const Rect& bar, const Font& font,
                 std::span<const MenuItemLook> titles, int highlighted, bool open) {
  ClipScope clip(target, bar);
  target.FillRect(bar, Sys(SystemColor::kMenuBar));
  std::vector<Rect> rects = MenuBarItemRects(bar, font, titles);
  for (std::size_t i = 0; i < titles.size(); ++i) {
    Rect r = rects[i];
    bool hot = static_cast<int>(i) == highlighted && titles[i].enabled;
    if (hot) DrawEdge(target, r, open ? EdgeStyle::kSunkenOuter : EdgeStyle::kRaisedInner);
    Rect text = hot && open ? r.Offset(1, 1) : r;
    DrawItemText(target, font, text, titles[i].caption, TextAlign::kCenter, titles[i].enabled,
                 false);
  }
}

Size MenuSize(const Font& font, std::span<const MenuItemLook> items) {
  int captions = 0, shortcuts = 0, height = 0;
  for (const auto& item : items) {
    if (IsSeparator(item)) {
      height += kSeparatorHeight;
      continue;
    }
    captions = std::max(captions, CaptionWidth(font, item.caption));
    if (!item.shortcut.empty()) shortcuts = std::max(shortcuts, font.TextWidth(item.shortcut));
    height += ItemHeight(font);
  }
  int width = kCheckColumn + captions + (shortcuts ? kShortcutGap + shortcuts : 0) + kArrowColumn;
  return {width + 2 * kMenuFrame, height + 2 * kMenuFrame};
}

std::vector<Rect> MenuItemRects(const Font& font, std::span<const MenuItemLook> items) {
  Size size = MenuSize(font, items);
  std::vector<Rect> rects;
  int y = kMenuFrame;
  for (const auto& item : items) {
    int h = IsSeparator(item) ? kSeparatorHeight : ItemHeight(font);
    rects.push_back({kMenuFrame, y, size.width - 2 * kMenuFrame, h});
    y += h;
  }
  return rects;
}

void DrawMenu(Surface& target, Point at, const Font& font, std::span<const MenuItemLook> items,
              int highlighted) {
  Size size = MenuSize(font, items);
  Rect frame{at.x, at.y, size.width, size.height};
  target.FillRect(frame, Sys(SystemColor::kMenuBar));
  DrawEdge(target, frame, EdgeStyle::kRaised);
  std::vector<Rect> rects = MenuItemRects(font, items);
  for (std::size_t i = 0; i < items.size(); ++i) {
    const MenuItemLook& item = items[i];
    Rect r = rects[i].Offset(at.x, at.y);
    if (IsSeparator(item)) {
      int y = r.y + r.height / 2 - 1;
      target.DrawHLine(r.x + 1, r.Right() - 2, y, Sys(SystemColor::kButtonShadow));
      target.DrawHLine(r.x + 1, r.Right() - 2, y + 1, Sys(SystemColor::kButtonHighlight));
      continue;
    }
    bool hot = static_cast<int>(i) == highlighted;
    if (hot) target.FillRect(r, Sys(SystemColor::kHighlight));
    Pixel ink = hot            ? Sys(SystemColor::kHighlightText)
                : item.enabled ? Sys(SystemColor::kMenuText)
                               : Sys(SystemColor::kGrayText);
    if (item.checked) DrawMenuCheck(target, r.x + 6, r.y + (r.height - 7) / 2, ink);
    Rect text{r.x + kCheckColumn, r.y, r.width - kCheckColumn - kArrowColumn, r.height};
    DrawItemText(target, font, text, item.caption, TextAlign::kLeft, item.enabled, hot);
    if (!item.shortcut.empty()) {
      DrawItemText(target, font, text, item.shortcut, TextAlign::kRight, item.enabled, hot);
    }
    if (item.hasSubmenu) DrawSubmenuArrow(target, r.Right() - 11, r.y + r.height / 2, ink);
  }
}

}  // namespace sl::draw

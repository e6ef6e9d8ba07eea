// Classic chrome: edges, buttons, check boxes, frames, list boxes, combo arrows and focus
// rectangles, in the system colours of the standard scheme.
#include "ui/draw/chrome.h"

#include <algorithm>

namespace sl::draw {

namespace {

Pixel Sys(SystemColor c) {
  return SystemPixel(c);
}

// One ring of an edge: `topLeft` on the top and left sides, `bottomRight` on the others.
void Ring(Surface& s, const Rect& r, Pixel topLeft, Pixel bottomRight) {
  if (r.Empty()) return;
  s.DrawHLine(r.x, r.Right() - 2, r.y, topLeft);
  s.DrawVLine(r.x, r.y, r.Bottom() - 2, topLeft);
  s.DrawHLine(r.x, r.Right() - 1, r.Bottom() - 1, bottomRight);
  s.DrawVLine(r.Right() - 1, r.y, r.Bottom() - 1, bottomRight);
}

// The classic check mark, 7 x 7.
constexpr const char* kCheckMark[7] = {
    "......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#....",
};

void DrawCheckMark(Surface& s, int x, int y, Pixel color) {
  for (int row = 0; row < 7; ++row) {
    for (int col = 0; col < 7; ++col) {
      if (kCheckMark[row][col] == '#') s.SetPixel(x + col, y + row, color);
    }
  }
}

// A caption in `box`, centred both ways; disabled text is embossed (light copy offset by one
// pixel under a shadow-coloured copy).
void DrawCentredCaption(Surface& s, const Rect& box, const Font& font, std::string_view caption,
                        bool enabled, Pixel color) {
  LayoutOptions options;
  options.mnemonics = true;
  TextLayout layout = LayoutText(font, caption, options);
  Rect textBox{box.x, box.y + (box.height - layout.height) / 2, box.width, layout.height};
  if (!enabled) {
    DrawTextLayout(s, font, layout, textBox.Offset(1, 1), TextAlign::kCenter,
                   Sys(SystemColor::kButtonHighlight));
    color = Sys(SystemColor::kButtonShadow);
  }
  DrawTextLayout(s, font, layout, textBox, TextAlign::kCenter, color);
}

}  // namespace

int EdgeThickness(EdgeStyle style) {
  return style == EdgeStyle::kRaisedInner || style == EdgeStyle::kSunkenOuter ? 1 : 2;
}

Rect DrawEdge(Surface& target, const Rect& r, EdgeStyle style) {
  const Pixel light = Sys(SystemColor::k3DLight), white = Sys(SystemColor::kButtonHighlight);
  const Pixel shadow = Sys(SystemColor::kButtonShadow), dark = Sys(SystemColor::k3DDarkShadow);
  switch (style) {
    case EdgeStyle::kRaised:
      Ring(target, r, white, dark);
      Ring(target, r.Inflate(-1), light, shadow);
      break;
    case EdgeStyle::kSunken:
      Ring(target, r, shadow, white);
      Ring(target, r.Inflate(-1), dark, light);
      break;
    case EdgeStyle::kRaisedInner:
      Ring(target, r, white, shadow);
      break;
    case EdgeStyle::kSunkenOuter:
      Ring(target, r, shadow, white);
      break;
    case EdgeStyle::kEtched:
      Ring(target, r, shadow, white);
      Ring(target, r.Inflate(-1), white, shadow);
      break;
    case EdgeStyle::kPressed:
      target.DrawRect(r, Sys(SystemColor::kWindowFrame));
      target.DrawRect(r.Inflate(-1), shadow);
      break;
  }
  return r.Inflate(-EdgeThickness(style));
}

void DrawFocusRect(Surface& target, const Rect& r) {
  if (r.Empty()) return;
  const Pixel dot = Sys(SystemColor::kWindowText);
  for (int x = r.x; x < r.Right(); x += 2) {
    target.SetPixel(x, r.y, dot);
    if ((x - r.x + r.height - 1) % 2 == 0) target.SetPixel(x, r.Bottom() - 1, dot);
  }
  for (int y = r.y; y < r.Bottom(); y += 2) {
    target.SetPixel(r.x, y, dot);
    if ((y - r.y + r.width - 1) % 2 == 0) target.SetPixel(r.Right() - 1, y, dot);
  }
}

void DrawButton(Surface& target, const Rect& r, const ButtonLook& look, const Font& font,
                std::string_view caption) {
  if (r.Empty()) return;
  ClipScope clip(target, r);
  Rect body = r;
  if (look.isDefault) {
    target.DrawRect(body, Sys(SystemColor::kWindowFrame));
    body = body.Inflate(-1);
  }
  target.FillRect(body, Sys(SystemColor::kButtonFace));
  Rect inside = DrawEdge(target, body, look.pressed ? EdgeStyle::kPressed : EdgeStyle::kRaised);
  Rect textBox = look.pressed ? inside.Offset(1, 1) : inside;
  DrawCentredCaption(target, textBox, font, caption, look.enabled, Sys(SystemColor::kButtonText));
  if (look.focused && look.enabled) DrawFocusRect(target, body.Inflate(-4));
}

void DrawCheckBox(Surface& target, int x, int y, bool checked, bool enabled) {
  Rect box{x, y, kCheckBoxSize, kCheckBoxSize};
  Rect inside = DrawEdge(target, box, EdgeStyle::kSunken);
  target.FillRect(inside,
                  enabled ? Sys(SystemColor::kWindowBackground) : Sys(SystemColor::kButtonFace));
  if (checked) {
    DrawCheckMark(target, x + 3, y + 3,
                  enabled ? Sys(SystemColor::kWindowText) : Sys(SystemColor::kGrayText));
  }
}

void DrawCheckBoxControl(Surface& target, const Rect& r, bool checked, bool enabled, bool focused,
                         const Font& font, std::string_view caption, Pixel background,
                         Pixel foreground) {
  if (r.Empty()) return;
  ClipScope clip(target, r);
  target.FillRect(r, background);
  DrawCheckBox(target, r.x, r.y + (r.height - kCheckBoxSize) / 2, checked, enabled);
  LayoutOptions options;
  options.mnemonics = true;
  TextLayout layout = LayoutText(font, caption, options);
  Rect text{r.x + kCheckBoxSize + 4, r.y + (r.height - layout.height) / 2, layout.width,
            layout.height};
  Pixel color = enabled ? foreground : Sys(SystemColor::kGrayText);
  DrawTextLayout(target, font, layout, {text.x, text.y, r.Right() - text.x, text.height},
                 TextAlign::kLeft, color);
  if (focused && !caption.empty()) DrawFocusRect(target, text.Inflate(1));
}

Rect DrawTextBoxFrame(Surface& target, const Rect& r, bool enabled, Pixel background) {
  Rect inside = DrawEdge(target, r, EdgeStyle::kSunken);
  target.FillRect(inside, enabled ? background : Sys(SystemColor::kButtonFace));
  return inside;
}

Rect ListBoxItemRect(const Rect& r, const Font& font, int topIndex, int index) {
  Rect inside = r.Inflate(-2);
  int h = std::max(font.Height(), 1);
  return {inside.x, inside.y + (index - topIndex) * h, inside.width, h};
}

Rect DrawListBox(Surface& target, const Rect& r, const Font& font,
                 std::span<const std::string> items, int topIndex, int selected, bool focused,
                 Pixel background, Pixel foreground) {
  Rect inside = DrawTextBoxFrame(target, r, true, background);
  ClipScope clip(target, inside);
  for (int i = std::max(topIndex, 0); i < static_cast<int>(items.size()); ++i) {
    Rect row = ListBoxItemRect(r, font, topIndex, i);
    if (row.y >= inside.Bottom()) break;
    Pixel color = foreground;
    if (i == selected) {
      target.FillRect(row, Sys(SystemColor::kHighlight));
      color = Sys(SystemColor::kHighlightText);
    }
    font.DrawText(target, row.x + 2, row.y, items[static_cast<std::size_t>(i)], color);
    if (i == selected && focused) DrawFocusRect(target, row);
  }
  return inside;
}

void DrawComboArrow(Surface& target, const Rect& r, bool pressed, bool enabled) {
  if (r.Empty()) return;
  target.FillRect(r, Sys(SystemColor::kButtonFace));
  Rect inside = DrawEdge(target, r, pressed ? EdgeStyle::kSunkenOuter : EdgeStyle::kRaised);
  int cx = inside.x + inside.width / 2 + (pressed ? 1 : 0);
  int cy = inside.y + (inside.height - 4) / 2 + (pressed ? 1 : 0);
  for (int row = 0; row < 4; ++row) {
    int half = 3 - row;
    if (!enabled)
      target.DrawHLine(cx - half + 1, cx + half + 1, cy + row + 1,
                       Sys(SystemColor::kButtonHighlight));
    target.DrawHLine(cx - half, cx + half, cy + row,
                     enabled ? Sys(SystemColor::kButtonText) : Sys(SystemColor::kGrayText));
  }
}

}  // namespace sl::draw

// Classic window chrome drawn procedurally in the system colours of color.h: 3-D edges,
// buttons, check boxes, text and list box frames, menus, the combo box arrow and the four
// message box icons. Each helper draws into a Surface within its clip; the layout helpers give
// the rectangles the runtime needs for hit testing.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/draw/font.h"
#include "ui/draw/surface.h"
#include "ui/draw/text_layout.h"

namespace sl::draw {

enum class EdgeStyle : std::uint8_t {
  kRaised,       // 2 pixels: button and window edge (light top-left, dark bottom-right)
  kSunken,       // 2 pixels: text box, list box and picture box border
  kRaisedInner,  // 1 pixel (highlight / shadow), as a status panel or a thin raised border
  kSunkenOuter,  // 1 pixel (shadow / highlight)
  kEtched,       // 2-pixel groove: frame controls and separators
  kPressed,      // button pushed down: dark frame plus a shadow line
};
// Draws the edge inside `r` and returns the rectangle inside it.
Rect DrawEdge(Surface& target, const Rect& r, EdgeStyle style);
// Pixels an edge style takes on each side.
int EdgeThickness(EdgeStyle style);

struct ButtonLook {
  bool pressed = false;
  bool isDefault = false;  // the button Enter presses: an extra black frame
  bool focused = false;    // dotted focus rectangle around the caption
  bool enabled = true;
};
// Face, edges and caption (access keys with "&", centred; greyed when disabled).
void DrawButton(Surface& target, const Rect& r, const ButtonLook& look, const Font& font,
                std::string_view caption);

constexpr int kCheckBoxSize = 13;
// The 13 x 13 sunken box with or without its check mark, top-left at (x, y); a disabled box
// has a face-coloured inside.
void DrawCheckBox(Surface& target, int x, int y, bool checked, bool enabled = true);
// A check box control: box vertically centred at the left, caption to its right.
void DrawCheckBoxControl(Surface& target, const Rect& r, bool checked, bool enabled, bool focused,
                         const Font& font, std::string_view caption, Pixel background,
                         Pixel foreground);

// Sunken frame with a window-coloured inside; returns the inside.
Rect DrawTextBoxFrame(Surface& target, const Rect& r, bool enabled = true,
                      Pixel background = SystemPixel(SystemColor::kWindowBackground));

// A list box: sunken frame, items from `topIndex` one font line each, the selected item in the
// highlight colours (a focus rectangle when focused). Returns the inside.
Rect DrawListBox(Surface& target, const Rect& r, const Font& font,
                 std::span<const std::string> items, int topIndex, int selected, bool focused,
                 Pixel background = SystemPixel(SystemColor::kWindowBackground),
                 Pixel foreground = SystemPixel(SystemColor::kWindowText));
// Row rectangle of item `index` in a list box drawn at `r` (for hit testing).
Rect ListBoxItemRect(const Rect& r, const Font& font, int topIndex, int index);

// The down arrow button of a combo box inside `r`.
void DrawComboArrow(Surface& target, const Rect& r, bool pressed, bool enabled = true);

// Menus. Captions use "&" for access keys.
struct MenuItemLook {
  std::string caption = {};   // "-" alone is a separator
  std::string shortcut = {};  // right-aligned text such as "Ctrl+S"
  bool checked = false;
  bool enabled = true;
  bool hasSubmenu = false;
};
// Height of the menu bar for a font.
int MenuBarHeight(const Font& font);
// The rectangles of the bar's titles, laid out from the left of `bar`.
std::vector<Rect> MenuBarItemRects(const Rect& bar, const Font& font,
                                   std::span<const MenuItemLook> titles);
// The bar with its titles; `highlighted` (or -1) shows as pushed in when `open`, else raised.
void DrawMenuBar(Surface& target, const Rect& bar, const Font& font,
                 std::span<const MenuItemLook> titles, int highlighted, bool open);
// Size of a drop-down menu and its item rectangles (relative to its top-left corner).
Size MenuSize(const Font& font, std::span<const MenuItemLook> items);
std::vector<Rect> MenuItemRects(const Font& font, std::span<const MenuItemLook> items);
// A drop-down with its top-left corner at `at`: raised edge, items, check marks, separators,
// the highlighted item (or -1) in the highlight colours, submenu arrows.
void DrawMenu(Surface& target, Point at, const Font& font, std::span<const MenuItemLook> items,
              int highlighted);

// The four message box icons, 32 x 32, drawn with anti-aliased edges onto transparency.
enum class MessageIcon : std::uint8_t { kCritical, kQuestion, kExclamation, kInformation };
constexpr int kMessageIconSize = 32;
void DrawMessageIcon(Surface& target, int x, int y, MessageIcon icon);

// A dotted 1-pixel focus rectangle just inside `r` (every other pixel, inverted contrast).
void DrawFocusRect(Surface& target, const Rect& r);

}  // namespace sl::draw

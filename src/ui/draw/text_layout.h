// Text layout for labels, buttons and message boxes: line breaks at CR LF, LF or CR, word
// wrapping to a width, access-key markers (&), alignment, and the size a label takes when it
// sizes itself to its caption.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/draw/font.h"

namespace sl::draw {

// Numbered as the classic Alignment property: 0 left, 1 right, 2 centre.
enum class TextAlign : int { kLeft = 0, kRight = 1, kCenter = 2 };

struct LayoutOptions {
  // Wrap lines at spaces to this width in pixels; 0 or less: no wrapping. A single word wider
  // than the width is not broken (it overflows, as the classic label shows it).
  int wrapWidth = 0;
  // "&x" marks x as the access key (drawn underlined) and "&&" is a literal "&".
  bool mnemonics = false;
};

struct TextLine {
  std::string text;         // UTF-8, without line breaks or markers
  int width = 0;            // pixels
  int underlineStart = -1;  // byte range of the access key in `text`, or -1
  int underlineEnd = -1;
};

struct TextLayout {
  std::vector<TextLine> lines;
  int width = 0;       // the widest line
  int height = 0;      // lines * lineHeight
  int lineHeight = 0;  // Font::Height()
};

TextLayout LayoutText(const Font& font, std::string_view utf8, const LayoutOptions& options = {});

// Draws a layout inside `box` (lines from its top, each aligned within its width), clipped to
// the box.
void DrawTextLayout(Surface& target, const Font& font, const TextLayout& layout, const Rect& box,
                    TextAlign align, Pixel color);

// The size of a label that sizes itself to its caption: without word wrap as wide as the widest
// line; with word wrap `width` stays and the height follows the wrapped lines. An empty caption
// still takes one line's height.
Size LabelAutoSize(const Font& font, std::string_view caption, bool wordWrap, int width,
                   bool mnemonics = true);

}  // namespace sl::draw

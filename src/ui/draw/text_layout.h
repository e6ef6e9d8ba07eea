// Text layout for labels, buttons and message boxes: line breaks at CR LF, LF or CR, word
// wrapping to a width, access-key markers (&), alignment, and the size a label takes when it
// sizes itself to its caption. Texts may be huge (a game's caption of a million characters):
// wrapping costs O(n log n) measurements, layouts stop at a height when given one, and drawing
// draws only what is inside the target's clip.
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
  // Lines that do not fit whole within this height in pixels are left out (0 or less: no
  // limit); the first line always stays. The layout then says `truncated`.
  int maxHeight = 0;
  // Cut texts with an ellipsis: a line wider than maxWidth (when above 0) is cut to fit and
  // ends in "…", and so does the last line kept when maxHeight left lines out.
  bool ellipsis = false;
  int maxWidth = 0;
};

struct TextLine {
  std::string text;         // UTF-8, without line breaks or markers
  int width = 0;            // pixels
  int underlineStart = -1;  // byte range of the access key in `text`, or -1
  int underlineEnd = -1;
};

struct TextLayout {
  std::vector<TextLine> lines;
  int width = 0;           // the widest line
  int height = 0;          // lines * lineHeight
  int lineHeight = 0;      // Font::Height()
  bool truncated = false;  // maxHeight left text out
};

TextLayout LayoutText(const Font& font, std::string_view utf8, const LayoutOptions& options = {});

// The key code of a caption's access key ("&Yes" gives 'Y'): a letter's capital or a digit,
// 0 when the caption marks none (or marks another character).
int AccessKeyOf(std::string_view caption);

// Draws a layout inside `box` (lines from its top, each aligned within its width), clipped to
// the box.
void DrawTextLayout(Surface& target, const Font& font, const TextLayout& layout, const Rect& box,
                    TextAlign align, Pixel color);

// The size of a label that sizes itself to its caption: without word wrap as wide as the widest
// line; with word wrap `width` stays and the height follows the wrapped lines. An empty caption
// still takes one line's height. A `limit` above 0 in either direction caps the size; what does
// not fit is then cut with an ellipsis when drawn.
Size LabelAutoSize(const Font& font, std::string_view caption, bool wordWrap, int width,
                   bool mnemonics = true, Size limit = {});

}  // namespace sl::draw

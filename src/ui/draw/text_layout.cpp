// Label text layout: paragraphs split at line breaks, access-key markers removed, greedy word
// wrapping at spaces, then drawing line by line with alignment.
#include "ui/draw/text_layout.h"

#include <algorithm>

namespace sl::draw {

namespace {

struct Paragraph {
  std::string text;
  int underline = -1;  // byte offset of the access key
  int underlineLength = 0;
};

int Utf8Length(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

// Splits at CR LF, LF or a lone CR.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> out;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    out.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  out.push_back(text.substr(start));
  return out;
}

// "&&" is a literal "&"; the first other "&" marks the next character as the access key.
Paragraph StripMarkers(std::string_view line, bool mnemonics) {
  Paragraph p;
  if (!mnemonics) {
    p.text = line;
    return p;
  }
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '&' && i + 1 < line.size()) {
      ++i;
      if (line[i] != '&' && p.underline < 0) {
        p.underline = static_cast<int>(p.text.size());
        p.underlineLength = Utf8Length(static_cast<unsigned char>(line[i]));
      }
    } else if (line[i] == '&') {
      continue;  // a trailing "&" shows nothing
    }
    p.text += line[i];
  }
  return p;
}

TextLine MakeLine(const Font& font, const Paragraph& p, std::size_t from, std::size_t to) {
  TextLine line;
  line.text = p.text.substr(from, to - from);
  line.width = font.TextWidth(line.text);
  if (p.underline >= static_cast<int>(from) && p.underline < static_cast<int>(to)) {
    line.underlineStart = p.underline - static_cast<int>(from);
    line.underlineEnd =
        std::min(line.underlineStart + p.underlineLength, static_cast<int>(line.text.size()));
  }
  return line;
}

// Greedy wrapping: a line takes words while they fit; spaces where a line breaks are dropped.
void WrapParagraph(const Font& font, const Paragraph& p, int width, std::vector<TextLine>& out) {
  const std::string& t = p.text;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = start;  // end of the last word that fits
    std::size_t pos = start;
    while (pos < t.size()) {
      std::size_t wordEnd = pos;
      while (wordEnd < t.size() && t[wordEnd] == ' ')
        ++wordEnd;
      while (wordEnd < t.size() && t[wordEnd] != ' ')
        ++wordEnd;
      if (end > start &&
          font.TextWidth(std::string_view(t).substr(start, wordEnd - start)) > width) {
        break;
      }
      end = wordEnd;
      pos = wordEnd;
    }
    out.push_back(MakeLine(font, p, start, end));
    start = end;
    while (start < t.size() && t[start] == ' ')
      ++start;
    if (start >= t.size()) return;
  }
}

}  // namespace

TextLayout LayoutText(const Font& font, std::string_view utf8, const LayoutOptions& options) {
  TextLayout layout;
  layout.lineHeight = font.Height();
  for (std::string_view line : SplitLines(utf8)) {
    Paragraph p = StripMarkers(line, options.mnemonics);
    if (options.wrapWidth > 0 && !p.text.empty()) {
      WrapParagraph(font, p, options.wrapWidth, layout.lines);
    } else {
      layout.lines.push_back(MakeLine(font, p, 0, p.text.size()));
    }
  }
  for (const auto& line : layout.lines)
    layout.width = std::max(layout.width, line.width);
  layout.height = static_cast<int>(layout.lines.size()) * layout.lineHeight;
  return layout;
}

void DrawTextLayout(Surface& target, const Font& font, const TextLayout& layout, const Rect& box,
                    TextAlign align, Pixel color) {
  ClipScope clip(target, box);
  int y = box.y;
  for (const auto& line : layout.lines) {
    int x = box.x;
    if (align == TextAlign::kRight) x = box.Right() - line.width;
    if (align == TextAlign::kCenter) x = box.x + (box.width - line.width) / 2;
    font.DrawText(target, x, y, line.text, color);
    if (line.underlineStart >= 0) {
      std::string_view text(line.text);
      int x1 = x + font.TextWidth(text.substr(0, static_cast<std::size_t>(line.underlineStart)));
      int x2 = x + font.TextWidth(text.substr(0, static_cast<std::size_t>(line.underlineEnd)));
      if (x2 > x1) target.DrawHLine(x1, x2 - 1, y + font.Ascent() + 1, color);
    }
    y += layout.lineHeight;
  }
}

Size LabelAutoSize(const Font& font, std::string_view caption, bool wordWrap, int width,
                   bool mnemonics) {
  LayoutOptions options;
  options.mnemonics = mnemonics;
  if (wordWrap) options.wrapWidth = std::max(width, 1);
  TextLayout layout = LayoutText(font, caption, options);
  return {wordWrap ? width : layout.width, layout.height};
}

}  // namespace sl::draw

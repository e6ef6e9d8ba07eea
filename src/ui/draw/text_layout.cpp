// Label text layout: paragraphs split at line breaks, access-key markers removed, greedy word
// wrapping at spaces, then drawing line by line with alignment.
#include "ui/draw/text_layout.h"

#include <algorithm>
#include <limits>

namespace sl::draw {

namespace {

constexpr std::string_view kEllipsis = "\xE2\x80\xA6";  // "…"

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

// The next line of `text` from `pos` (up to CR LF, LF or a lone CR); `pos` moves past its
// break. Returns false when nothing is left.
bool NextLine(std::string_view text, std::size_t& pos, bool& done, std::string_view& line) {
  if (done) return false;
  std::size_t i = pos;
  while (i < text.size() && text[i] != '\r' && text[i] != '\n')
    ++i;
  line = text.substr(pos, i - pos);
  if (i == text.size()) {
    done = true;  // the text after the last break is a line too, even an empty one
    return true;
  }
  if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
  pos = i + 1;
  return true;
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

// Word ends of a line, found as the wrapping asks for them: a word is the blanks before it and
// its other characters.
class WordEnds {
 public:
  WordEnds(std::string_view text, std::size_t start) : text_(text), scan_(start) {}
  // The end of word k (from 1), or npos when the text has fewer words.
  std::size_t End(std::size_t k) {
    while (ends_.size() < k && scan_ < text_.size()) {
      while (scan_ < text_.size() && text_[scan_] == ' ')
        ++scan_;
      while (scan_ < text_.size() && text_[scan_] != ' ')
        ++scan_;
      ends_.push_back(scan_);
    }
    return k <= ends_.size() ? ends_[k - 1] : std::string_view::npos;
  }
  std::size_t Count() const { return ends_.size(); }

 private:
  std::string_view text_;
  std::size_t scan_;
  std::vector<std::size_t> ends_;
};

// The end of the line that starts at `start`: as many words as fit `width`, at least one. The
// number of words is found by doubling it until a line no longer fits, then halving the gap,
// so a line costs a few measurements of about its own length, never one per word of every
// prefix (which made long captions quadratic).
std::size_t FitWords(const Font& font, std::string_view text, std::size_t start, int width) {
  WordEnds words(text, start);
  auto fits = [&](std::size_t k) {
    return font.TextWidth(text.substr(start, words.End(k) - start)) <= width;
  };
  std::size_t good = 1;  // the first word is taken whatever its width
  std::size_t bad = 0;   // the fewest words known not to fit, 0 while none is known
  for (std::size_t k = 2;; k *= 2) {
    if (words.End(k) == std::string_view::npos) {
      std::size_t all = words.Count();
      if (all <= good || fits(all)) return words.End(std::max(all, good));
      bad = all;
      break;
    }
    if (!fits(k)) {
      bad = k;
      break;
    }
    good = k;
  }
  while (bad - good > 1) {
    std::size_t mid = good + (bad - good) / 2;
    (fits(mid) ? good : bad) = mid;
  }
  return words.End(good);
}

// Greedy wrapping: a line takes words while they fit; spaces where a line breaks are dropped.
// Stops once `out` holds `maxLines` lines; false when text was left.
bool WrapParagraph(const Font& font, const Paragraph& p, int width, std::size_t maxLines,
                   std::vector<TextLine>& out) {
  std::string_view t(p.text);
  std::size_t start = 0;
  for (;;) {
    if (out.size() >= maxLines) return false;
    std::size_t end = FitWords(font, t, start, width);
    out.push_back(MakeLine(font, p, start, end));
    start = end;
    while (start < t.size() && t[start] == ' ')
      ++start;
    if (start >= t.size()) return true;
  }
}

// Byte length of the longest start of `text` (whole characters) no wider than `width` with
// "…" after it.
std::size_t FitWithEllipsis(const Font& font, std::string_view text, int width) {
  // A character is at least a pixel wide and at most four bytes: nothing beyond this can fit.
  std::size_t limit = std::min(text.size(), static_cast<std::size_t>(std::max(width, 0)) * 4 + 4);
  std::vector<std::size_t> cuts{0};  // character boundaries up to the limit
  for (std::size_t i = 1; i <= limit; ++i) {
    if (i == text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) cuts.push_back(i);
  }
  auto fits = [&](std::size_t n) {
    return font.TextWidth(std::string(text.substr(0, n)).append(kEllipsis)) <= width;
  };
  std::size_t good = 0, bad = cuts.size();  // indexes into cuts
  while (bad - good > 1) {
    std::size_t mid = good + (bad - good) / 2;
    (fits(cuts[mid]) ? good : bad) = mid;
  }
  return cuts[good];
}

// Cuts a line to `keep` bytes and ends it in "…".
void EndWithEllipsis(const Font& font, TextLine& line, std::size_t keep) {
  line.text.resize(keep);
  line.text += kEllipsis;
  line.width = font.TextWidth(line.text);
  if (line.underlineStart >= static_cast<int>(keep)) line.underlineStart = line.underlineEnd = -1;
  line.underlineEnd = std::min(line.underlineEnd, static_cast<int>(keep));
}

void ApplyEllipsis(const Font& font, TextLayout& layout, const LayoutOptions& options) {
  int maxWidth = options.maxWidth;
  for (TextLine& line : layout.lines) {
    if (maxWidth > 0 && line.width > maxWidth)
      EndWithEllipsis(font, line, FitWithEllipsis(font, line.text, maxWidth));
  }
  if (!layout.truncated || layout.lines.empty()) return;
  TextLine& last = layout.lines.back();
  if (last.text.ends_with(kEllipsis)) return;
  std::size_t keep = last.text.size();
  if (maxWidth > 0 && font.TextWidth(std::string(last.text).append(kEllipsis)) > maxWidth)
    keep = FitWithEllipsis(font, last.text, maxWidth);
  EndWithEllipsis(font, last, keep);
}

}  // namespace

int AccessKeyOf(std::string_view caption) {
  Paragraph p = StripMarkers(caption, true);
  if (p.underline < 0) return 0;
  char c = p.text[static_cast<std::size_t>(p.underline)];
  if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
  if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
  return 0;
}

TextLayout LayoutText(const Font& font, std::string_view utf8, const LayoutOptions& options) {
  TextLayout layout;
  layout.lineHeight = font.Height();
  std::size_t maxLines = std::numeric_limits<std::size_t>::max();
  if (options.maxHeight > 0)
    maxLines =
        static_cast<std::size_t>(std::max(options.maxHeight / std::max(layout.lineHeight, 1), 1));
  std::size_t pos = 0;
  bool done = false;
  std::string_view line;
  while (NextLine(utf8, pos, done, line)) {
    if (layout.lines.size() >= maxLines) {
      layout.truncated = true;
      break;
    }
    Paragraph p = StripMarkers(line, options.mnemonics);
    if (options.wrapWidth > 0 && !p.text.empty()) {
      if (!WrapParagraph(font, p, options.wrapWidth, maxLines, layout.lines)) {
        layout.truncated = true;
        break;
      }
    } else {
      layout.lines.push_back(MakeLine(font, p, 0, p.text.size()));
    }
  }
  if (options.ellipsis) ApplyEllipsis(font, layout, options);
  for (const auto& l : layout.lines)
    layout.width = std::max(layout.width, l.width);
  layout.height = static_cast<int>(layout.lines.size()) * layout.lineHeight;
  return layout;
}

void DrawTextLayout(Surface& target, const Font& font, const TextLayout& layout, const Rect& box,
                    TextAlign align, Pixel color) {
  ClipScope clip(target, box);
  Rect visible = target.Clip();
  if (visible.Empty() || layout.lineHeight <= 0) return;
  // Lines above the clip are skipped without a look, lines below it end the drawing.
  std::size_t first =
      visible.y > box.y ? static_cast<std::size_t>((visible.y - box.y) / layout.lineHeight) : 0;
  int y = box.y + static_cast<int>(first) * layout.lineHeight;
  for (std::size_t i = first; i < layout.lines.size() && y < visible.Bottom(); ++i) {
    const TextLine& line = layout.lines[i];
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
                   bool mnemonics, Size limit) {
  LayoutOptions options;
  options.mnemonics = mnemonics;
  if (wordWrap) options.wrapWidth = std::max(width, 1);
  // Within a limit the size is that of the text as it will be drawn: cut, with its "…".
  options.maxHeight = limit.height;
  options.ellipsis = limit.width > 0 || limit.height > 0;
  options.maxWidth = limit.width;
  TextLayout layout = LayoutText(font, caption, options);
  Size size{wordWrap ? width : layout.width, layout.height};
  if (limit.width > 0) size.width = std::min(size.width, limit.width);
  if (limit.height > 0) size.height = std::min(size.height, limit.height);
  return size;
}

}  // namespace sl::draw

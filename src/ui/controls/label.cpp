// Labels: caption layout, auto-size and drawing.
#include "ui/controls/label.h"

#include <algorithm>

#include "core/runtime_error.h"
#include "ui/controls/font_members.h"
#include "ui/draw/chrome.h"
#include "ui/draw/text_layout.h"
#include "ui/draw/units.h"
#include "ui/window_manager.h"

namespace sl::ui {

Label::Label(Form* form, std::string name)
    : ControlBase<Label>(form, ControlKind::Label, std::move(name)) {
  Move(0, 0, 1215, 255);
}

void Label::CopyPropertiesFrom(const Control& source) {
  const auto& s = static_cast<const Label&>(source);
  caption_ = s.caption_;
  font_ = s.font_;
  foreColor_ = s.foreColor_;
  backColor_ = s.backColor_;
  backStyle_ = s.backStyle_;
  alignment_ = s.alignment_;
  autoSize_ = s.autoSize_;
  wordWrap_ = s.wordWrap_;
  borderStyle_ = s.borderStyle_;
}

draw::Font Label::GetFont() const {
  WindowManager* m = Manager();
  return m ? m->Fonts().Get(font_) : draw::Font();
}

void Label::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  ApplyAutoSize();
  ForgetText();
  Invalidate();
}

void Label::SetFontSpec(const draw::FontSpec& font) {
  font_ = font;
  ApplyAutoSize();
  ForgetText();
  Invalidate();
}

void Label::SetForeColor(std::uint32_t c) {
  foreColor_ = c;
  ForgetText();
  Invalidate();
}

void Label::SetBackColor(std::uint32_t c) {
  backColor_ = c;
  ForgetText();
  Invalidate();
}

void Label::SetBackStyle(int style) {
  if (style != 0 && style != 1) throw RuntimeError(kErrInvalidPropertyValue);
  backStyle_ = style;
  ForgetText();
  Invalidate();
}

void Label::SetAlignment(int a) {
  if (a < 0 || a > 2) throw RuntimeError(kErrInvalidPropertyValue);
  alignment_ = a;
  ForgetText();
  Invalidate();
}

void Label::SetAutoSize(bool enable) {
  autoSize_ = enable;
  ApplyAutoSize();
}

void Label::SetWordWrap(bool enable) {
  wordWrap_ = enable;
  ApplyAutoSize();
  ForgetText();
  Invalidate();
}

void Label::SetBorderStyle(int style) {
  if (style != 0 && style != 1) throw RuntimeError(kErrInvalidPropertyValue);
  borderStyle_ = style;
  ForgetText();
  Invalidate();
}

void Label::SetAutoSizeLimit(double widthTwips, double heightTwips) {
  autoSizeLimit_ = {static_cast<int>(draw::TwipsToPixels(widthTwips)),
                    static_cast<int>(draw::TwipsToPixels(heightTwips))};
  ApplyAutoSize();
}

void Label::SetEllipsis(bool enable) {
  ellipsis_ = enable;
  ForgetText();
  Invalidate();
}

void Label::ForgetText() {
  textImage_ = {};
}

void Label::SetEnabled(bool enable) {
  ForgetText();
  Control::SetEnabled(enable);
}

void Label::ApplyAutoSize() {
  if (!autoSize_) return;
  draw::Font font = GetFont();
  int border = borderStyle_ ? 2 : 0;
  draw::Size limit = autoSizeLimit_;
  if (limit.width > 0) limit.width = std::max(limit.width - 2 * border, 1);
  if (limit.height > 0) limit.height = std::max(limit.height - 2 * border, 1);
  draw::Size s =
      draw::LabelAutoSize(font, caption_, wordWrap_, PixelBounds().width - 2 * border, true, limit);
  double w = wordWrap_ ? Width() : draw::PixelsToTwips(s.width + 2 * border);
  Move(Left(), Top(), w, draw::PixelsToTwips(s.height + 2 * border));
}

void Label::Paint(draw::Surface& target, draw::Point origin) {
  draw::Rect r = PixelBounds();
  draw::Rect box{origin.x, origin.y, r.width, r.height};
  if (backStyle_ == 1) target.FillRect(box, draw::ClassicToPixel(backColor_));
  if (borderStyle_ == 1) box = draw::DrawEdge(target, box, draw::EdgeStyle::kSunken);
  if (box.Empty() || caption_.empty()) return;
  // A label may be far larger than its window: only the part inside the clip is drawn.
  draw::Rect shown = box.Intersect(target.Clip());
  if (shown.Empty()) return;
  draw::Rect part = shown.Offset(-box.x, -box.y);
  if (textImage_.Width() != part.width || textImage_.Height() != part.height || textPart_ != part) {
    draw::Font font = GetFont();
    draw::LayoutOptions opt;
    opt.wrapWidth = box.width;  // a label wraps its caption at its width
    opt.mnemonics = true;
    // Lines below the box never show; with an ellipsis only whole lines do.
    opt.maxHeight = ellipsis_ ? box.height : part.Bottom() + font.Height();
    opt.ellipsis = ellipsis_;
    opt.maxWidth = box.width;
    draw::TextLayout layout = draw::LayoutText(font, caption_, opt);
    std::uint32_t color = IsEffectivelyEnabled() ? foreColor_ : 0x80000011;
    textImage_ = draw::Surface(part.width, part.height);
    textPart_ = part;
    draw::DrawTextLayout(textImage_, font, layout, box.Offset(-shown.x, -shown.y),
                         static_cast<draw::TextAlign>(alignment_), draw::ClassicToPixel(color));
  }
  target.Blit(textImage_, shown.x, shown.y);
}

const DispatchTable<Label>& Label::Members() {
  static const DispatchTable<Label> table = [] {
    DispatchTable<Label> t;
    AddCommonMembers(t);
    AddFontMembers(t);
    t.Property(
        "Caption", [](Label& c) { return Str(c.Caption()); },
        [](Label& c, const Variant& v) { c.SetCaption(ToUtf8(v)); });
    t.Property(
        "ForeColor", [](Label& c) { return ColorToVariant(c.ForeColor()); },
        [](Label& c, const Variant& v) { c.SetForeColor(ColorFromVariant(v)); });
    t.Property(
        "BackColor", [](Label& c) { return ColorToVariant(c.BackColor()); },
        [](Label& c, const Variant& v) { c.SetBackColor(ColorFromVariant(v)); });
    t.Property(
        "BackStyle", [](Label& c) { return Int(c.BackStyle()); },
        [](Label& c, const Variant& v) { c.SetBackStyle(ToInteger(v)); });
    t.Property(
        "Alignment", [](Label& c) { return Int(c.Alignment()); },
        [](Label& c, const Variant& v) { c.SetAlignment(ToInteger(v)); });
    t.Property(
        "AutoSize", [](Label& c) { return Bool(c.AutoSize()); },
        [](Label& c, const Variant& v) { c.SetAutoSize(ToBoolean(v)); });
    t.Property(
        "WordWrap", [](Label& c) { return Bool(c.WordWrap()); },
        [](Label& c, const Variant& v) { c.SetWordWrap(ToBoolean(v)); });
    t.Property(
        "BorderStyle", [](Label& c) { return Int(c.BorderStyle()); },
        [](Label& c, const Variant& v) { c.SetBorderStyle(ToInteger(v)); });
    t.Default("Caption");
    return t;
  }();
  return table;
}

}  // namespace sl::ui

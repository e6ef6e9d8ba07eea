// Text boxes.
#include "ui/controls/text_box.h"

#include "core/runtime_error.h"
#include "ui/controls/font_members.h"
#include "ui/draw/chrome.h"
#include "ui/draw/text_layout.h"
#include "ui/window_manager.h"

namespace sl::ui {

std::size_t Utf8Length(std::string_view s) {
  std::size_t n = 0;
  for (unsigned char c : s)
    n += (c & 0xC0) != 0x80;
  return n;
}

std::string Utf8Prefix(std::string_view s, std::size_t n) {
  std::size_t i = 0, count = 0;
  for (; i < s.size(); ++i) {
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
      if (count == n) break;
      ++count;
    }
  }
  return std::string(s.substr(0, i));
}

TextBox::TextBox(Form* form, std::string name)
    : ControlBase<TextBox>(form, ControlKind::TextBox, std::move(name)) {
  Move(0, 0, 1215, 285);
}

void TextBox::CopyPropertiesFrom(const Control& source) {
  const auto& s = static_cast<const TextBox&>(source);
  text_ = s.text_;
  font_ = s.font_;
  maxLength_ = s.maxLength_;
  locked_ = s.locked_;
  multiLine_ = s.multiLine_;
  backColor_ = s.backColor_;
  foreColor_ = s.foreColor_;
}

void TextBox::SetText(std::string text) {
  if (maxLength_ > 0 && Utf8Length(text) > static_cast<std::size_t>(maxLength_)) {
    text = Utf8Prefix(text, static_cast<std::size_t>(maxLength_));
  }
  if (text == text_) return;
  text_ = std::move(text);
  Invalidate();
  Ref<Control> keep(this);
  if (on.change) on.change(*this);
}

void TextBox::SetMaxLength(int n) {
  if (n < 0) throw RuntimeError(kErrInvalidPropertyValue);
  maxLength_ = n;
}

void TextBox::SetMultiLine(bool enable) {
  multiLine_ = enable;
  Invalidate();
}
void TextBox::SetFontSpec(const draw::FontSpec& f) {
  font_ = f;
  Invalidate();
}
void TextBox::SetBackColor(std::uint32_t c) {
  backColor_ = c;
  Invalidate();
}
void TextBox::SetForeColor(std::uint32_t c) {
  foreColor_ = c;
  Invalidate();
}

bool TextBox::BuiltinKey(int keyCode, int /*shift*/) {
  if (locked_) return false;
  if (keyCode == kKeyBackspace) {
    std::size_t n = Utf8Length(text_);
    if (n > 0) SetText(Utf8Prefix(text_, n - 1));
    return true;
  }
  if (keyCode == kKeyReturn && multiLine_) {
    BuiltinText("\r\n");
    return true;
  }
  return false;
}

void TextBox::BuiltinText(const std::string& text) {
  if (locked_) return;
  SetText(text_ + text);
}

void TextBox::Paint(draw::Surface& target, draw::Point origin) {
  draw::Rect r = PixelBounds();
  draw::Rect inside =
      draw::DrawTextBoxFrame(target, {origin.x, origin.y, r.width, r.height},
                             IsEffectivelyEnabled(), draw::ClassicToPixel(backColor_));
  WindowManager* m = Manager();
  draw::Font font = m ? m->Fonts().Get(font_) : draw::Font();
  draw::LayoutOptions opt;
  opt.wrapWidth = multiLine_ ? inside.width - 2 : 0;
  draw::TextLayout layout = draw::LayoutText(font, text_, opt);
  draw::Rect box = inside.Inflate(-1);
  draw::DrawTextLayout(target, font, layout, box, draw::TextAlign::kLeft,
                       draw::ClassicToPixel(IsEffectivelyEnabled() ? foreColor_ : 0x80000011));
  bool focused = GetForm() && GetForm()->ActiveControl() == this;
  if (focused && !layout.lines.empty()) {
    const draw::TextLine& last = layout.lines.back();
    int x = std::min(box.x + last.width, box.Right() - 1);
    int y = box.y + (static_cast<int>(layout.lines.size()) - 1) * layout.lineHeight;
    target.DrawVLine(x, y, y + layout.lineHeight - 1, draw::ClassicToPixel(foreColor_));
  }
}

const DispatchTable<TextBox>& TextBox::Members() {
  static const DispatchTable<TextBox> table = [] {
    using T = TextBox;
    DispatchTable<T> t;
    AddCommonMembers(t);
    AddFontMembers(t);
    t.Property(
        "Text", [](T& c) { return Str(c.Text()); },
        [](T& c, const Variant& v) { c.SetText(ToUtf8(v)); });
    t.Property(
        "MaxLength", [](T& c) { return Long(c.MaxLength()); },
        [](T& c, const Variant& v) { c.SetMaxLength(ToLong(v)); });
    t.Property(
        "Locked", [](T& c) { return Bool(c.Locked()); },
        [](T& c, const Variant& v) { c.SetLocked(ToBoolean(v)); });
    t.Property("MultiLine", [](T& c) { return Bool(c.MultiLine()); });
    t.Property(
        "BackColor", [](T& c) { return ColorToVariant(c.BackColor()); },
        [](T& c, const Variant& v) { c.SetBackColor(ColorFromVariant(v)); });
    t.Property(
        "ForeColor", [](T& c) { return ColorToVariant(c.ForeColor()); },
        [](T& c, const Variant& v) { c.SetForeColor(ColorFromVariant(v)); });
    t.Property("SelStart", [](T& c) { return Long(static_cast<long>(Utf8Length(c.Text()))); });
    t.Default("Text");
    return t;
  }();
  return table;
}

}  // namespace sl::ui

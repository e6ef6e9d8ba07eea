// Combo boxes.
#include "ui/controls/combo_box.h"

#include <algorithm>

#include "ui/controls/font_members.h"
#include "ui/draw/chrome.h"
#include "ui/draw/text_layout.h"
#include "ui/window_manager.h"

namespace sl::ui {

ComboBox::ComboBox(Form* form, std::string name)
    : ControlBase<ComboBox>(form, ControlKind::ComboBox, std::move(name)) {
  Move(0, 0, 1215, 315);
}

void ComboBox::CopyPropertiesFrom(const Control& source) {
  const auto& s = static_cast<const ComboBox&>(source);
  font_ = s.font_;
  style_ = s.style_;
  items_.sorted = s.items_.sorted;
}

void ComboBox::SetListIndex(int n) {
  if (n < -1 || n >= items_.Count()) throw RuntimeError(kErrInvalidPropertyValue);
  if (n == items_.selected) return;
  items_.selected = n;
  text_ = n >= 0 ? items_.At(n) : std::string();
  Invalidate();
  Ref<Control> keep(this);
  if (on.click) on.click(*this);
}

void ComboBox::SetText(std::string text) {
  if (style_ == 2) {
    // A drop-down list only takes the text of one of its entries.
    int n = items_.Find(text);
    if (n < 0 && !text.empty())
      throw RuntimeError(kErrReadOnlyProperty, "'Text' property is read-only");
    SetListIndex(n);
    return;
  }
  if (text == text_) return;
  text_ = std::move(text);
  items_.selected = items_.Find(text_);
  Invalidate();
  Ref<Control> keep(this);
  if (on.change) on.change(*this);
}

void ComboBox::SetStyle(int s) {
  if (s < 0 || s > 2) throw RuntimeError(kErrInvalidPropertyValue);
  style_ = s;
  Invalidate();
}

void ComboBox::SetFontSpec(const draw::FontSpec& f) {
  font_ = f;
  Invalidate();
}

void ComboBox::BuiltinMouse(InputKind kind, int button, draw::Point at) {
  // A press on the arrow steps to the next entry (wrapping), since the list does not drop down.
  if (kind != InputKind::MouseDown || button != kButtonLeft || items_.Count() == 0) return;
  if (at.x < PixelBounds().width - 18) return;
  SetListIndex((items_.selected + 1) % items_.Count());
}

bool ComboBox::BuiltinKey(int keyCode, int /*shift*/) {
  int count = items_.Count();
  if (keyCode == kKeyUp && count > 0) {
    SetListIndex(std::max(items_.selected - 1, 0));
    return true;
  }
  if (keyCode == kKeyDown && count > 0) {
    SetListIndex(std::min(items_.selected + 1, count - 1));
    return true;
  }
  if (keyCode == kKeyBackspace && style_ != 2 && !text_.empty()) {
    std::string t = text_;
    do {
      t.pop_back();
    } while (!t.empty() && (static_cast<unsigned char>(t.back()) & 0xC0) == 0x80);
    if (!t.empty() && (static_cast<unsigned char>(t.back()) & 0xC0) == 0xC0) t.pop_back();
    SetText(t);
    return true;
  }
  return false;
}

void ComboBox::BuiltinText(const std::string& text) {
  if (style_ != 2) SetText(text_ + text);
}

bool ComboBox::SelectEntry(const std::string& text) {
  int n = items_.Find(text);
  if (n < 0) return false;
  SetListIndex(n);
  return true;
}

void ComboBox::Paint(draw::Surface& target, draw::Point origin) {
  draw::Rect r = PixelBounds();
  draw::Rect inside = draw::DrawTextBoxFrame(target, {origin.x, origin.y, r.width, r.height},
                                             IsEffectivelyEnabled());
  draw::Rect arrow{inside.Right() - 16, inside.y, 16, inside.height};
  draw::DrawComboArrow(target, arrow, false, IsEffectivelyEnabled());
  WindowManager* m = Manager();
  draw::Font font = m ? m->Fonts().Get(font_) : draw::Font();
  draw::TextLayout layout = draw::LayoutText(font, text_);
  draw::Rect box{inside.x + 2, inside.y + 1, inside.width - 20, inside.height - 2};
  draw::DrawTextLayout(target, font, layout, box, draw::TextAlign::kLeft,
                       draw::SystemPixel(IsEffectivelyEnabled() ? draw::SystemColor::kWindowText
                                                                : draw::SystemColor::kGrayText));
}

const DispatchTable<ComboBox>& ComboBox::Members() {
  static const DispatchTable<ComboBox> table = [] {
    using C = ComboBox;
    DispatchTable<C> t;
    AddCommonMembers(t);
    AddFontMembers(t);
    AddListMembers(t);
    t.Property(
        "Text", [](C& c) { return Str(c.Text()); },
        [](C& c, const Variant& v) { c.SetText(ToUtf8(v)); });
    t.Property("Style", [](C& c) { return Int(c.Style()); });
    t.Default("Text");
    return t;
  }();
  return table;
}

}  // namespace sl::ui

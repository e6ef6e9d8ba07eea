// Check boxes.
#include "ui/controls/check_box.h"

#include "core/runtime_error.h"
#include "ui/controls/font_members.h"
#include "ui/draw/chrome.h"
#include "ui/window_manager.h"

namespace sl::ui {

CheckBox::CheckBox(Form* form, std::string name)
    : ControlBase<CheckBox>(form, ControlKind::CheckBox, std::move(name)) {
  Move(0, 0, 1215, 255);
}

void CheckBox::CopyPropertiesFrom(const Control& source) {
  const auto& s = static_cast<const CheckBox&>(source);
  caption_ = s.caption_;
  font_ = s.font_;
  value_ = s.value_;
  backColor_ = s.backColor_;
  foreColor_ = s.foreColor_;
}

void CheckBox::SetCaption(std::string c) {
  caption_ = std::move(c);
  Invalidate();
}
void CheckBox::SetFontSpec(const draw::FontSpec& f) {
  font_ = f;
  Invalidate();
}
void CheckBox::SetBackColor(std::uint32_t c) {
  backColor_ = c;
  Invalidate();
}
void CheckBox::SetForeColor(std::uint32_t c) {
  foreColor_ = c;
  Invalidate();
}

void CheckBox::SetValue(int v) {
  if (v < 0 || v > 2) throw RuntimeError(kErrInvalidPropertyValue);
  if (v == value_) return;
  value_ = v;
  Invalidate();
  Ref<Control> keep(this);
  if (on.click) on.click(*this);
}

void CheckBox::BuiltinMouse(InputKind kind, int button, draw::Point at) {
  draw::Rect r = PixelBounds();
  bool inside = at.x >= 0 && at.y >= 0 && at.x < r.width && at.y < r.height;
  // The toggle happens before the Click handler the window manager runs after release; the
  // value is changed without a second Click.
  if (kind == InputKind::MouseUp && button == kButtonLeft && inside) {
    value_ = value_ == 1 ? 0 : 1;
    Invalidate();
  }
}

bool CheckBox::BuiltinKey(int keyCode, int /*shift*/) {
  if (keyCode != kKeySpace) return false;
  SetValue(value_ == 1 ? 0 : 1);
  return true;
}

void CheckBox::Paint(draw::Surface& target, draw::Point origin) {
  draw::Rect r = PixelBounds();
  WindowManager* m = Manager();
  draw::Font font = m ? m->Fonts().Get(font_) : draw::Font();
  bool focused = GetForm() && GetForm()->ActiveControl() == this;
  draw::DrawCheckBoxControl(target, {origin.x, origin.y, r.width, r.height}, value_ != 0,
                            IsEffectivelyEnabled(), focused, font, caption_,
                            draw::ClassicToPixel(backColor_), draw::ClassicToPixel(foreColor_));
}

const DispatchTable<CheckBox>& CheckBox::Members() {
  static const DispatchTable<CheckBox> table = [] {
    using C = CheckBox;
    DispatchTable<C> t;
    AddCommonMembers(t);
    AddFontMembers(t);
    t.Property(
        "Caption", [](C& c) { return Str(c.Caption()); },
        [](C& c, const Variant& v) { c.SetCaption(ToUtf8(v)); });
    t.Property(
        "Value", [](C& c) { return Int(c.Value()); },
        [](C& c, const Variant& v) { c.SetValue(ToInteger(v)); });
    t.Property(
        "BackColor", [](C& c) { return ColorToVariant(c.BackColor()); },
        [](C& c, const Variant& v) { c.SetBackColor(ColorFromVariant(v)); });
    t.Property(
        "ForeColor", [](C& c) { return ColorToVariant(c.ForeColor()); },
        [](C& c, const Variant& v) { c.SetForeColor(ColorFromVariant(v)); });
    t.Default("Value");
    return t;
  }();
  return table;
}

}  // namespace sl::ui

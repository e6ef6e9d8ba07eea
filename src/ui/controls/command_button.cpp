// Command buttons.
#include "ui/controls/command_button.h"

#include "ui/controls/font_members.h"
#include "ui/draw/chrome.h"
#include "ui/window_manager.h"

namespace sl::ui {

CommandButton::CommandButton(Form* form, std::string name)
    : ControlBase<CommandButton>(form, ControlKind::CommandButton, std::move(name)) {
  Move(0, 0, 1215, 495);
}

void CommandButton::CopyPropertiesFrom(const Control& source) {
  const auto& s = static_cast<const CommandButton&>(source);
  caption_ = s.caption_;
  font_ = s.font_;
  cancel_ = s.cancel_;
}

void CommandButton::SetCaption(std::string c) {
  caption_ = std::move(c);
  Invalidate();
}

void CommandButton::SetFontSpec(const draw::FontSpec& f) {
  font_ = f;
  Invalidate();
}

void CommandButton::SetDefault(bool enable) {
  // Only one button of a form is the default one.
  if (enable && GetForm()) {
    for (const auto& c : GetForm()->Controls()) {
      if (auto* b = dynamic_cast<CommandButton*>(c.get())) b->default_ = false;
    }
  }
  default_ = enable;
  Invalidate();
}

void CommandButton::Press() {
  Ref<Control> keep(this);
  if (on.click) on.click(*this);
}

void CommandButton::BuiltinMouse(InputKind kind, int button, draw::Point at) {
  if (button != kButtonLeft && kind != InputKind::MouseMove) return;
  draw::Rect r = PixelBounds();
  bool inside = at.x >= 0 && at.y >= 0 && at.x < r.width && at.y < r.height;
  bool next = pressed_;
  if (kind == InputKind::MouseDown) next = true;
  if (kind == InputKind::MouseUp) next = false;
  if (kind == InputKind::MouseMove && (button & kButtonLeft)) next = inside;
  if (next != pressed_) {
    pressed_ = next;
    Invalidate();
  }
}

bool CommandButton::BuiltinKey(int keyCode, int /*shift*/) {
  if (keyCode == kKeySpace || keyCode == kKeyReturn) {
    Press();
    return true;
  }
  return false;
}

void CommandButton::Paint(draw::Surface& target, draw::Point origin) {
  draw::Rect r = PixelBounds();
  draw::ButtonLook look;
  look.pressed = pressed_;
  look.isDefault = default_;
  look.focused = GetForm() && GetForm()->ActiveControl() == this;
  look.enabled = IsEffectivelyEnabled();
  WindowManager* m = Manager();
  draw::Font font = m ? m->Fonts().Get(font_) : draw::Font();
  draw::DrawButton(target, {origin.x, origin.y, r.width, r.height}, look, font, caption_);
}

const DispatchTable<CommandButton>& CommandButton::Members() {
  static const DispatchTable<CommandButton> table = [] {
    using B = CommandButton;
    DispatchTable<B> t;
    AddCommonMembers(t);
    AddFontMembers(t);
    t.Property(
        "Caption", [](B& c) { return Str(c.Caption()); },
        [](B& c, const Variant& v) { c.SetCaption(ToUtf8(v)); });
    t.Property(
        "Default", [](B& c) { return Bool(c.IsDefault()); },
        [](B& c, const Variant& v) { c.SetDefault(ToBoolean(v)); });
    t.Property(
        "Cancel", [](B& c) { return Bool(c.IsCancel()); },
        [](B& c, const Variant& v) { c.SetCancel(ToBoolean(v)); });
    t.Property(
        "Value", [](B&) { return Bool(false); },
        [](B& c, const Variant& v) {
          if (ToBoolean(v)) c.Press();
        });
    t.Default("Value");
    return t;
  }();
  return table;
}

}  // namespace sl::ui

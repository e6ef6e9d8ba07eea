// CommandButton: a push button with a caption; it shows pressed while the mouse holds it and
// clicks on release over it, or on Space (and Enter when it is the default button).
#pragma once

#include "core/dispatch_table.h"
#include "ui/control.h"
#include "ui/draw/font.h"

namespace sl::ui {

class CommandButton final : public ControlBase<CommandButton> {
 public:
  CommandButton(Form* form, std::string name);

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string c);
  const draw::FontSpec& FontSpec() const { return font_; }
  void SetFontSpec(const draw::FontSpec& f);
  // The button Enter presses / the button Esc presses on its form.
  bool IsDefault() const { return default_; }
  void SetDefault(bool enable);
  bool IsCancel() const { return cancel_; }
  void SetCancel(bool enable) { cancel_ = enable; }
  // Runs the Click handler, as setting Value to True does.
  void Press();

  bool CanFocus() const override { return true; }
  void BuiltinMouse(InputKind kind, int button, draw::Point at) override;
  bool BuiltinKey(int keyCode, int shift) override;
  void Paint(draw::Surface& target, draw::Point origin) override;
  static const DispatchTable<CommandButton>& Members();

 protected:
  void CopyPropertiesFrom(const Control& source) override;

 private:
  std::string caption_;
  draw::FontSpec font_;
  bool default_ = false;
  bool cancel_ = false;
  bool pressed_ = false;
};

}  // namespace sl::ui

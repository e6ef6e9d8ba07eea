// CheckBox: a box with a caption; Value 0 unchecked, 1 checked, 2 greyed. A click toggles
// between 0 and 1; setting Value runs the Click handler, as classically.
#pragma once

#include "core/dispatch_table.h"
#include "ui/control.h"
#include "ui/draw/font.h"

namespace sl::ui {

class CheckBox final : public ControlBase<CheckBox> {
 public:
  CheckBox(Form* form, std::string name);

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string c);
  const draw::FontSpec& FontSpec() const { return font_; }
  void SetFontSpec(const draw::FontSpec& f);
  int Value() const { return value_; }
  void SetValue(int v);
  std::uint32_t BackColor() const { return backColor_; }
  void SetBackColor(std::uint32_t c);
  std::uint32_t ForeColor() const { return foreColor_; }
  void SetForeColor(std::uint32_t c);

  bool CanFocus() const override { return true; }
  void BuiltinMouse(InputKind kind, int button, draw::Point at) override;
  bool BuiltinKey(int keyCode, int shift) override;
  void Paint(draw::Surface& target, draw::Point origin) override;
  static const DispatchTable<CheckBox>& Members();

 protected:
  void CopyPropertiesFrom(const Control& source) override;

 private:
  std::string caption_;
  draw::FontSpec font_;
  int value_ = 0;
  std::uint32_t backColor_ = 0x8000000F;
  std::uint32_t foreColor_ = 0x80000012;
};

}  // namespace sl::ui

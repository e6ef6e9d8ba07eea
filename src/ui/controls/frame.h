// Frame: a container with an etched border and a caption; its children are placed relative to
// its top-left corner and clipped to it.
#pragma once

#include "core/dispatch_table.h"
#include "ui/control.h"
#include "ui/draw/font.h"

namespace sl::ui {

class Frame final : public ControlBase<Frame> {
 public:
  Frame(Form* form, std::string name);

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string c);
  const draw::FontSpec& FontSpec() const { return font_; }
  void SetFontSpec(const draw::FontSpec& f);
  std::uint32_t BackColor() const { return backColor_; }
  void SetBackColor(std::uint32_t c);
  std::uint32_t ForeColor() const { return foreColor_; }
  void SetForeColor(std::uint32_t c);
  int BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(int s);

  bool IsContainer() const override { return true; }
  void Paint(draw::Surface& target, draw::Point origin) override;
  static const DispatchTable<Frame>& Members();

 protected:
  void CopyPropertiesFrom(const Control& source) override;

 private:
  std::string caption_;
  draw::FontSpec font_;
  std::uint32_t backColor_ = 0x8000000F;
  std::uint32_t foreColor_ = 0x80000012;
  int borderStyle_ = 1;
};

}  // namespace sl::ui

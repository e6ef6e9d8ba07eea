// Image: shows a picture, at its own size (the control then takes the picture's size) or
// stretched to the control. Transparent parts of the picture show what lies beneath.
#pragma once

#include "core/dispatch_table.h"
#include "ui/control.h"

namespace sl::ui {

class Image final : public ControlBase<Image> {
 public:
  Image(Form* form, std::string name);

  const draw::Picture& Picture() const { return picture_; }
  void SetPicture(draw::Picture picture);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool enable);
  int BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(int style);

  void Paint(draw::Surface& target, draw::Point origin) override;
  static const DispatchTable<Image>& Members();

 protected:
  void CopyPropertiesFrom(const Control& source) override;

 private:
  void FitToPicture();

  draw::Picture picture_;
  draw::Surface scaled_;  // the picture stretched to the control, kept until either changes
  bool stretch_ = false;
  int borderStyle_ = 0;
};

}  // namespace sl::ui

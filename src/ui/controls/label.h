// Label: a caption drawn in a font, opaque or transparent, aligned, wrapped at its width, and
// optionally sized to its caption (AutoSize; with WordWrap it grows downwards only). A label may
// be told how far it may grow (SetAutoSizeLimit) and to cut what does not fit with an ellipsis
// (SetEllipsis). Only the part of the caption that shows is laid out and drawn, so a caption of
// any length costs memory for what is on screen.
#pragma once

#include "core/dispatch_table.h"
#include "ui/control.h"
#include "ui/draw/font.h"

namespace sl::ui {

class Label final : public ControlBase<Label> {
 public:
  Label(Form* form, std::string name);

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  const draw::FontSpec& FontSpec() const { return font_; }
  void SetFontSpec(const draw::FontSpec& font);
  std::uint32_t ForeColor() const { return foreColor_; }
  void SetForeColor(std::uint32_t c);
  std::uint32_t BackColor() const { return backColor_; }
  void SetBackColor(std::uint32_t c);
  // 0 transparent, 1 opaque.
  int BackStyle() const { return backStyle_; }
  void SetBackStyle(int style);
  // 0 left, 1 right, 2 centre.
  int Alignment() const { return alignment_; }
  void SetAlignment(int a);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool enable);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool enable);
  int BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(int style);
  // The largest size AutoSize gives, in twips (0 in a direction: no limit).
  void SetAutoSizeLimit(double widthTwips, double heightTwips);
  // Ends the caption with "…" where the label's box cuts it.
  void SetEllipsis(bool enable);

  void Paint(draw::Surface& target, draw::Point origin) override;
  void SetEnabled(bool enable) override;
  static const DispatchTable<Label>& Members();

 protected:
  void Resized() override { ForgetText(); }
  void CopyPropertiesFrom(const Control& source) override;

 private:
  void ApplyAutoSize();
  void ForgetText();
  draw::Font GetFont() const;

  // The shown part of the caption drawn once onto transparency, reused until something about
  // it changes: `textPart_` is where it lies in the text box, a default-constructed surface
  // means "draw again".
  draw::Surface textImage_;
  draw::Rect textPart_;
  draw::Size autoSizeLimit_;  // pixels
  bool ellipsis_ = false;
  std::string caption_;
  draw::FontSpec font_;
  std::uint32_t foreColor_ = 0x80000012;  // button text
  std::uint32_t backColor_ = 0x8000000F;  // button face
  int backStyle_ = 1;
  int alignment_ = 0;
  bool autoSize_ = false;
  bool wordWrap_ = false;
  int borderStyle_ = 0;
};

}  // namespace sl::ui

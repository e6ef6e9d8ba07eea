// TextBox: one line (or several with MultiLine) of editable text in a sunken box. Typed text
// goes in at the caret (the end of the text), Backspace removes the last character; every change
// raises Change.
#pragma once

#include "core/dispatch_table.h"
#include "ui/control.h"
#include "ui/draw/font.h"

namespace sl::ui {

class TextBox final : public ControlBase<TextBox> {
 public:
  TextBox(Form* form, std::string name);

  const std::string& Text() const { return text_; }
  void SetText(std::string text);
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int n);
  bool Locked() const { return locked_; }
  void SetLocked(bool enable) { locked_ = enable; }
  bool MultiLine() const { return multiLine_; }
  void SetMultiLine(bool enable);
  const draw::FontSpec& FontSpec() const { return font_; }
  void SetFontSpec(const draw::FontSpec& f);
  std::uint32_t BackColor() const { return backColor_; }
  void SetBackColor(std::uint32_t c);
  std::uint32_t ForeColor() const { return foreColor_; }
  void SetForeColor(std::uint32_t c);

  bool CanFocus() const override { return true; }
  bool BuiltinKey(int keyCode, int shift) override;
  void BuiltinText(const std::string& text) override;
  void Paint(draw::Surface& target, draw::Point origin) override;
  static const DispatchTable<TextBox>& Members();

 protected:
  void CopyPropertiesFrom(const Control& source) override;

 private:
  std::string text_;
  draw::FontSpec font_;
  int maxLength_ = 0;
  bool locked_ = false;
  bool multiLine_ = false;
  std::uint32_t backColor_ = 0x80000005;
  std::uint32_t foreColor_ = 0x80000008;
};

// Number of characters (code points) of UTF-8 text, and the text cut to `n` of them.
std::size_t Utf8Length(std::string_view s);
std::string Utf8Prefix(std::string_view s, std::size_t n);

}  // namespace sl::ui

// ComboBox: a text field with a list of entries. Selecting an entry (arrow keys, an event
// script's select, or ListIndex) puts its text in the field and raises Click; typing changes the
// text (Style 0) and raises Change. The list is stepped through in place; it does not drop down.
#pragma once

#include "core/dispatch_table.h"
#include "ui/control.h"
#include "ui/controls/list_items.h"
#include "ui/draw/font.h"

namespace sl::ui {

class ComboBox final : public ControlBase<ComboBox> {
 public:
  ComboBox(Form* form, std::string name);

  ListItems& Items() { return items_; }
  void SetListIndex(int n);
  std::string ListText() const { return text_; }
  const std::string& Text() const { return text_; }
  void SetText(std::string text);
  // 0 drop-down combo (editable), 1 simple combo, 2 drop-down list (not editable).
  int Style() const { return style_; }
  void SetStyle(int s);
  const draw::FontSpec& FontSpec() const { return font_; }
  void SetFontSpec(const draw::FontSpec& f);

  bool CanFocus() const override { return true; }
  bool ClicksOnRelease() const override { return false; }
  void BuiltinMouse(InputKind kind, int button, draw::Point at) override;
  bool BuiltinKey(int keyCode, int shift) override;
  void BuiltinText(const std::string& text) override;
  bool SelectEntry(const std::string& text) override;
  void Paint(draw::Surface& target, draw::Point origin) override;
  static const DispatchTable<ComboBox>& Members();

 protected:
  void CopyPropertiesFrom(const Control& source) override;

 private:
  ListItems items_;
  std::string text_;
  draw::FontSpec font_;
  int style_ = 0;
};

}  // namespace sl::ui

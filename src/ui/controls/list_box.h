// ListBox: a list of entries in a sunken box, one selected; a press selects the entry under the
// pointer (raising Click), arrow keys move the selection.
#pragma once

#include "core/dispatch_table.h"
#include "ui/control.h"
#include "ui/controls/list_items.h"
#include "ui/draw/font.h"

namespace sl::ui {

class ListBox : public ControlBase<ListBox> {
 public:
  ListBox(Form* form, std::string name);

  ListItems& Items() { return items_; }
  const ListItems& Items() const { return items_; }
  // Selects entry n (-1 none), raising Click when the selection changes; 380 out of range.
  void SetListIndex(int n);
  std::string ListText() const;
  const draw::FontSpec& FontSpec() const { return font_; }
  void SetFontSpec(const draw::FontSpec& f);
  void SetSorted(bool enable) { items_.sorted = enable; }

  bool CanFocus() const override { return true; }
  bool ClicksOnRelease() const override { return false; }
  void BuiltinMouse(InputKind kind, int button, draw::Point at) override;
  bool BuiltinKey(int keyCode, int shift) override;
  bool SelectEntry(const std::string& text) override;
  void Paint(draw::Surface& target, draw::Point origin) override;
  static const DispatchTable<ListBox>& Members();

 protected:
  ListBox(Form* form, ControlKind kind, std::string name);
  void CopyPropertiesFrom(const Control& source) override;
  draw::Font GetFont() const;
  int VisibleRows() const;

  ListItems items_;
  draw::FontSpec font_;
};

}  // namespace sl::ui

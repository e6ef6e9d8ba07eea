// Menu: an entry of a form's menu bar or of a drop-down. Top-level menus form the bar; their
// child menus (ParentMenu) are the drop-down's entries. Caption "-" is a separator. A click on
// an entry without children raises Click; on a top-level menu it opens the drop-down (after
// raising Click, as classically).
#pragma once

#include <vector>

#include "core/dispatch_table.h"
#include "ui/control.h"

namespace sl::ui {

class Menu final : public ControlBase<Menu> {
 public:
  Menu(Form* form, std::string name);

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string c);
  bool Checked() const { return checked_; }
  void SetChecked(bool enable);
  Menu* ParentMenu() const { return parent_; }
  void SetParentMenu(Menu* parent);
  // Child entries in order.
  const std::vector<Menu*>& Items() const { return items_; }
  // Raises Click (as choosing the entry does).
  void Choose();

  bool IsWindowed() const override { return false; }
  void SetVisible(bool visible) override;
  void Paint(draw::Surface&, draw::Point) override {}
  static const DispatchTable<Menu>& Members();

 protected:
  void CopyPropertiesFrom(const Control& source) override;

 private:
  std::string caption_;
  bool checked_ = false;
  Menu* parent_ = nullptr;
  std::vector<Menu*> items_;
};

}  // namespace sl::ui

// Menu entries.
#include "ui/controls/menu.h"

#include <algorithm>

#include "ui/control_members.h"
#include "ui/window_manager.h"

namespace sl::ui {

Menu::Menu(Form* form, std::string name)
    : ControlBase<Menu>(form, ControlKind::Menu, std::move(name)) {}

void Menu::CopyPropertiesFrom(const Control& source) {
  const auto& s = static_cast<const Menu&>(source);
  caption_ = s.caption_;
  checked_ = s.checked_;
  SetParentMenu(s.parent_);
  // Unlike other controls, a loaded menu element shows as its model does.
  Control::SetVisible(s.Visible());
}

void Menu::SetParentMenu(Menu* parent) {
  if (parent_) std::erase(parent_->items_, this);
  parent_ = parent;
  if (parent_) parent_->items_.push_back(this);
}

void Menu::SetCaption(std::string c) {
  caption_ = std::move(c);
  Invalidate();
}

void Menu::SetChecked(bool enable) {
  checked_ = enable;
  Invalidate();
}

void Menu::SetVisible(bool visible) {
  Control::SetVisible(visible);
  if (auto* m = Manager(); m && !visible && m->OpenMenu() == this) m->CloseMenus();
  // Showing or hiding a top-level menu can add or remove the menu bar, which changes the
  // client area of the form.
  if (!parent_ && GetForm()) GetForm()->MenuBarChanged();
}

void Menu::Choose() {
  Ref<Control> keep(this);
  if (on.click) on.click(*this);
}

const DispatchTable<Menu>& Menu::Members() {
  static const DispatchTable<Menu> table = [] {
    DispatchTable<Menu> t;
    t.Property("Name", [](Menu& c) { return Str(c.Name()); });
    t.Property("Index", [](Menu& c) -> Variant {
      if (c.Index() < 0) throw RuntimeError(kErrNotAnArray, "Object not an array");
      return Int(c.Index());
    });
    t.Property(
        "Caption", [](Menu& c) { return Str(c.Caption()); },
        [](Menu& c, const Variant& v) { c.SetCaption(ToUtf8(v)); });
    t.Property(
        "Checked", [](Menu& c) { return Bool(c.Checked()); },
        [](Menu& c, const Variant& v) { c.SetChecked(ToBoolean(v)); });
    t.Property(
        "Visible", [](Menu& c) { return Bool(c.Visible()); },
        [](Menu& c, const Variant& v) { c.SetVisible(ToBoolean(v)); });
    t.Property(
        "Enabled", [](Menu& c) { return Bool(c.Enabled()); },
        [](Menu& c, const Variant& v) { c.SetEnabled(ToBoolean(v)); });
    t.Property(
        "Tag", [](Menu& c) { return Str(c.Tag()); },
        [](Menu& c, const Variant& v) { c.SetTag(ToUtf8(v)); });
    t.Property("Parent", [](Menu& c) { return Variant(static_cast<Object*>(c.GetForm())); });
    t.Default("Caption");
    return t;
  }();
  return table;
}

}  // namespace sl::ui

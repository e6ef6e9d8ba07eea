// The menu bar and its drop-downs: drawing, mouse and keys. A press on a title raises its
// Click and opens its drop-down; a press on an entry raises the entry's Click; Esc or a press
// elsewhere closes the drop-down.
#include <algorithm>

#include "ui/controls/menu.h"
#include "ui/draw/chrome.h"
#include "ui/form.h"
#include "ui/window_manager.h"

namespace sl::ui {

namespace {
std::vector<Menu*> VisibleItems(const std::vector<Menu*>& menus) {
  std::vector<Menu*> out;
  for (Menu* m : menus) {
    if (m->Visible()) out.push_back(m);
  }
  return out;
}

std::vector<draw::MenuItemLook> Looks(const std::vector<Menu*>& menus) {
  std::vector<draw::MenuItemLook> looks;
  for (Menu* m : menus) {
    draw::MenuItemLook l;
    l.caption = m->Caption();
    l.checked = m->Checked();
    l.enabled = m->Enabled();
    l.hasSubmenu = !VisibleItems(m->Items()).empty() && m->ParentMenu() != nullptr;
    looks.push_back(std::move(l));
  }
  return looks;
}
}  // namespace

void WindowManager::CloseMenus() {
  if (!openMenu_) return;
  if (openMenuForm_) openMenuForm_->MarkDirty();
  openMenu_ = nullptr;
  openMenuForm_ = nullptr;
  menuHighlight_ = -1;
}

draw::Rect WindowManager::DropDownRect(Form& form, int& titleIndex) const {
  std::vector<Menu*> titles = VisibleItems(form.Menus());
  auto it = std::find(titles.begin(), titles.end(), openMenu_);
  titleIndex = it == titles.end() ? -1 : static_cast<int>(it - titles.begin());
  if (titleIndex < 0) return {};
  draw::Font font = const_cast<WindowManager*>(this)->Fonts().Get(draw::FontSpec{});
  int bar = form.NonClientPixels().menuBar;
  std::vector<draw::MenuItemLook> titleLooks = Looks(titles);
  auto rects = draw::MenuBarItemRects({0, 0, form.ClientSize().width, bar}, font, titleLooks);
  std::vector<draw::MenuItemLook> items = Looks(VisibleItems(openMenu_->Items()));
  draw::Size size = draw::MenuSize(font, items);
  return {rects[static_cast<std::size_t>(titleIndex)].x, bar, size.width, size.height};
}

void WindowManager::DrawMenus(Form& form, draw::Surface& target, int menuBarHeight) {
  draw::Font font = Fonts().Get(draw::FontSpec{});
  std::vector<Menu*> titles = VisibleItems(form.Menus());
  std::vector<draw::MenuItemLook> looks = Looks(titles);
  target.ResetClip();
  int titleIndex = -1;
  draw::Rect drop;
  if (openMenu_ && openMenuForm_ == &form) drop = DropDownRect(form, titleIndex);
  draw::DrawMenuBar(target, {0, 0, target.Width(), menuBarHeight}, font, looks, titleIndex,
                    titleIndex >= 0);
  if (titleIndex >= 0) {
    std::vector<draw::MenuItemLook> items = Looks(VisibleItems(openMenu_->Items()));
    draw::DrawMenu(target, {drop.x, drop.y}, font, items, menuHighlight_);
  }
}

bool WindowManager::HandleMenuMouse(Form& form, const InputEvent& event, draw::Point p) {
  int bar = form.NonClientPixels().menuBar;
  bool onBar = p.y >= 0 && p.y < bar;
  bool dropOpen = openMenu_ && openMenuForm_ == &form;
  if (!onBar && !dropOpen) return false;
  draw::Font font = Fonts().Get(draw::FontSpec{});
  if (dropOpen) {
    int titleIndex = -1;
    draw::Rect drop = DropDownRect(form, titleIndex);
    std::vector<Menu*> items = VisibleItems(openMenu_->Items());
    if (drop.Contains(p)) {
      auto rects = draw::MenuItemRects(font, Looks(items));
      int hit = -1;
      for (std::size_t i = 0; i < rects.size(); ++i) {
        if (rects[i].Offset(drop.x, drop.y).Contains(p)) hit = static_cast<int>(i);
      }
      if (event.kind == InputKind::MouseMove) {
        if (hit != menuHighlight_) {
          menuHighlight_ = hit;
          form.MarkDirty();
        }
      } else if (event.kind == InputKind::MouseUp && hit >= 0) {
        Menu* item = items[static_cast<std::size_t>(hit)];
        if (item->Enabled() && item->Caption() != "-") {
          CloseMenus();
          item->Choose();
        }
      }
      return true;
    }
    if (!onBar) {
      if (event.kind == InputKind::MouseDown) CloseMenus();
      return event.kind != InputKind::MouseMove;  // the press that closes a menu goes no further
    }
  }
  // On the bar.
  if (event.kind != InputKind::MouseDown) return true;
  std::vector<Menu*> titles = VisibleItems(form.Menus());
  auto rects = draw::MenuBarItemRects({0, 0, form.ClientSize().width, bar}, font, Looks(titles));
  for (std::size_t i = 0; i < rects.size(); ++i) {
    if (!rects[i].Contains(p)) continue;
    Menu* title = titles[i];
    if (!title->Enabled()) return true;
    bool wasOpen = openMenu_ == title;
    CloseMenus();
    title->Choose();
    if (!wasOpen && !VisibleItems(title->Items()).empty() && title->Visible()) {
      openMenu_ = title;
      openMenuForm_ = &form;
      menuHighlight_ = -1;
      form.MarkDirty();
    }
    return true;
  }
  CloseMenus();
  return true;
}

void WindowManager::HandleMenuKey(int key) {
  if (!openMenu_) return;
  std::vector<Menu*> items = VisibleItems(openMenu_->Items());
  int n = static_cast<int>(items.size());
  auto selectable = [&](int i) {
    return items[static_cast<std::size_t>(i)]->Enabled() &&
           items[static_cast<std::size_t>(i)]->Caption() != "-";
  };
  switch (key) {
    case kKeyEscape:
      CloseMenus();
      return;
    case kKeyDown:
    case kKeyUp: {
      int step = key == kKeyDown ? 1 : -1;
      for (int k = 0, i = menuHighlight_; k < n; ++k) {
        i = ((i + step) % n + n) % n;
        if (selectable(i)) {
          menuHighlight_ = i;
          break;
        }
      }
      if (openMenuForm_) openMenuForm_->MarkDirty();
      return;
    }
    case kKeyReturn:
      if (menuHighlight_ >= 0 && menuHighlight_ < n && selectable(menuHighlight_)) {
        Menu* item = items[static_cast<std::size_t>(menuHighlight_)];
        CloseMenus();
        item->Choose();
      }
      return;
    default:
      return;
  }
}

}  // namespace sl::ui

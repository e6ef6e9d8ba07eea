// List boxes.
#include "ui/controls/list_box.h"

#include <algorithm>

#include "ui/controls/font_members.h"
#include "ui/draw/chrome.h"
#include "ui/window_manager.h"

namespace sl::ui {

ListBox::ListBox(Form* form, std::string name)
    : ListBox(form, ControlKind::ListBox, std::move(name)) {}

ListBox::ListBox(Form* form, ControlKind kind, std::string name)
    : ControlBase<ListBox>(form, kind, std::move(name)) {
  Move(0, 0, 1215, 1425);
}

void ListBox::CopyPropertiesFrom(const Control& source) {
  const auto& s = static_cast<const ListBox&>(source);
  font_ = s.font_;
  items_.sorted = s.items_.sorted;
}

draw::Font ListBox::GetFont() const {
  WindowManager* m = Manager();
  return m ? m->Fonts().Get(font_) : draw::Font();
}

int ListBox::VisibleRows() const {
  int h = GetFont().Height();
  return h > 0 ? std::max((PixelBounds().height - 4) / h, 1) : 1;
}

void ListBox::SetFontSpec(const draw::FontSpec& f) {
  font_ = f;
  Invalidate();
}

void ListBox::SetListIndex(int n) {
  if (n < -1 || n >= items_.Count()) throw RuntimeError(kErrInvalidPropertyValue);
  if (n == items_.selected) return;
  items_.selected = n;
  if (n >= 0) {
    if (n < items_.topIndex) items_.topIndex = n;
    int rows = VisibleRows();
    if (n >= items_.topIndex + rows) items_.topIndex = n - rows + 1;
  }
  Invalidate();
  Ref<Control> keep(this);
  if (on.click) on.click(*this);
}

std::string ListBox::ListText() const {
  return items_.selected >= 0 ? items_.At(items_.selected) : std::string();
}

void ListBox::BuiltinMouse(InputKind kind, int button, draw::Point at) {
  if (kind != InputKind::MouseDown || button != kButtonLeft) return;
  int h = GetFont().Height();
  if (h <= 0) return;
  int row = items_.topIndex + (at.y - 2) / h;
  if (at.y >= 2 && row < items_.Count()) SetListIndex(row);
}

bool ListBox::BuiltinKey(int keyCode, int /*shift*/) {
  int n = items_.selected;
  int count = items_.Count();
  if (count == 0) return false;
  switch (keyCode) {
    case kKeyUp:
      n = std::max(n - 1, 0);
      break;
    case kKeyDown:
      n = std::min(n + 1, count - 1);
      break;
    case kKeyHome:
      n = 0;
      break;
    case kKeyEnd:
      n = count - 1;
      break;
    default:
      return false;
  }
  SetListIndex(n);
  return true;
}

bool ListBox::SelectEntry(const std::string& text) {
  int n = items_.Find(text);
  if (n < 0) return false;
  SetListIndex(n);
  return true;
}

void ListBox::Paint(draw::Surface& target, draw::Point origin) {
  draw::Rect r = PixelBounds();
  std::vector<std::string> texts;
  texts.reserve(static_cast<std::size_t>(items_.Count()));
  for (int i = 0; i < items_.Count(); ++i)
    texts.push_back(items_.At(i));
  bool focused = GetForm() && GetForm()->ActiveControl() == this;
  draw::DrawListBox(target, {origin.x, origin.y, r.width, r.height}, GetFont(), texts,
                    items_.topIndex, items_.selected, focused);
}

const DispatchTable<ListBox>& ListBox::Members() {
  static const DispatchTable<ListBox> table = [] {
    DispatchTable<ListBox> t;
    AddCommonMembers(t);
    AddFontMembers(t);
    AddListMembers(t);
    t.Property("Text", [](ListBox& c) { return Str(c.ListText()); });
    t.IndexedProperty(
        "Selected", 1, 1,
        [](ListBox& c, std::span<Variant> i) {
          return Bool(c.Items().selected == ToInteger(i[0]));
        },
        [](ListBox& c, std::span<Variant> i, const Variant& v) {
          int n = ToInteger(i[0]);
          if (ToBoolean(v)) {
            c.SetListIndex(n);
          } else if (c.Items().selected == n) {
            c.SetListIndex(-1);
          }
        });
    t.Default("Text");
    return t;
  }();
  return table;
}

}  // namespace sl::ui

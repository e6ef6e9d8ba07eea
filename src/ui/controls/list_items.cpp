// List entries shared by list, combo and file list boxes.
#include "ui/controls/list_items.h"

#include <algorithm>

#include "core/case_fold.h"

namespace sl::ui {

bool LessNoCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    // Compared as bytes, so letters beyond ASCII sort after it.
    return static_cast<unsigned char>(AsciiLower(x)) < static_cast<unsigned char>(AsciiLower(y));
  });
}

const std::string& ListItems::At(int i) const {
  if (i < 0 || i >= Count())
    throw RuntimeError(kErrInvalidPropertyIndex, "Invalid property array index");
  return items_[static_cast<std::size_t>(i)].text;
}

void ListItems::Set(int i, std::string text) {
  if (i < 0 || i >= Count())
    throw RuntimeError(kErrInvalidPropertyIndex, "Invalid property array index");
  items_[static_cast<std::size_t>(i)].text = std::move(text);
}

std::int32_t ListItems::Data(int i) const {
  if (i < 0 || i >= Count())
    throw RuntimeError(kErrInvalidPropertyIndex, "Invalid property array index");
  return items_[static_cast<std::size_t>(i)].data;
}

void ListItems::SetData(int i, std::int32_t data) {
  if (i < 0 || i >= Count())
    throw RuntimeError(kErrInvalidPropertyIndex, "Invalid property array index");
  items_[static_cast<std::size_t>(i)].data = data;
}

int ListItems::Add(std::string text, int index) {
  if (index < 0 || index > Count()) {
    index = Count();
    if (sorted) {
      auto it = std::upper_bound(
          items_.begin(), items_.end(), text,
          [](const std::string& t, const Entry& e) { return LessNoCase(t, e.text); });
      index = static_cast<int>(it - items_.begin());
    }
  }
  items_.insert(items_.begin() + index, Entry{std::move(text), 0});
  if (selected >= index) ++selected;
  newIndex = index;
  return index;
}

void ListItems::Remove(int i) {
  if (i < 0 || i >= Count()) return;
  items_.erase(items_.begin() + i);
  if (selected == i) {
    selected = -1;
  } else if (selected > i) {
    --selected;
  }
  if (topIndex >= Count()) topIndex = std::max(Count() - 1, 0);
}

void ListItems::Clear() {
  items_.clear();
  selected = -1;
  topIndex = 0;
  newIndex = -1;
}

void ListItems::Assign(std::vector<std::string> texts) {
  Clear();
  for (auto& t : texts)
    items_.push_back(Entry{std::move(t), 0});
}

int ListItems::Find(const std::string& text) const {
  for (int i = 0; i < Count(); ++i) {
    if (items_[static_cast<std::size_t>(i)].text == text) return i;
  }
  return -1;
}

}  // namespace sl::ui

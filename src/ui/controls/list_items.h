// ListItems: the entries of a list, combo or file list box (text and ItemData, the selected
// entry, the first entry shown, sorting without regard to letter case), and the script members
// they share (List, ListCount, ListIndex, AddItem, RemoveItem, Clear, ItemData, NewIndex,
// TopIndex, Sorted, Text).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/dispatch_table.h"
#include "core/runtime_error.h"
#include "core/variant_convert.h"
#include "ui/control_members.h"

namespace sl::ui {

class ListItems {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  const std::string& At(int i) const;  // RuntimeError 381 out of range
  void Set(int i, std::string text);
  std::int32_t Data(int i) const;
  void SetData(int i, std::int32_t data);
  // Inserts at `index` (or at the sorted place / the end when -1); returns the place taken.
  int Add(std::string text, int index = -1);
  void Remove(int i);
  void Clear();
  // Replaces all entries (no sorting is applied beyond `sorted`).
  void Assign(std::vector<std::string> texts);
  int Find(const std::string& text) const;  // exact match, -1 when none

  int selected = -1;
  int topIndex = 0;
  int newIndex = -1;
  bool sorted = false;

 private:
  struct Entry {
    std::string text;
    std::int32_t data = 0;
  };
  std::vector<Entry> items_;
};

// Case-insensitive order of two UTF-8 texts (ASCII letters folded).
bool LessNoCase(const std::string& a, const std::string& b);

// T provides Items() -> ListItems&, SetListIndex(int) (which runs the Click handler) and
// ListText() -> std::string.
template <class T>
void AddListMembers(DispatchTable<T>& t) {
  t.IndexedProperty(
      "List", 1, 1,
      [](T& c, std::span<Variant> i) -> Variant {
        int n = ToInteger(i[0]);
        if (n < 0 || n >= c.Items().Count()) return Str("");  // reading past the end gives ""
        return Str(c.Items().At(n));
      },
      [](T& c, std::span<Variant> i, const Variant& v) {
        c.Items().Set(ToInteger(i[0]), ToUtf8(v));
        c.Invalidate();
      });
  t.Property("ListCount", [](T& c) { return Int(c.Items().Count()); });
  t.Property(
      "ListIndex", [](T& c) { return Int(c.Items().selected); },
      [](T& c, const Variant& v) { c.SetListIndex(ToInteger(v)); });
  t.IndexedProperty(
      "ItemData", 1, 1,
      [](T& c, std::span<Variant> i) { return Long(c.Items().Data(ToInteger(i[0]))); },
      [](T& c, std::span<Variant> i, const Variant& v) {
        c.Items().SetData(ToInteger(i[0]), ToLong(v));
      });
  t.Property("NewIndex", [](T& c) { return Int(c.Items().newIndex); });
  t.Property(
      "TopIndex", [](T& c) { return Int(c.Items().topIndex); },
      [](T& c, const Variant& v) {
        int n = ToInteger(v);
        if (n < 0 || (n >= c.Items().Count() && n != 0))
          throw RuntimeError(kErrInvalidPropertyValue);
        c.Items().topIndex = n;
        c.Invalidate();
      });
  t.Property("Sorted", [](T& c) { return Bool(c.Items().sorted); });
  t.Function("AddItem", 1, 2, [](T& c, std::span<Variant> a) {
    int at = Arg(a, 1) ? ToInteger(a[1]) : -1;
    if (Arg(a, 1) && (at < 0 || at > c.Items().Count())) throw RuntimeError(kErrInvalidCall);
    c.Items().Add(ToUtf8(a[0]), at);
    c.Invalidate();
    return Variant();
  });
  t.Function("RemoveItem", 1, 1, [](T& c, std::span<Variant> a) {
    int n = ToInteger(a[0]);
    if (n < 0 || n >= c.Items().Count()) throw RuntimeError(kErrInvalidCall);
    c.Items().Remove(n);
    c.Invalidate();
    return Variant();
  });
  t.Function("Clear", 0, 0, [](T& c, std::span<Variant>) {
    c.Items().Clear();
    c.Invalidate();
    return Variant();
  });
}

}  // namespace sl::ui

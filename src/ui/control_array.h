// ControlArray: controls sharing one name and told apart by Index. Element 0 exists from the
// start as a hidden template; Load creates further elements as copies of it and Unload removes
// them. Scripts see the array as an object: Area(3), Count, LBound, UBound, Item(3).
#pragma once

#include <map>
#include <string>

#include "core/object.h"
#include "ui/control.h"

namespace sl::ui {

class ControlArray : public Object {
 public:
  ControlArray(Form& form, std::string name) : form_(form), name_(std::move(name)) {}

  const std::string& Name() const { return name_; }
  // The element, or RuntimeError 340 "Control array element 'N' doesn't exist".
  Control& Item(int index) const;
  Control* Find(int index) const;
  bool Exists(int index) const { return elements_.count(index) != 0; }
  int Count() const { return static_cast<int>(elements_.size()); }
  int LBound() const;
  int UBound() const;
  // Elements by index.
  const std::map<int, Ref<Control>>& Elements() const { return elements_; }

  // Creates element `index` as a copy of the lowest element (not visible); RuntimeError 360
  // "Object already loaded" when it exists, 340 for a negative index.
  Control& Load(int index);
  // Removes element `index`: 340 when it does not exist, 362 for element 0 (the template).
  void Unload(int index);

  std::string TypeName() const override { return "Object"; }
  DispId GetIdOfName(std::string_view name) override;
  Variant Invoke(DispId id, std::uint8_t flags, std::span<Variant> args) override;

 private:
  friend class Form;
  void Adopt(int index, Ref<Control> control);

  Form& form_;
  std::string name_;
  std::map<int, Ref<Control>> elements_;
};

}  // namespace sl::ui

// The variable classes and their ordered collections: integer variables (`ClassVariable`),
// variant variables (`ClassVariableVariant`) and string variables (`ClassVariableString`), each
// in a 1-based list that keeps the order of addition and allows several members of one name.
// Members are held by reference, so a variable object handed to a script stays the live one.
//
// API:
//   VariablesCollection v;
//   ClassVariable& x = v.Add("door_open", 0);    // optional key as third argument
//   v.Item(1).Value = 1;  v.Item("key");  v.Count();  v.Remove(1);
//   for (const auto& var : v) ...                 // NewEnum: members in order
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/runtime_error.h"
#include "core/variant.h"

namespace sl {

template <class V>
struct ClassVariableOf {
  std::string Name;
  V Value{};
};

using ClassVariable = ClassVariableOf<std::int16_t>;
using ClassVariableVariant = ClassVariableOf<Variant>;
using ClassVariableString = ClassVariableOf<std::string>;

template <class T>
class VariableCollectionOf {
 public:
  using ValueType = decltype(T{}.Value);
  using Members = std::vector<std::shared_ptr<T>>;

  T& Add(const std::string& Name, ValueType Value, const std::string& sKey = {}) {
    if (!sKey.empty() && FindKey(sKey) != 0) throw RuntimeError(kErrDuplicateKey);
    auto member = std::make_shared<T>();
    member->Name = Name;
    member->Value = std::move(Value);
    members_.push_back(member);
    keys_.push_back(sKey);
    return *member;
  }
  // By 1-based position; RuntimeError 5 for a position out of range.
  T& Item(std::int32_t index) const { return *members_.at(Checked(index)); }
  // By key; RuntimeError 5 for an unknown key.
  T& Item(const std::string& key) const { return Item(FindKeyOrFail(key)); }
  std::int32_t Count() const { return static_cast<std::int32_t>(members_.size()); }
  void Remove(std::int32_t index) {
    std::size_t i = Checked(index);
    members_.erase(members_.begin() + static_cast<std::ptrdiff_t>(i));
    keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(i));
  }
  void Remove(const std::string& key) { Remove(FindKeyOrFail(key)); }
  // Removes every member (at once: removing the first member one by one takes quadratic time).
  void Clear() {
    members_.clear();
    keys_.clear();
  }
  // The shared handle of a member (for objects that must outlive a removal).
  std::shared_ptr<T> Handle(std::int32_t index) const { return members_.at(Checked(index)); }

  auto begin() const { return members_.begin(); }
  auto end() const { return members_.end(); }

 private:
  std::size_t Checked(std::int32_t index) const {
    if (index < 1 || index > Count()) throw RuntimeError(kErrInvalidCall);
    return static_cast<std::size_t>(index - 1);
  }
  std::int32_t FindKey(const std::string& key) const {
    for (std::size_t i = 0; i < keys_.size(); ++i) {
      if (keys_[i] == key) return static_cast<std::int32_t>(i + 1);
    }
    return 0;
  }
  std::int32_t FindKeyOrFail(const std::string& key) const {
    std::int32_t i = FindKey(key);
    if (i == 0) throw RuntimeError(kErrInvalidCall);
    return i;
  }

  Members members_;
  std::vector<std::string> keys_;
};

using VariablesCollection = VariableCollectionOf<ClassVariable>;
using VariantCollection = VariableCollectionOf<ClassVariableVariant>;
using VariablesStrCollection = VariableCollectionOf<ClassVariableString>;

}  // namespace sl

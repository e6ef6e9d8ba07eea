// Control arrays: element lookup, Load and Unload with the classic errors.
#include "ui/control_array.h"

#include "core/runtime_error.h"
#include "core/variant_convert.h"
#include "ui/form.h"

namespace sl::ui {

namespace {
RuntimeError NoElement(int index) {
  return RuntimeError(kErrNoArrayElement,
                      "Control array element '" + std::to_string(index) + "' doesn't exist");
}
}  // namespace

Control* ControlArray::Find(int index) const {
  auto it = elements_.find(index);
  return it == elements_.end() ? nullptr : it->second.get();
}

Control& ControlArray::Item(int index) const {
  Control* c = Find(index);
  if (!c) throw NoElement(index);
  return *c;
}

int ControlArray::LBound() const {
  return elements_.empty() ? 0 : elements_.begin()->first;
}

int ControlArray::UBound() const {
  return elements_.empty() ? -1 : elements_.rbegin()->first;
}

void ControlArray::Adopt(int index, Ref<Control> control) {
  control->index_ = index;
  control->array_ = this;
  elements_[index] = std::move(control);
}

Control& ControlArray::Load(int index) {
  if (index < 0 || index > 32767) throw NoElement(index);
  if (Exists(index)) throw RuntimeError(kErrAlreadyLoaded);
  if (elements_.empty()) throw NoElement(index);
  Control& model = *elements_.begin()->second;
  Ref<Control> c = model.CloneForArray(index);
  c->array_ = this;
  elements_[index] = c;
  form_.AddControl(c, model.Container());
  return *c;
}

void ControlArray::Unload(int index) {
  Control* c = Find(index);
  if (!c) throw NoElement(index);
  if (index == LBound() && elements_.size() == 1) {
    throw RuntimeError(kErrDesignTimeControl, "Can't unload controls created at design time");
  }
  if (index == 0)
    throw RuntimeError(kErrDesignTimeControl, "Can't unload controls created at design time");
  Ref<Control> keep = elements_[index];
  elements_.erase(index);
  form_.RemoveControl(*keep);
}

DispId ControlArray::GetIdOfName(std::string_view name) {
  static constexpr std::string_view kNames[] = {"Item", "Count", "LBound", "UBound"};
  for (int i = 0; i < 4; ++i) {
    if (NamesEqual(kNames[i], name)) return i + 1;
  }
  return kDispIdUnknown;
}

Variant ControlArray::Invoke(DispId id, std::uint8_t flags, std::span<Variant> args) {
  if (id == kDispIdValue) id = 1;
  switch (id) {
    case 1: {
      if (args.empty()) throw RuntimeError(kErrWrongArgCount);
      if (flags & (kInvokeLet | kInvokeSet)) {
        // Area(3) = x assigns the element's default member.
        Control& c = Item(ToInteger(args[0]));
        return c.Invoke(kDispIdValue, flags, args.subspan(1));
      }
      Control& c = Item(ToInteger(args[0]));
      if (args.size() > 1) return c.Invoke(kDispIdValue, kInvokeGet, args.subspan(1));
      return Variant(static_cast<Object*>(&c));
    }
    case 2:
      return Variant(static_cast<std::int16_t>(Count()));
    case 3:
      return Variant(static_cast<std::int16_t>(LBound()));
    case 4:
      return Variant(static_cast<std::int16_t>(UBound()));
    default:
      throw RuntimeError(kErrNoSuchMember);
  }
}

}  // namespace sl::ui

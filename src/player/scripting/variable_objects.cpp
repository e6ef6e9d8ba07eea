// Variable objects: Name and Value (the default member).
#include "player/scripting/variable_objects.h"

#include "core/runtime_error.h"
#include "core/variant_convert.h"

namespace sl {

namespace {

constexpr DispId kName = 1;
constexpr DispId kValue = 2;

}  // namespace

Ref<VariableObject> VariableObject::Of(std::shared_ptr<ClassVariable> variable) {
  Ref<VariableObject> o(new VariableObject());
  o->integer_ = std::move(variable);
  return o;
}

Ref<VariableObject> VariableObject::Of(std::shared_ptr<ClassVariableVariant> variable) {
  Ref<VariableObject> o(new VariableObject());
  o->variant_ = std::move(variable);
  return o;
}

const std::string& VariableObject::Name() const {
  return integer_ ? integer_->Name : variant_->Name;
}

bool VariableObject::Holds(const void* variable) const {
  return integer_ ? integer_.get() == variable : variant_.get() == variable;
}

std::string VariableObject::TypeName() const {
  return integer_ ? "ClassVariable" : "ClassVariableVariant";
}

DispId VariableObject::GetIdOfName(std::string_view name) {
  if (NamesEqual(name, "Name")) return kName;
  if (NamesEqual(name, "Value")) return kValue;
  return kDispIdUnknown;
}

Variant VariableObject::Get() const {
  return integer_ ? Variant(integer_->Value) : variant_->Value;
}

void VariableObject::Let(const Variant& value, bool isSet) {
  if (integer_) {
    if (isSet) throw RuntimeError(kErrTypeMismatch);
    integer_->Value = ToInteger(value);
    return;
  }
  // A Let of an object stores its value; a Set keeps the object itself.
  if (value.IsObject() && !isSet) {
    Object* obj = value.AsObject();
    if (!obj) throw RuntimeError(kErrObjectNotSet);
    variant_->Value = obj->Invoke(kDispIdValue, kInvokeGet | kInvokeCall, {});
    return;
  }
  variant_->Value = value;
}

Variant VariableObject::Invoke(DispId id, std::uint8_t flags, std::span<Variant> args) {
  if (id == kDispIdValue) id = kValue;
  bool assigning = (flags & (kInvokeLet | kInvokeSet)) != 0;
  if (id != kName && id != kValue) throw RuntimeError(kErrNoSuchMember);
  if (args.size() != (assigning ? 1u : 0u)) throw RuntimeError(kErrWrongArgCount);
  if (id == kName) {
    if (assigning) {
      if (flags & kInvokeSet) throw RuntimeError(kErrTypeMismatch);
      std::string name = ToUtf8(args[0]);
      (integer_ ? integer_->Name : variant_->Name) = std::move(name);
      return Variant();
    }
    return Variant(Name());
  }
  if (assigning) {
    Let(args[0], (flags & kInvokeSet) != 0);
    return Variant();
  }
  return Get();
}

}  // namespace sl

// Shared argument helpers of the built-in functions.
#include "vbscript/builtins/arguments.h"

#include "core/object.h"

namespace sl::vbs {

Variant ValueOf(const Variant& v) {
  if (!v.IsObject()) return v;
  Object* obj = v.AsObject();
  if (!obj) throw RuntimeError(kErrObjectNotSet);
  return obj->Invoke(kDispIdValue, kInvokeGet | kInvokeCall, {});
}

std::int32_t LongArg(std::span<Variant> args, std::size_t i, std::int32_t defaultValue) {
  if (!HasArg(args, i)) return defaultValue;
  return ToLong(args[i]);
}

CompareMode CompareArg(std::span<Variant> args, std::size_t i) {
  switch (LongArg(args, i, 0)) {
    case 0:
      return CompareMode::kBinary;
    case 1:
      return CompareMode::kText;
    default:
      InvalidArgument();
  }
}

void CheckTextLength(std::size_t length) {
  if (length > kMaxTextLength) throw RuntimeError(kErrOutOfMemory);
}

Variant MakeArray(std::vector<Variant> items) {
  return Variant(VariantArray::OfItems(std::move(items)));
}

const std::vector<Variant>& ArrayItems(const Variant& v) {
  if (!v.IsArray() || !v.AsArray()) throw RuntimeError(kErrTypeMismatch);
  if (v.AsArray()->Dimensions() != 1) throw RuntimeError(kErrInvalidCall);
  return v.AsArray()->Data();
}

}  // namespace sl::vbs

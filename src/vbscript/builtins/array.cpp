// Array functions: Array, LBound and UBound.
#include "vbscript/builtins/arguments.h"
#include "vbscript/builtins/families.h"

namespace sl::vbs {

namespace {

Variant ArrayOf(BuiltinContext&, std::span<Variant> a) {
  return MakeArray(std::vector<Variant>(a.begin(), a.end()));
}

// The dimension argument counts from 1; error 9 when the array has no such dimension.
const VariantArray& BoundsOf(std::span<Variant> a, int& dim) {
  if (!a[0].IsArray() || !a[0].AsArray()) throw RuntimeError(kErrTypeMismatch);
  const VariantArray& array = *a[0].AsArray();
  dim = LongArg(a, 1, 1) - 1;
  if (dim < 0 || dim >= array.Dimensions()) throw RuntimeError(kErrSubscript);
  return array;
}

Variant LBound(BuiltinContext&, std::span<Variant> a) {
  int dim;
  const VariantArray& array = BoundsOf(a, dim);
  return Variant(array.LowerBound(dim));
}

Variant UBound(BuiltinContext&, std::span<Variant> a) {
  int dim;
  const VariantArray& array = BoundsOf(a, dim);
  return Variant(array.UpperBound(dim));
}

constexpr BuiltinInfo kArray[] = {
    {"Array", ArrayOf, 0, -1},
    {"LBound", LBound, 1, 2},
    {"UBound", UBound, 1, 2},
};

}  // namespace

std::span<const BuiltinInfo> ArrayBuiltins() {
  return kArray;
}

}  // namespace sl::vbs

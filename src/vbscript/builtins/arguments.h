// Helpers the built-in functions share to read their arguments and build their results: optional
// arguments, whole numbers, the compare-mode argument, text limits and arrays.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/runtime_error.h"
#include "core/variant.h"
#include "core/variant_convert.h"
#include "vbscript/builtins/builtin.h"

namespace sl::vbs {

// Longest text a built-in makes; longer results are error 7 "Out of memory".
constexpr std::size_t kMaxTextLength = std::size_t{1} << 26;

inline bool HasArg(std::span<Variant> args, std::size_t i) {
  return i < args.size() &&
         !(args[i].Type() == VarType::Error && args[i].AsError() == kMissingArgument);
}

// An object stands for its default value; anything else for itself.
Variant ValueOf(const Variant& v);

// A whole-number argument (rounded half to even, error 6 when out of range) or the default.
std::int32_t LongArg(std::span<Variant> args, std::size_t i, std::int32_t defaultValue);

// The compare argument: vbBinaryCompare (0) or vbTextCompare (1); anything else is error 5.
enum class CompareMode { kBinary, kText };
CompareMode CompareArg(std::span<Variant> args, std::size_t i);

// Error 7 when a result would be longer than kMaxTextLength.
void CheckTextLength(std::size_t length);

inline Variant TextResult(std::u16string_view text) {
  return Variant(SharedString(text));
}

[[noreturn]] inline void InvalidArgument() {
  throw RuntimeError(kErrInvalidCall);
}

// A one-dimensional array with lower bound 0 holding `items` (no items: UBound is -1).
Variant MakeArray(std::vector<Variant> items);

// The elements of a one-dimensional array argument; error 13 for anything else.
const std::vector<Variant>& ArrayItems(const Variant& v);

}  // namespace sl::vbs

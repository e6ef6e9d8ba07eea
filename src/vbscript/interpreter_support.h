// Small helpers the parts of the interpreter share: storing values, integer fast paths,
// names for messages and the local variables of a call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <string>

#include "core/memory_budget.h"
#include "core/variant.h"
#include "core/variant_convert.h"
#include "vbscript/ast.h"
#include "vbscript/operators.h"

namespace sl::vbs {

inline constexpr int kInlineSlots = 8;
inline constexpr std::size_t kMaxSubscripts = 60;

// Subtypes by the low four bits of their code: String (8), Object (9) and Array (0x200C) are
// the only ones whose low bits are 8, 9 or 12, so one shift tells them from the rest.
constexpr unsigned kReferenceLowBits = (1u << 8) | (1u << 9) | (1u << 12);
constexpr bool IsReferenceType(VarType t) {
  return ((kReferenceLowBits >> (static_cast<unsigned>(t) & 15u)) & 1u) != 0;
}
static_assert(IsReferenceType(VarType::String) && IsReferenceType(VarType::Object) &&
              IsReferenceType(VarType::Array));
static_assert(!IsReferenceType(VarType::Empty) && !IsReferenceType(VarType::Null) &&
              !IsReferenceType(VarType::Integer) && !IsReferenceType(VarType::Long) &&
              !IsReferenceType(VarType::Single) && !IsReferenceType(VarType::Double) &&
              !IsReferenceType(VarType::Currency) && !IsReferenceType(VarType::Date) &&
              !IsReferenceType(VarType::Error) && !IsReferenceType(VarType::Boolean) &&
              !IsReferenceType(VarType::Byte));

// Whether a value holds a string, object or array, which overwriting it releases.
[[gnu::always_inline]] inline bool IsReference(const Variant& v) {
  return IsReferenceType(v.Type());
}

// Whether either of two values holds a string, object or array.
[[gnu::always_inline]] inline bool EitherIsReference(const Variant& a, const Variant& b) {
  return ((kReferenceLowBits >> (static_cast<unsigned>(a.Type()) & 15u)) |
          (kReferenceLowBits >> (static_cast<unsigned>(b.Type()) & 15u))) &
         1u;
}

// Writes a number or Boolean over a value that holds no string, object or array: there is
// nothing to release, so the value is built in place without the checks of an assignment.
template <class T>
[[gnu::always_inline]] inline void Overwrite(Variant& dst, T value) {
  ::new (static_cast<void*>(&dst)) Variant(value);
}

// Whether any of `count` values holds a string, object or array (the test without a branch
// per value: most temporaries hold numbers).
[[gnu::always_inline]] inline bool AnyReference(const Variant* values, std::size_t count) {
  unsigned bits = 0;  // a bit per low four bits of a subtype seen
  for (std::size_t k = 0; k < count; ++k)
    bits |= 1u << (static_cast<unsigned>(values[k].Type()) & 15u);
  return (bits & kReferenceLowBits) != 0;
}

// Stores a value so that the old value is released only after the variable holds the new one
// (releasing an object may run its Class_Terminate, which may read the variable).
[[gnu::always_inline]] inline void Store(Variant& slot, Variant value) {
  if (!slot.IsString() && !slot.IsObject() && !slot.IsArray()) {
    slot = std::move(value);  // nothing to release
    return;
  }
  Variant old(std::move(slot));
  slot = std::move(value);
}

// Whether a host member left a by-reference argument as it was passed (the same value, not merely
// an equal one): only changed arguments are written back to their variables.
bool Untouched(const Variant& now, const Variant& passed);

// The value an assignment stores: Set stores the object itself, Let the object's value (a
// Property Let of a script class receives the object as it is and decides).
inline Variant LetValue(Variant value, bool isSet) {
  if (isSet || !value.IsObject()) return value;
  return Dereference(value);
}

// Arrays are values: before writing into one that another variable shares, copy it. `held`
// references to it are the caller's own (a call keeping the arrays of elements it passes).
inline void MakeUnique(Variant& v, std::int32_t held = 0) {
  if (v.IsArray() && v.AsArray()->RefCount() > 1 + held) v = Variant(v.AsArray()->Clone());
}

inline bool IsIntegral(const Variant& v) {
  VarType t = v.Type();
  return t == VarType::Integer || t == VarType::Long || t == VarType::Byte;
}

inline Variant Counter(std::int64_t value, bool wide) {
  if (!wide && value >= -32768 && value <= 32767) return Variant(static_cast<std::int16_t>(value));
  if (value >= INT32_MIN && value <= INT32_MAX) return Variant(static_cast<std::int32_t>(value));
  return Variant(static_cast<double>(value));
}

// Integer and Long operands of the common operators, computed without the general rules (which
// give the same results): sums and products widen as Counter does, comparisons give Booleans.
// False when the general rules must decide (division by zero, other operators).
inline bool FastIntegerOp(Op op, const Variant& l, const Variant& r, Variant& out) {
  VarType tl = l.Type(), tr = r.Type();
  if (!((tl == VarType::Integer || tl == VarType::Long) &&
        (tr == VarType::Integer || tr == VarType::Long))) {
    return false;
  }
  std::int64_t x = tl == VarType::Integer ? l.AsInteger() : l.AsLong();
  std::int64_t y = tr == VarType::Integer ? r.AsInteger() : r.AsLong();
  bool wide = tl == VarType::Long || tr == VarType::Long;
  switch (op) {
    case Op::Add:
      out = Counter(x + y, wide);
      return true;
    case Op::Sub:
      out = Counter(x - y, wide);
      return true;
    case Op::Mul:
      out = Counter(x * y, wide);
      return true;
    case Op::Mod:
      if (y == 0) return false;
      out = Counter(x % y, wide);
      return true;
    case Op::IntDiv:
      if (y == 0 || (x / y) > INT32_MAX) return false;
      out = Counter(x / y, wide);
      return true;
    case Op::Eq:
      out = Variant(x == y);
      return true;
    case Op::Ne:
      out = Variant(x != y);
      return true;
    case Op::Lt:
      out = Variant(x < y);
      return true;
    case Op::Gt:
      out = Variant(x > y);
      return true;
    case Op::Le:
      out = Variant(x <= y);
      return true;
    case Op::Ge:
      out = Variant(x >= y);
      return true;
    default:
      return false;
  }
}

inline std::string DescribeObject(const Expr* e) {
  if (e && e->kind == ExprKind::Name) return static_cast<const NameExpr*>(e)->name;
  return {};
}

inline std::string MemberName(const MemberExpr* m) {
  std::string object = DescribeObject(m->object);
  return object.empty() ? m->name : object + "." + m->name;
}

enum Intrinsic { kEval = 1, kExecute, kExecuteGlobal, kGetRef };

// The local variables of a call: on the stack when few (only as many as the procedure has are
// made), on the heap otherwise (counted against the memory cap). They go in reverse order, as
// an array's elements would.
struct LocalSlots {
  explicit LocalSlots(std::size_t n) : count(n) {
    if (n > kInlineSlots) {
      MemoryBudget::Take(n * sizeof(Variant));  // large frames count against the memory cap
      heap = std::make_unique<Variant[]>(n);
      data = heap.get();
      return;
    }
    data = reinterpret_cast<Variant*>(raw);
    for (std::size_t i = 0; i < n; ++i)
      new (data + i) Variant();
  }
  ~LocalSlots() {
    if (heap) {
      MemoryBudget::Give(count * sizeof(Variant));
      return;
    }
    for (std::size_t i = count; i-- > 0;)
      data[i].~Variant();
  }
  LocalSlots(const LocalSlots&) = delete;
  LocalSlots& operator=(const LocalSlots&) = delete;

  alignas(Variant) unsigned char raw[kInlineSlots * sizeof(Variant)];
  std::unique_ptr<Variant[]> heap;
  Variant* data = nullptr;
  std::size_t count;
};

// A bound or step of For as a number: text is read as a Double, Empty is 0, a Boolean is the
// Integer it stands for.
inline Variant ForNumber(const Variant& v) {
  switch (v.Type()) {
    case VarType::Empty:
      return Variant(static_cast<std::int16_t>(0));
    case VarType::Boolean:
      return Variant(static_cast<std::int16_t>(v.AsBool() ? -1 : 0));
    case VarType::String:
      return Variant(ToDouble(v));
    default:
      return v;
  }
}

// An array subscript: the value rounded to a whole number.
inline std::int32_t SubscriptValue(const Variant& v) {
  switch (v.Type()) {
    case VarType::Integer:
      return v.AsInteger();
    case VarType::Long:
      return v.AsLong();
    case VarType::Object:
      return ToLong(Dereference(v));
    default:
      return ToLong(v);
  }
}

}  // namespace sl::vbs

// Inspection functions: TypeName, VarType, IsArray, IsDate, IsEmpty, IsNull, IsNumeric and
// IsObject.
#include "core/object.h"
#include "vbscript/builtins/arguments.h"
#include "vbscript/builtins/families.h"

namespace sl::vbs {

namespace {

const char* SubtypeName(VarType type) {
  switch (type) {
    case VarType::Empty:
      return "Empty";
    case VarType::Null:
      return "Null";
    case VarType::Integer:
      return "Integer";
    case VarType::Long:
      return "Long";
    case VarType::Single:
      return "Single";
    case VarType::Double:
      return "Double";
    case VarType::Currency:
      return "Currency";
    case VarType::Date:
      return "Date";
    case VarType::String:
      return "String";
    case VarType::Error:
      return "Error";
    case VarType::Boolean:
      return "Boolean";
    case VarType::Byte:
      return "Byte";
    case VarType::Array:
      return "Variant()";
    default:
      return "Unknown";
  }
}

Variant TypeName(BuiltinContext&, std::span<Variant> a) {
  const Variant& v = a[0];
  if (v.IsNothing()) return Variant("Nothing");
  if (v.IsObject()) return Variant(v.AsObject()->TypeName());
  return Variant(SubtypeName(v.Type()));
}

Variant VarTypeOf(BuiltinContext&, std::span<Variant> a) {
  return Variant(static_cast<std::int16_t>(a[0].Type()));
}

Variant IsArray(BuiltinContext&, std::span<Variant> a) {
  return Variant(a[0].IsArray());
}
Variant IsEmpty(BuiltinContext&, std::span<Variant> a) {
  return Variant(a[0].IsEmpty());
}
Variant IsNull(BuiltinContext&, std::span<Variant> a) {
  return Variant(a[0].IsNull());
}
Variant IsObject(BuiltinContext&, std::span<Variant> a) {
  return Variant(a[0].IsObject());
}

// Empty and Booleans count as numbers, dates do not; text counts when CDbl would accept it
// ("&H10", " 12 ", "1,000", "1e3").
bool NumericValue(const Variant& v) {
  switch (v.Type()) {
    case VarType::Empty:
    case VarType::Boolean:
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
      return true;
    case VarType::String: {
      double d;
      return ParseNumber(v.AsString().View(), d);
    }
    default:
      return false;
  }
}

Variant IsNumeric(BuiltinContext&, std::span<Variant> a) {
  if (a[0].IsObject() && a[0].AsObject()) {
    try {
      return Variant(NumericValue(ValueOf(a[0])));
    } catch (const RuntimeError&) {
      return Variant(false);
    }
  }
  return Variant(NumericValue(a[0]));
}

Variant IsDate(BuiltinContext& context, std::span<Variant> a) {
  if (a[0].Type() == VarType::Date) return Variant(true);
  if (!a[0].IsString()) return Variant(false);
  double d;
  return Variant(ParseDate(a[0].AsString().View(), d, context.GetClock().Now().year));
}

constexpr BuiltinInfo kInspection[] = {
    {"IsArray", IsArray, 1, 1},   {"IsDate", IsDate, 1, 1},       {"IsEmpty", IsEmpty, 1, 1},
    {"IsNull", IsNull, 1, 1},     {"IsNumeric", IsNumeric, 1, 1}, {"IsObject", IsObject, 1, 1},
    {"TypeName", TypeName, 1, 1}, {"VarType", VarTypeOf, 1, 1},
};

}  // namespace

std::span<const BuiltinInfo> InspectionBuiltins() {
  return kInspection;
}

}  // namespace sl::vbs

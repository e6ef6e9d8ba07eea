// Math functions: Abs, Atn, Cos, Exp, Log, Rnd, Round, Sgn, Sin, Sqr, Tan.
#include <cmath>
#include <limits>

#include "vbscript/builtins/arguments.h"
#include "vbscript/builtins/families.h"
#include "vbscript/builtins/random.h"

namespace sl::vbs {

namespace {

// Abs keeps the subtype, widening where the magnitude no longer fits (Abs of the smallest
// Integer is a Long); Null passes through.
Variant Abs(BuiltinContext&, std::span<Variant> a) {
  Variant v = ValueOf(a[0]);
  switch (v.Type()) {
    case VarType::Null:
    case VarType::Byte:
      return v;
    case VarType::Empty:
      return Variant(std::int16_t{0});
    case VarType::Boolean:
      return Variant(static_cast<std::int16_t>(v.AsBool() ? 1 : 0));
    case VarType::Integer:
      if (v.AsInteger() == std::numeric_limits<std::int16_t>::min()) return Variant(32768);
      return Variant(static_cast<std::int16_t>(std::abs(v.AsInteger())));
    case VarType::Long:
      if (v.AsLong() == std::numeric_limits<std::int32_t>::min()) return Variant(2147483648.0);
      return Variant(static_cast<std::int32_t>(std::abs(v.AsLong())));
    case VarType::Single:
      return Variant(std::fabs(v.AsSingle()));
    case VarType::Currency:
      if (v.AsCurrencyScaled() == std::numeric_limits<std::int64_t>::min())
        throw RuntimeError(kErrOverflow);
      return Variant::Currency(std::abs(v.AsCurrencyScaled()));
    case VarType::Date:
      return Variant::Date(std::fabs(v.AsDate()));
    default:
      return Variant(std::fabs(ToDouble(v)));
  }
}

Variant Checked(double result) {
  if (std::isnan(result)) InvalidArgument();
  if (std::isinf(result)) throw RuntimeError(kErrOverflow);
  return Variant(result);
}

Variant Atn(BuiltinContext&, std::span<Variant> a) {
  return Variant(std::atan(ToDouble(a[0])));
}
Variant Cos(BuiltinContext&, std::span<Variant> a) {
  return Checked(std::cos(ToDouble(a[0])));
}
Variant Sin(BuiltinContext&, std::span<Variant> a) {
  return Checked(std::sin(ToDouble(a[0])));
}
Variant Tan(BuiltinContext&, std::span<Variant> a) {
  return Checked(std::tan(ToDouble(a[0])));
}
Variant Exp(BuiltinContext&, std::span<Variant> a) {
  return Checked(std::exp(ToDouble(a[0])));
}

Variant Log(BuiltinContext&, std::span<Variant> a) {
  double d = ToDouble(a[0]);
  if (!(d > 0)) InvalidArgument();
  return Variant(std::log(d));
}

Variant Sqr(BuiltinContext&, std::span<Variant> a) {
  double d = ToDouble(a[0]);
  if (d < 0) InvalidArgument();
  return Variant(std::sqrt(d));
}

Variant Sgn(BuiltinContext&, std::span<Variant> a) {
  double d = ToDouble(a[0]);
  return Variant(static_cast<std::int16_t>(d > 0 ? 1 : d < 0 ? -1 : 0));
}

// Rounds half to even at the given number of decimals ("banker's rounding": Round(2.5) is 2,
// Round(3.5) is 4). The value is scaled in binary, so 2.675 (stored as 2.67499...) gives 2.67.
double RoundDecimals(double x, int decimals) {
  if (decimals == 0) return std::nearbyint(x);
  if (decimals > 22) return x;
  double scale = std::pow(10.0, decimals);
  double scaled = x * scale;
  if (!std::isfinite(scaled)) return x;
  return std::nearbyint(scaled) / scale;
}

Variant Round(BuiltinContext&, std::span<Variant> a) {
  Variant v = ValueOf(a[0]);
  if (v.IsNull()) return v;
  std::int32_t decimals = LongArg(a, 1, 0);
  if (decimals < 0) InvalidArgument();
  switch (v.Type()) {
    case VarType::Empty:
      return Variant(std::int16_t{0});
    case VarType::Boolean:  // whole numbers already, kept as they are
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
      return v;
    case VarType::Single:
      return Variant(static_cast<float>(RoundDecimals(v.AsSingle(), decimals)));
    case VarType::Currency: {
      if (decimals >= 4) return v;
      std::int64_t unit = decimals == 0 ? 10000 : decimals == 1 ? 1000 : decimals == 2 ? 100 : 10;
      std::int64_t s = v.AsCurrencyScaled();
      std::int64_t q = s / unit;
      std::int64_t r = s % unit;
      std::int64_t twice = 2 * (r < 0 ? -r : r);
      if (twice > unit || (twice == unit && q % 2 != 0)) q += s < 0 ? -1 : 1;
      return Variant::Currency(q * unit);
    }
    default:
      return Variant(RoundDecimals(ToDouble(v), decimals));
  }
}

constexpr BuiltinInfo kMath[] = {
    {"Abs", Abs, 1, 1}, {"Atn", Atn, 1, 1},
    {"Cos", Cos, 1, 1}, {"Exp", Exp, 1, 1},
    {"Log", Log, 1, 1}, {"Randomize", RandomizeBuiltin, 0, 1, BuiltinUse::kStatementOnly},
    {"Rnd", Rnd, 0, 1}, {"Round", Round, 1, 2},
    {"Sgn", Sgn, 1, 1}, {"Sin", Sin, 1, 1},
    {"Sqr", Sqr, 1, 1}, {"Tan", Tan, 1, 1},
};

}  // namespace

std::span<const BuiltinInfo> MathBuiltins() {
  return kMath;
}

}  // namespace sl::vbs

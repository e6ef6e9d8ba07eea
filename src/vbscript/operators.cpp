#include "vbscript/operators.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "core/object.h"
#include "core/variant_convert.h"
#include "vbscript/errors.h"

namespace sl::vbs {

namespace {

// Numeric ranks of the arithmetic result types.
enum Rank : int {
  kByte = 1,
  kInteger = 2,
  kLong = 3,
  kSingle = 4,
  kDouble = 5,
  kCurrency = 6,
  kDate = 7
};

// The value of an object: its default member, followed while that is an object too.
Variant Deref(const Variant& v) {
  Variant value = v;
  for (int hops = 0; value.IsObject(); ++hops) {
    Object* obj = value.AsObject();
    if (!obj) throw MakeError(kErrObjectNotSet);
    if (hops == 8) throw MakeError(kErrTypeMismatch);
    Ref<Object> keep(obj);
    value = obj->Invoke(kDispIdValue, kInvokeGet | kInvokeCall, {});
  }
  return value;
}

// An operand ready for arithmetic: its rank and value (strings become Double).
struct Num {
  int rank;
  std::int64_t i = 0;  // integer ranks and Currency (scaled)
  double d = 0;        // Single, Double, Date
};

Num ToNum(const Variant& v) {
  switch (v.Type()) {
    case VarType::Empty:
      return {kInteger, 0, 0};
    case VarType::Boolean:
      return {kInteger, v.AsBool() ? -1 : 0, 0};
    case VarType::Byte:
      return {kByte, v.AsByte(), 0};
    case VarType::Integer:
      return {kInteger, v.AsInteger(), 0};
    case VarType::Long:
      return {kLong, v.AsLong(), 0};
    case VarType::Single:
      return {kSingle, 0, v.AsSingle()};
    case VarType::Double:
      return {kDouble, 0, v.AsDouble()};
    case VarType::Currency:
      return {kCurrency, v.AsCurrencyScaled(), 0};
    case VarType::Date:
      return {kDate, 0, v.AsDate()};
    case VarType::String: {
      double d;
      if (!ParseNumber(v.AsString().View(), d)) throw MakeError(kErrTypeMismatch);
      return {kDouble, 0, d};
    }
    case VarType::Object:
      return ToNum(Deref(v));
    default:
      throw MakeError(kErrTypeMismatch);
  }
}

double AsDouble(const Num& n) {
  if (n.rank <= kLong) return static_cast<double>(n.i);
  if (n.rank == kCurrency) return static_cast<double>(n.i) / 10000.0;
  return n.d;
}

std::int64_t AsCurrency(const Num& n) {
  if (n.rank <= kLong) return n.i * 10000;
  if (n.rank == kCurrency) return n.i;
  double r = std::nearbyint(n.d * 10000.0);
  if (!(std::fabs(r) < 9.2e18)) throw MakeError(kErrOverflow);
  return static_cast<std::int64_t>(r);
}

// An integer result in the smallest type at or above `rank` that holds it.
Variant FitInteger(std::int64_t r, int rank) {
  if (rank == kByte && r >= 0 && r <= 255) return Variant(static_cast<std::uint8_t>(r));
  if (rank <= kInteger && r >= -32768 && r <= 32767) return Variant(static_cast<std::int16_t>(r));
  if (r >= std::numeric_limits<std::int32_t>::min() &&
      r <= std::numeric_limits<std::int32_t>::max()) {
    return Variant(static_cast<std::int32_t>(r));
  }
  return Variant(static_cast<double>(r));
}

Variant FloatResult(double r, int rank) {
  if (rank == kSingle) {
    if (std::fabs(r) <= std::numeric_limits<float>::max() || !std::isfinite(r)) {
      return Variant(static_cast<float>(r));
    }
    return Variant(r);
  }
  return Variant(r);
}

Variant AddSubMul(Op op, const Num& a, const Num& b) {
  if (a.rank == kDate || b.rank == kDate) {
    double x = AsDouble(a), y = AsDouble(b);
    if (op == Op::Add) return Variant::Date(x + y);
    if (op == Op::Sub) {
      if (a.rank == kDate && b.rank == kDate) return Variant(x - y);
      return Variant::Date(x - y);
    }
    return Variant(x * y);
  }
  if (a.rank == kCurrency || b.rank == kCurrency) {
    // Currency outranks Single and Double when adding and subtracting, not when multiplying.
    int other = a.rank == kCurrency ? b.rank : a.rank;
    if (op == Op::Mul && (other == kSingle || other == kDouble)) {
      double x = AsDouble(a), y = AsDouble(b);
      return Variant(op == Op::Add ? x + y : op == Op::Sub ? x - y : x * y);
    }
    std::int64_t x = AsCurrency(a), y = AsCurrency(b), r;
    bool overflow;
    if (op == Op::Add) {
      overflow = __builtin_add_overflow(x, y, &r);
    } else if (op == Op::Sub) {
      overflow = __builtin_sub_overflow(x, y, &r);
    } else {
      double p = static_cast<double>(x) * static_cast<double>(y) / 10000.0;
      overflow = !(std::fabs(p) < 9.2e18);
      r = overflow ? 0 : static_cast<std::int64_t>(std::nearbyint(p));
    }
    if (overflow) throw MakeError(kErrOverflow);
    return Variant::Currency(r);
  }
  int rank = a.rank > b.rank ? a.rank : b.rank;
  if (rank <= kLong) {
    std::int64_t r = op == Op::Add ? a.i + b.i : op == Op::Sub ? a.i - b.i : a.i * b.i;
    return FitInteger(r, rank);
  }
  // Single with Long gives Double, as the classic rules say.
  if (rank == kSingle && (a.rank == kLong || b.rank == kLong)) rank = kDouble;
  double x = AsDouble(a), y = AsDouble(b);
  return FloatResult(op == Op::Add ? x + y : op == Op::Sub ? x - y : x * y, rank);
}

// Operand of \ and Mod: rounded to an integer; rank Byte, Integer or Long.
Num ToIntegral(const Variant& v) {
  Num n = ToNum(v);
  if (n.rank <= kLong) return n;
  return {kLong, RoundToLong(AsDouble(n)), 0};
}

SharedString Concat(const Variant& a, const Variant& b) {
  SharedString left = a.IsNull() ? SharedString() : ToString(a.IsObject() ? Deref(a) : a);
  SharedString right = b.IsNull() ? SharedString() : ToString(b.IsObject() ? Deref(b) : b);
  if (left.empty()) return right;
  if (right.empty()) return left;
  CheckStringLength(left.size() + right.size());
  SharedString out = SharedString::Uninitialized(left.size() + right.size());
  char16_t* p = out.MutableData();
  std::u16string_view l = left.View(), r = right.View();
  std::copy(l.begin(), l.end(), p);
  std::copy(r.begin(), r.end(), p + l.size());
  return out;
}

int CompareStrings(std::u16string_view a, std::u16string_view b) {
  int c = a.compare(b);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

int CompareNumbers(double a, double b) {
  return a < b ? -1 : a > b ? 1 : 0;
}

// A number against a text, -1, 0 or 1 from the number's side. A Boolean compares as its
// name ("True" = True); so do a Byte and a Currency as their text. Against a number written
// as a literal the text must be a number (error 13 otherwise); a number from anywhere else
// compares as its text with a literal text, and is less than any other text.
int NumberAgainstText(const Variant& number, bool numberLiteral, const Variant& text,
                      bool textLiteral) {
  std::u16string_view t = text.AsString().View();
  VarType type = number.Type();
  if (type == VarType::Boolean) {
    return CompareStrings(number.AsBool() ? u"True" : u"False", t);
  }
  if (type == VarType::Byte || type == VarType::Currency) {
    return CompareStrings(ToString(number).View(), t);
  }
  if (numberLiteral) {
    double d;
    if (!ParseNumber(t, d)) throw MakeError(kErrTypeMismatch);
    return CompareNumbers(ToDouble(number), d);
  }
  if (textLiteral) return CompareStrings(ToString(number).View(), t);
  return -1;
}

// -1, 0, 1; or 2 when either side is Null.
int Order(const Variant& a0, const Variant& b0, bool aLiteral, bool bLiteral) {
  const Variant& a = a0;
  const Variant& b = b0;
  if (a.IsObject()) return Order(Deref(a), b, false, bLiteral);
  if (b.IsObject()) return Order(a, Deref(b), aLiteral, false);
  VarType ta = a.Type(), tb = b.Type();
  if (ta == VarType::Null || tb == VarType::Null) return 2;
  if (ta == VarType::Array || tb == VarType::Array) throw MakeError(kErrTypeMismatch);
  if (ta == VarType::String && tb == VarType::String) {
    return CompareStrings(a.AsString().View(), b.AsString().View());
  }
  if (ta == VarType::Empty && tb == VarType::Empty) return 0;
  if (ta == VarType::Empty) {
    if (tb == VarType::String) return b.AsString().empty() ? 0 : -1;
    return CompareNumbers(0, ToDouble(b));
  }
  if (tb == VarType::Empty) {
    if (ta == VarType::String) return a.AsString().empty() ? 0 : 1;
    return CompareNumbers(ToDouble(a), 0);
  }
  bool na = Variant::IsNumberType(ta), nb = Variant::IsNumberType(tb);
  if (na && nb) {
    // A Single against a Double compares at the precision of the Single: CSng(0.1) = 0.1.
    if ((ta == VarType::Single && tb == VarType::Double) ||
        (ta == VarType::Double && tb == VarType::Single)) {
      float x = ta == VarType::Single ? a.AsSingle() : static_cast<float>(a.AsDouble());
      float y = tb == VarType::Single ? b.AsSingle() : static_cast<float>(b.AsDouble());
      return CompareNumbers(x, y);
    }
    if (ta == VarType::Currency && tb == VarType::Currency) {
      std::int64_t x = a.AsCurrencyScaled(), y = b.AsCurrencyScaled();
      return x < y ? -1 : x > y ? 1 : 0;
    }
    return CompareNumbers(ToDouble(a), ToDouble(b));
  }
  if (na && tb == VarType::String) return NumberAgainstText(a, aLiteral, b, bLiteral);
  if (nb && ta == VarType::String) return -NumberAgainstText(b, bLiteral, a, aLiteral);
  throw MakeError(kErrTypeMismatch);
}

// A logic operand: Boolean, an integer of rank Byte/Integer/Long, or Null.
struct Bits {
  bool isNull = false;
  bool isBool = false;
  int rank = kInteger;
  std::int32_t v = 0;
};

Bits ToBits(const Variant& v) {
  Bits b;
  switch (v.Type()) {
    case VarType::Null:
      b.isNull = true;
      return b;
    case VarType::Empty:  // a Long 0 here, unlike arithmetic where it is an Integer
      b.rank = kLong;
      return b;
    case VarType::Boolean:
      b.isBool = true;
      b.v = v.AsBool() ? -1 : 0;
      return b;
    case VarType::Byte:
      b.rank = kByte;
      b.v = v.AsByte();
      return b;
    case VarType::Integer:
      b.v = v.AsInteger();
      return b;
    case VarType::Long:
      b.rank = kLong;
      b.v = v.AsLong();
      return b;
    case VarType::String: {
      double d;
      if (ParseNumber(v.AsString().View(), d)) {
        b.rank = kLong;
        b.v = RoundToLong(d);
        return b;
      }
      b.isBool = true;
      b.v = ToBoolean(v) ? -1 : 0;
      return b;
    }
    case VarType::Object:
      return ToBits(Deref(v));
    case VarType::Array:
      throw MakeError(kErrTypeMismatch);
    default:
      b.rank = kLong;
      b.v = RoundToLong(ToDouble(v));
      return b;
  }
}

Variant MakeBits(std::int32_t r, const Bits& a, const Bits& b) {
  if ((a.isBool || a.isNull) && (b.isBool || b.isNull)) return Variant(r != 0);
  int rank = kByte;
  for (const Bits* x : {&a, &b}) {
    if (x->isNull) continue;
    int xr = x->isBool ? kInteger : x->rank;
    if (xr > rank) rank = xr;
  }
  if (rank == kByte) return Variant(static_cast<std::uint8_t>(r));
  if (rank == kInteger) return Variant(static_cast<std::int16_t>(r));
  return Variant(r);
}

}  // namespace

void CheckStringLength(std::size_t length) {
  if (length > kMaxStringLength) throw MakeError(kErrOutOfMemory);
}

Variant Arith(Op op, const Variant& a, const Variant& b) {
  // Fast paths for the common numeric cases.
  VarType ta = a.Type(), tb = b.Type();
  if ((ta == VarType::Integer || ta == VarType::Long) &&
      (tb == VarType::Integer || tb == VarType::Long) &&
      (ta != tb || op == Op::Mod || op == Op::IntDiv)) {
    std::int64_t x = ta == VarType::Integer ? a.AsInteger() : a.AsLong();
    std::int64_t y = tb == VarType::Integer ? b.AsInteger() : b.AsLong();
    int rank = ta == VarType::Long || tb == VarType::Long ? kLong : kInteger;
    switch (op) {
      case Op::Add:
        return FitInteger(x + y, rank);
      case Op::Sub:
        return FitInteger(x - y, rank);
      case Op::Mul:
        return FitInteger(x * y, rank);
      case Op::Mod:
      case Op::IntDiv: {
        if (y == 0) throw MakeError(kErrDivisionByZero);
        std::int64_t r = op == Op::Mod ? x % y : x / y;
        if (r > 2147483647) throw MakeError(kErrOverflow);
        return FitInteger(r, rank);
      }
      default:
        break;
    }
  }
  if (a.Type() == b.Type()) {
    if (a.Type() == VarType::Integer && (op == Op::Add || op == Op::Sub || op == Op::Mul)) {
      std::int32_t x = a.AsInteger(), y = b.AsInteger();
      std::int32_t r = op == Op::Add ? x + y : op == Op::Sub ? x - y : x * y;
      if (r >= -32768 && r <= 32767) return Variant(static_cast<std::int16_t>(r));
      return Variant(r);
    }
    if (a.Type() == VarType::Long && (op == Op::Add || op == Op::Sub || op == Op::Mul)) {
      std::int64_t x = a.AsLong(), y = b.AsLong();
      std::int64_t r = op == Op::Add ? x + y : op == Op::Sub ? x - y : x * y;
      return FitInteger(r, kLong);
    }
    if (a.Type() == VarType::Double && (op == Op::Add || op == Op::Sub || op == Op::Mul)) {
      double x = a.AsDouble(), y = b.AsDouble();
      return Variant(op == Op::Add ? x + y : op == Op::Sub ? x - y : x * y);
    }
  }
  if (op == Op::Concat) {
    if (a.IsNull() && b.IsNull()) return Variant::Null();
    return Variant(Concat(a, b));
  }
  if (a.IsNull() || b.IsNull()) {
    if (a.IsObject() || b.IsObject()) {
      // An object operand is still evaluated for its value.
      Dereference(a.IsObject() ? a : b);
    }
    return Variant::Null();
  }
  switch (op) {
    case Op::Add:
      if (a.IsObject() || b.IsObject()) return Arith(op, Dereference(a), Dereference(b));
      if (a.IsString() && b.IsString()) return Variant(Concat(a, b));
      // Empty + string joins the string too.
      if ((a.IsString() && b.IsEmpty()) || (a.IsEmpty() && b.IsString())) {
        return Variant(Concat(a, b));
      }
      return AddSubMul(op, ToNum(a), ToNum(b));
    case Op::Sub:
    case Op::Mul:
      return AddSubMul(op, ToNum(a), ToNum(b));
    case Op::Div: {
      double x = AsDouble(ToNum(a)), y = AsDouble(ToNum(b));
      if (y == 0) throw MakeError(x == 0 ? kErrOverflow : kErrDivisionByZero);
      return Variant(x / y);
    }
    case Op::IntDiv:
    case Op::Mod: {
      Num x = ToIntegral(a), y = ToIntegral(b);
      if (y.i == 0) throw MakeError(kErrDivisionByZero);
      int rank = x.rank > y.rank ? x.rank : y.rank;
      std::int64_t r = op == Op::IntDiv ? x.i / y.i : x.i % y.i;
      if (rank == kLong && (r > 2147483647 || r < -2147483648LL)) throw MakeError(kErrOverflow);
      return FitInteger(r, rank);
    }
    case Op::Pow: {
      double x = AsDouble(ToNum(a)), y = AsDouble(ToNum(b));
      if (x < 0 && y != std::floor(y)) throw MakeError(kErrInvalidCall);
      if (x == 0 && y < 0) throw MakeError(kErrInvalidCall);
      double r = std::pow(x, y);
      if (std::isinf(r)) throw MakeError(kErrOverflow);
      return Variant(r);
    }
    default:
      throw MakeError(kErrSyntax);
  }
}

Variant Compare(Op op, const Variant& a, const Variant& b, bool aLiteral, bool bLiteral) {
  int c;
  VarType ta = a.Type(), tb = b.Type();
  if ((ta == VarType::Integer || ta == VarType::Long) &&
      (tb == VarType::Integer || tb == VarType::Long)) {
    std::int32_t x = ta == VarType::Integer ? a.AsInteger() : a.AsLong();
    std::int32_t y = tb == VarType::Integer ? b.AsInteger() : b.AsLong();
    c = x < y ? -1 : x > y ? 1 : 0;
  } else if (ta == VarType::Double && tb == VarType::Double) {
    c = CompareNumbers(a.AsDouble(), b.AsDouble());
  } else {
    c = Order(a, b, aLiteral, bLiteral);
    if (c == 2) return Variant::Null();
  }
  switch (op) {
    case Op::Eq:
      return Variant(c == 0);
    case Op::Ne:
      return Variant(c != 0);
    case Op::Lt:
      return Variant(c < 0);
    case Op::Gt:
      return Variant(c > 0);
    case Op::Le:
      return Variant(c <= 0);
    case Op::Ge:
      return Variant(c >= 0);
    default:
      throw MakeError(kErrSyntax);
  }
}

Variant Logic(Op op, const Variant& a, const Variant& b) {
  if (a.Type() == VarType::Boolean && b.Type() == VarType::Boolean) {
    bool x = a.AsBool(), y = b.AsBool();
    switch (op) {
      case Op::And:
        return Variant(x && y);
      case Op::Or:
        return Variant(x || y);
      case Op::Xor:
        return Variant(x != y);
      case Op::Eqv:
        return Variant(x == y);
      case Op::Imp:
        return Variant(!x || y);
      default:
        break;
    }
  }
  Bits x = ToBits(a), y = ToBits(b);
  // A Byte implies Null as its complement, keeping the Byte width.
  if (op == Op::Imp && y.isNull && !x.isNull && !x.isBool && x.rank == kByte) {
    return Variant(static_cast<std::uint8_t>(~x.v));
  }
  if (x.isNull || y.isNull) {
    const Bits& other = x.isNull ? y : x;
    bool otherFirst = y.isNull;  // the non-Null operand is on the left
    switch (op) {
      case Op::And:
        if (!other.isNull && other.v == 0) return MakeBits(0, x, y);
        return Variant::Null();
      case Op::Or:
        if (!other.isNull && other.v == -1) return MakeBits(-1, x, y);
        return Variant::Null();
      case Op::Imp:
        if (otherFirst && !other.isNull && other.v == 0) return MakeBits(-1, x, y);
        if (!otherFirst && !other.isNull && other.v == -1) return MakeBits(-1, x, y);
        return Variant::Null();
      default:
        return Variant::Null();
    }
  }
  std::int32_t r;
  switch (op) {
    case Op::And:
      r = x.v & y.v;
      break;
    case Op::Or:
      r = x.v | y.v;
      break;
    case Op::Xor:
      r = x.v ^ y.v;
      break;
    case Op::Eqv:
      r = ~(x.v ^ y.v);
      break;
    case Op::Imp:
      r = ~x.v | y.v;
      break;
    default:
      throw MakeError(kErrSyntax);
  }
  return MakeBits(r, x, y);
}

Variant Negate(const Variant& a) {
  switch (a.Type()) {
    case VarType::Null:
      return Variant::Null();
    case VarType::Empty:
      return Variant(static_cast<std::int16_t>(0));
    case VarType::Boolean:
      return Variant(static_cast<std::int16_t>(a.AsBool() ? 1 : 0));
    case VarType::Byte:
      return Variant(static_cast<std::int16_t>(-a.AsByte()));
    case VarType::Integer:
      if (a.AsInteger() == -32768) return Variant(static_cast<std::int32_t>(32768));
      return Variant(static_cast<std::int16_t>(-a.AsInteger()));
    case VarType::Long:
      if (a.AsLong() == std::numeric_limits<std::int32_t>::min()) return Variant(2147483648.0);
      return Variant(-a.AsLong());
    case VarType::Single:
      return Variant(-a.AsSingle());
    case VarType::Double:
      return Variant(-a.AsDouble());
    case VarType::Currency:
      return Variant::Currency(-a.AsCurrencyScaled());
    case VarType::Date:
      return Variant::Date(-a.AsDate());
    case VarType::String:
      return Variant(-ToDouble(a));
    case VarType::Object:
      return Negate(Deref(a));
    default:
      throw MakeError(kErrTypeMismatch);
  }
}

Variant Not(const Variant& a) {
  switch (a.Type()) {
    case VarType::Boolean:
      return Variant(!a.AsBool());
    case VarType::Null:
      return Variant::Null();
    case VarType::Empty:
      return Variant(static_cast<std::int32_t>(-1));
    case VarType::Byte:
      return Variant(static_cast<std::uint8_t>(~a.AsByte()));
    case VarType::Integer:
      return Variant(static_cast<std::int16_t>(~a.AsInteger()));
    case VarType::Object:
      return Not(Deref(a));
    default: {
      Bits b = ToBits(a);
      if (b.isBool) return Variant(b.v == 0);
      return Variant(static_cast<std::int32_t>(~b.v));
    }
  }
}

bool SameObject(const Variant& a, const Variant& b) {
  if (!a.IsObject() || !b.IsObject()) throw MakeError(kErrObjectRequired);
  return a.AsObject() == b.AsObject();
}

bool IsTrue(const Variant& v) {
  switch (v.Type()) {
    case VarType::Boolean:
      return v.AsBool();
    case VarType::Null:
      return false;
    case VarType::Integer:
      return v.AsInteger() != 0;
    case VarType::Long:
      return v.AsLong() != 0;
    case VarType::Object:
      return IsTrue(Deref(v));
    case VarType::Array:
      throw MakeError(kErrTypeMismatch);
    default:
      return ToBoolean(v);
  }
}

Variant Dereference(const Variant& v) {
  if (!v.IsObject()) return v;
  return Deref(v);
}

bool CaseMatches(Op op, const Variant& subject, const Variant& test, bool testLiteral) {
  Variant r = Compare(op, subject, test, false, testLiteral);
  return r.Type() == VarType::Boolean && r.AsBool();
}

}  // namespace sl::vbs

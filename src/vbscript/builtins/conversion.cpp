// Conversion functions: CBool, CByte, CCur, CDate, CDbl, CInt, CLng, CSng, CStr, Hex, Oct, the
// character code functions (Asc, Chr and their B and W forms), Fix and Int.
#include <cmath>

#include "core/date_time.h"
#include "vbscript/builtins/arguments.h"
#include "vbscript/builtins/families.h"

namespace sl::vbs {

namespace {

// Characters 0x80..0x9F of the Windows Latin-1 code page, which Chr and Asc use for codes that
// Unicode gives to control characters. Zero marks the five codes the page leaves undefined.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t CharFromAnsi(int code) {
  if (code >= 0x80 && code <= 0x9F && kCp1252High[code - 0x80]) return kCp1252High[code - 0x80];
  return static_cast<char16_t>(code);
}

int AnsiFromChar(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
  for (int i = 0; i < 32; ++i) {
    if (kCp1252High[i] == c) return 0x80 + i;
  }
  if (c >= 0x80 && c <= 0x9F) return c;
  return '?';
}

Variant CBool(BuiltinContext&, std::span<Variant> a) {
  return Variant(ToBoolean(a[0]));
}
Variant CByte(BuiltinContext&, std::span<Variant> a) {
  return Variant(ToByte(a[0]));
}
Variant CCur(BuiltinContext&, std::span<Variant> a) {
  return Variant::Currency(ToCurrencyScaled(a[0]));
}
Variant CDbl(BuiltinContext&, std::span<Variant> a) {
  return Variant(ToDouble(a[0]));
}
Variant CInt(BuiltinContext&, std::span<Variant> a) {
  return Variant(ToInteger(a[0]));
}
Variant CLng(BuiltinContext&, std::span<Variant> a) {
  return Variant(ToLong(a[0]));
}
Variant CSng(BuiltinContext&, std::span<Variant> a) {
  return Variant(ToSingle(a[0]));
}
Variant CStr(BuiltinContext&, std::span<Variant> a) {
  return Variant(ToString(a[0]));
}

Variant CDate(BuiltinContext& context, std::span<Variant> a) {
  Variant v = ValueOf(a[0]);
  if (v.IsString()) {
    double d;
    if (ParseDate(v.AsString().View(), d, context.GetClock().Now().year)) return Variant::Date(d);
  }
  return Variant::Date(ToDate(v));
}

// Hex and Oct show an Integer (and a Byte or Boolean) in 16 bits, everything else in 32 bits,
// so Hex(-1) is "FFFF" while Hex(-32769) is "FFFF7FFF".
std::uint32_t RadixBits(const Variant& v) {
  switch (v.Type()) {
    case VarType::Byte:
      return v.AsByte();
    case VarType::Integer:
    case VarType::Boolean:
      return static_cast<std::uint16_t>(v.AsInteger());
    default:
      return static_cast<std::uint32_t>(ToLong(v));
  }
}

Variant Radix(const Variant& arg, unsigned shift) {
  Variant v = ValueOf(arg);
  if (v.IsNull()) return v;
  std::uint32_t bits = RadixBits(v);
  char16_t buf[16];
  std::size_t n = sizeof buf / sizeof buf[0];
  std::uint32_t mask = (1u << shift) - 1;
  do {
    buf[--n] = u"0123456789ABCDEF"[bits & mask];
    bits >>= shift;
  } while (bits);
  return TextResult(std::u16string_view(buf + n, sizeof buf / sizeof buf[0] - n));
}

Variant Hex(BuiltinContext&, std::span<Variant> a) {
  return Radix(a[0], 4);
}
Variant Oct(BuiltinContext&, std::span<Variant> a) {
  return Radix(a[0], 3);
}

char16_t FirstChar(const Variant& v) {
  SharedString s = ToString(v);
  if (s.empty()) InvalidArgument();
  return s.View()[0];
}

Variant Asc(BuiltinContext&, std::span<Variant> a) {
  return Variant(static_cast<std::int16_t>(AnsiFromChar(FirstChar(a[0]))));
}
Variant AscB(BuiltinContext&, std::span<Variant> a) {
  return Variant(static_cast<std::int16_t>(FirstChar(a[0]) & 0xFF));
}
Variant AscW(BuiltinContext&, std::span<Variant> a) {
  return Variant(static_cast<std::int16_t>(FirstChar(a[0])));
}

Variant Chr(BuiltinContext&, std::span<Variant> a) {
  std::int32_t code = ToLong(a[0]);
  if (code < 0 || code > 255) InvalidArgument();
  char16_t c = CharFromAnsi(code);
  return TextResult(std::u16string_view(&c, 1));
}

// Strings hold UTF-16 code units, not bytes, so ChrB gives the character of that code.
Variant ChrB(BuiltinContext&, std::span<Variant> a) {
  std::int32_t code = ToLong(a[0]);
  if (code < 0 || code > 255) InvalidArgument();
  char16_t c = static_cast<char16_t>(code);
  return TextResult(std::u16string_view(&c, 1));
}

Variant ChrW(BuiltinContext&, std::span<Variant> a) {
  std::int32_t code = ToLong(a[0]);
  if (code < -32768 || code > 65535) InvalidArgument();
  char16_t c = static_cast<char16_t>(code & 0xFFFF);
  return TextResult(std::u16string_view(&c, 1));
}

// Int and Fix keep the subtype of their argument (text becomes Double) and pass Null through.
Variant WholePart(const Variant& arg, bool floor) {
  Variant v = ValueOf(arg);
  auto whole = [floor](double d) { return floor ? std::floor(d) : std::trunc(d); };
  switch (v.Type()) {
    case VarType::Null:
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
      return v;
    case VarType::Empty:
      return Variant(std::int16_t{0});
    case VarType::Boolean:
      return Variant(static_cast<std::int16_t>(v.AsBool() ? -1 : 0));
    case VarType::Single:
      return Variant(static_cast<float>(whole(v.AsSingle())));
    case VarType::Currency: {
      std::int64_t s = v.AsCurrencyScaled();
      std::int64_t q = s / 10000;
      if (floor && s % 10000 < 0) --q;
      return Variant::Currency(q * 10000);
    }
    case VarType::Date:
      return Variant::Date(whole(v.AsDate()));
    default:
      return Variant(whole(ToDouble(v)));
  }
}

Variant Int(BuiltinContext&, std::span<Variant> a) {
  return WholePart(a[0], true);
}
Variant Fix(BuiltinContext&, std::span<Variant> a) {
  return WholePart(a[0], false);
}

constexpr BuiltinUse kValue = BuiltinUse::kValueOnly;

constexpr BuiltinInfo kConversion[] = {
    {"Asc", Asc, 1, 1},
    {"AscB", AscB, 1, 1},
    {"AscW", AscW, 1, 1},
    {"CBool", CBool, 1, 1, kValue},
    {"CByte", CByte, 1, 1, kValue},
    {"CCur", CCur, 1, 1, kValue},
    {"CDate", CDate, 1, 1, kValue},
    {"CDbl", CDbl, 1, 1, kValue},
    {"Chr", Chr, 1, 1},
    {"ChrB", ChrB, 1, 1},
    {"ChrW", ChrW, 1, 1},
    {"CInt", CInt, 1, 1, kValue},
    {"CLng", CLng, 1, 1, kValue},
    {"CSng", CSng, 1, 1, kValue},
    {"CStr", CStr, 1, 1, kValue},
    {"Fix", Fix, 1, 1},
    {"Hex", Hex, 1, 1},
    {"Int", Int, 1, 1},
    {"Oct", Oct, 1, 1},
};

}  // namespace

std::span<const BuiltinInfo> ConversionBuiltins() {
  return kConversion;
}

}  // namespace sl::vbs

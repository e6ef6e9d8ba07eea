// String functions: Len, Left, Right, Mid (and their B forms), InStr, InStrRev, LCase, UCase,
// LTrim, RTrim, Trim, Space, String, StrComp, StrReverse, Replace, Split, Join, Filter,
// Escape and Unescape. Positions count from 1; most functions pass Null through.
#include <algorithm>

#include "vbscript/builtins/arguments.h"
#include "vbscript/builtins/families.h"
#include "vbscript/builtins/text.h"

namespace sl::vbs {

namespace {

using View = std::u16string_view;

// A count or position argument: error 94 when Null, error 5 when below `minimum`.
std::size_t CountArg(std::span<Variant> a, std::size_t i, std::int32_t minimum) {
  std::int32_t n = ToLong(a[i]);
  if (n < minimum) InvalidArgument();
  return static_cast<std::size_t>(n);
}

Variant Len(BuiltinContext&, std::span<Variant> a) {
  if (a[0].IsNull()) return a[0];
  return Variant(static_cast<std::int32_t>(ToString(a[0]).size()));
}

// Strings hold UTF-16 code units, two bytes each; the B forms count those bytes.
Variant LenB(BuiltinContext&, std::span<Variant> a) {
  if (a[0].IsNull()) return a[0];
  return Variant(static_cast<std::int32_t>(ToString(a[0]).size() * 2));
}

// The length is checked before a Null text passes through: Left(Null, -1) is error 5.
Variant LeftUnits(std::span<Variant> a, std::size_t divisor) {
  std::size_t n = CountArg(a, 1, 0) / divisor;
  if (a[0].IsNull()) return a[0];
  SharedString s = ToString(a[0]);
  return TextResult(s.View().substr(0, n));
}

Variant RightUnits(std::span<Variant> a, std::size_t divisor) {
  std::size_t n = CountArg(a, 1, 0) / divisor;
  if (a[0].IsNull()) return a[0];
  SharedString s = ToString(a[0]);
  View v = s.View();
  return TextResult(n >= v.size() ? v : v.substr(v.size() - n));
}

// Mid checks a Null start or length first (error 94), then converts them (13), then their
// ranges (5); only then does a Null text pass through.
Variant MidUnits(std::span<Variant> a, std::size_t divisor) {
  bool hasLength = HasArg(a, 2);
  if (a[1].IsNull() || (hasLength && a[2].IsNull())) throw RuntimeError(kErrInvalidNull);
  std::int32_t first = ToLong(a[1]);
  std::int32_t count = hasLength ? ToLong(a[2]) : 0;
  if (first < 1 || count < 0) InvalidArgument();
  if (a[0].IsNull()) return a[0];
  std::size_t start = (static_cast<std::size_t>(first) + divisor - 1) / divisor;
  std::size_t length = hasLength ? static_cast<std::size_t>(count) / divisor : View::npos;
  SharedString s = ToString(a[0]);
  View v = s.View();
  if (start > v.size()) return TextResult(u"");
  return TextResult(v.substr(start - 1, length));
}

Variant Left(BuiltinContext&, std::span<Variant> a) {
  return LeftUnits(a, 1);
}
Variant LeftB(BuiltinContext&, std::span<Variant> a) {
  return LeftUnits(a, 2);
}
Variant Right(BuiltinContext&, std::span<Variant> a) {
  return RightUnits(a, 1);
}
Variant RightB(BuiltinContext&, std::span<Variant> a) {
  return RightUnits(a, 2);
}
Variant Mid(BuiltinContext&, std::span<Variant> a) {
  return MidUnits(a, 1);
}
Variant MidB(BuiltinContext&, std::span<Variant> a) {
  return MidUnits(a, 2);
}

// InStr([start,] string1, string2[, compare]): with three or four arguments the first is the
// start. An empty string1 gives 0, a start beyond string1 gives 0, an empty string2 gives start.
std::int32_t FindFirst(BuiltinContext& context, std::span<Variant> a, bool& isNull) {
  bool hasStart = a.size() >= 3;
  std::size_t start = hasStart ? CountArg(a, 0, 1) : 1;
  std::span<Variant> rest = a.subspan(hasStart ? 1 : 0);
  isNull = rest[0].IsNull() || rest[1].IsNull();
  if (isNull) return 0;
  CompareMode mode = CompareArg(rest, 2);
  SharedString haystack = ToString(rest[0]);
  SharedString needle = ToString(rest[1]);
  if (haystack.empty() || start > haystack.size()) return 0;
  if (needle.empty()) return static_cast<std::int32_t>(start);
  context.Charge(haystack.size() - (start - 1));
  std::size_t pos = FindText(haystack.View(), needle.View(), start - 1, mode);
  return pos == View::npos ? 0 : static_cast<std::int32_t>(pos + 1);
}

Variant InStr(BuiltinContext& context, std::span<Variant> a) {
  bool isNull = false;
  std::int32_t pos = FindFirst(context, a, isNull);
  return isNull ? Variant::Null() : Variant(pos);
}

// InStrB counts bytes: a start byte is rounded to its character, the result is the position
// of the first byte of the character found.
Variant InStrB(BuiltinContext& context, std::span<Variant> a) {
  std::vector<Variant> copy(a.begin(), a.end());
  if (copy.size() >= 3) copy[0] = Variant((ToLong(copy[0]) + 1) / 2);
  bool isNull = false;
  std::int32_t pos = FindFirst(context, copy, isNull);
  if (isNull) return Variant::Null();
  return Variant(pos == 0 ? 0 : pos * 2 - 1);
}

// InStrRev(string1, string2[, start[, compare]]): start -1 (the default) is the end; the match
// must end at or before start; a start beyond string1 gives 0.
// Unlike InStr, InStrRev does not pass Null through: a Null argument is error 94.
Variant InStrRev(BuiltinContext& context, std::span<Variant> a) {
  if (a[0].IsNull() || a[1].IsNull()) throw RuntimeError(kErrInvalidNull);
  std::int32_t start = LongArg(a, 2, -1);
  if (start == 0 || start < -1) InvalidArgument();
  CompareMode mode = CompareArg(a, 3);
  SharedString haystack = ToString(a[0]);
  SharedString needle = ToString(a[1]);
  std::size_t end = start == -1 ? haystack.size() : static_cast<std::size_t>(start);
  if (end > haystack.size()) return Variant(0);
  if (needle.empty()) return Variant(static_cast<std::int32_t>(end));
  context.Charge(end);
  std::size_t pos = FindTextReverse(haystack.View(), needle.View(), end, mode);
  return Variant(pos == View::npos ? 0 : static_cast<std::int32_t>(pos + 1));
}

Variant LCase(BuiltinContext&, std::span<Variant> a) {
  if (a[0].IsNull()) return a[0];
  return TextResult(LowerText(ToString(a[0]).View()));
}

Variant UCase(BuiltinContext&, std::span<Variant> a) {
  if (a[0].IsNull()) return a[0];
  return TextResult(UpperText(ToString(a[0]).View()));
}

// The trim functions remove spaces only, not tabs or line breaks.
Variant TrimSpaces(const Variant& arg, bool left, bool right) {
  if (arg.IsNull()) return arg;
  SharedString s = ToString(arg);
  View v = s.View();
  while (left && !v.empty() && v.front() == u' ')
    v.remove_prefix(1);
  while (right && !v.empty() && v.back() == u' ')
    v.remove_suffix(1);
  return TextResult(v);
}

Variant LTrim(BuiltinContext&, std::span<Variant> a) {
  return TrimSpaces(a[0], true, false);
}
Variant RTrim(BuiltinContext&, std::span<Variant> a) {
  return TrimSpaces(a[0], false, true);
}
Variant Trim(BuiltinContext&, std::span<Variant> a) {
  return TrimSpaces(a[0], true, true);
}

Variant Repeated(std::size_t count, char16_t c) {
  CheckTextLength(count);
  SharedString s = SharedString::Uninitialized(count);
  std::fill_n(s.MutableData(), count, c);
  return Variant(std::move(s));
}

Variant Space(BuiltinContext&, std::span<Variant> a) {
  return Repeated(CountArg(a, 0, 0), u' ');
}

// String(number, character): the character is the first of a text, or a character code taken
// modulo 256.
Variant String(BuiltinContext&, std::span<Variant> a) {
  if (a[0].IsNull() || a[1].IsNull()) return Variant::Null();
  std::size_t count = CountArg(a, 0, 0);
  Variant c = ValueOf(a[1]);
  if (c.IsString()) {
    if (c.AsString().empty()) InvalidArgument();
    return Repeated(count, c.AsString().View()[0]);
  }
  std::int32_t code = ToLong(c);
  if (code < 0) InvalidArgument();
  return Repeated(count, static_cast<char16_t>(code % 256));
}

Variant StrComp(BuiltinContext&, std::span<Variant> a) {
  if (a[0].IsNull() || a[1].IsNull()) return Variant::Null();
  CompareMode mode = CompareArg(a, 2);
  int r = CompareText(ToString(a[0]).View(), ToString(a[1]).View(), mode);
  return Variant(static_cast<std::int16_t>(r));
}

Variant StrReverse(BuiltinContext&, std::span<Variant> a) {
  std::u16string s(ToString(a[0]).View());
  std::reverse(s.begin(), s.end());
  return TextResult(s);
}

// Replace(expression, find, replacewith[, start[, count[, compare]]]): the result starts at
// `start`, the characters before it are dropped.
Variant Replace(BuiltinContext& context, std::span<Variant> a) {
  SharedString expression = ToString(a[0]);
  SharedString find = ToString(a[1]);
  SharedString with = ToString(a[2]);
  std::size_t start = HasArg(a, 3) ? CountArg(a, 3, 1) : 1;
  std::int32_t count = LongArg(a, 4, -1);
  if (count < -1) InvalidArgument();
  CompareMode mode = CompareArg(a, 5);
  if (start > expression.size()) return TextResult(u"");
  View rest = expression.View().substr(start - 1);
  if (find.empty() || count == 0) return TextResult(rest);
  context.Charge(rest.size());
  TextFinder finder(find.View(), mode);
  std::u16string out;
  std::size_t pos = 0;
  for (std::int32_t done = 0; count == -1 || done < count; ++done) {
    std::size_t hit = finder.Find(rest, pos);
    if (hit == View::npos) break;
    out.append(rest.substr(pos, hit - pos));
    out.append(with.View());
    CheckTextLength(out.size());
    context.Charge(with.size());
    pos = hit + find.size();
  }
  out.append(rest.substr(pos));
  CheckTextLength(out.size());
  return TextResult(out);
}

// Split(expression[, delimiter[, count[, compare]]]): an empty expression gives an empty
// array; with a count the last element holds the rest of the text. The parts are counted
// before any is made, so a text of millions of delimiters fails at once (error 7) when the
// array would be too large, without building the parts first.
Variant Split(BuiltinContext& context, std::span<Variant> a) {
  SharedString expression = ToString(a[0]);
  SharedString delimiter = HasArg(a, 1) ? ToString(a[1]) : SharedString(u" ");
  std::int32_t count = LongArg(a, 2, -1);
  if (count < -1) InvalidArgument();
  CompareMode mode = CompareArg(a, 3);
  if (expression.empty() || count == 0) return MakeArray({});
  View text = expression.View();
  std::size_t most = count == -1 ? VariantArray::kMaxElements + 1 : static_cast<std::size_t>(count);
  TextFinder finder(delimiter.View(), mode);
  auto nextHit = [&](std::size_t pos, std::size_t parts) {
    if (delimiter.empty() || parts + 1 > most) return View::npos;
    return finder.Find(text, pos);
  };
  std::size_t parts = 1;
  context.Charge(text.size());
  for (std::size_t hit = nextHit(0, parts); hit != View::npos;
       hit = nextHit(hit + delimiter.size(), parts)) {
    ++parts;
  }
  if (parts > VariantArray::kMaxElements) throw RuntimeError(kErrOutOfMemory);
  auto array = MakeRef<VariantArray>(
      std::vector<VariantArray::Bound>{{0, static_cast<std::int32_t>(parts)}});
  std::vector<Variant>& items = array->Data();
  std::size_t pos = 0;
  for (std::size_t i = 0; i + 1 < parts; ++i) {
    std::size_t hit = finder.Find(text, pos);
    items[i] = Variant(SharedString(text.substr(pos, hit - pos)));
    context.Charge(hit - pos + sizeof(Variant));
    pos = hit + delimiter.size();
  }
  items[parts - 1] = Variant(SharedString(text.substr(pos)));
  return Variant(std::move(array));
}

// Join(list[, delimiter]): a Null list or delimiter is error 94; Null and array elements are
// type mismatches.
Variant Join(BuiltinContext& context, std::span<Variant> a) {
  Variant list = ValueOf(a[0]);
  if (list.IsNull()) throw RuntimeError(kErrInvalidNull);
  if (list.IsArray() && list.AsArray()->Dimensions() != 1) throw RuntimeError(kErrTypeMismatch);
  const std::vector<Variant>& items = ArrayItems(list);
  SharedString delimiter = HasArg(a, 1) ? ToString(a[1]) : SharedString(u" ");
  std::u16string out;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const Variant& item = items[i];
    if (item.IsNull() || item.IsArray()) throw RuntimeError(kErrTypeMismatch);
    if (i) out.append(delimiter.View());
    std::size_t before = out.size();
    out.append(ToString(item).View());
    CheckTextLength(out.size());
    context.Charge(out.size() - before + sizeof(Variant));
  }
  return TextResult(out);
}

// Filter(strings, value[, include[, compare]]): the elements that contain (or, with include
// False, do not contain) the value.
Variant Filter(BuiltinContext& context, std::span<Variant> a) {
  if (a[0].IsNull()) throw RuntimeError(kErrInvalidNull);  // as Join: a Null list is Null misused
  const std::vector<Variant>& items = ArrayItems(a[0]);
  SharedString value = ToString(a[1]);
  bool include = HasArg(a, 2) ? ToBoolean(a[2]) : true;
  CompareMode mode = CompareArg(a, 3);
  TextFinder finder(value.View(), mode);
  std::vector<Variant> kept;
  for (const Variant& item : items) {
    SharedString s = ToString(item);
    context.Charge(s.size() + sizeof(Variant));
    bool contains = finder.Find(s.View(), 0) != View::npos;
    if (contains == include) kept.emplace_back(std::move(s));
  }
  return MakeArray(std::move(kept));
}

bool EscapeKeeps(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
         c == u'@' || c == u'*' || c == u'_' || c == u'+' || c == u'-' || c == u'.' || c == u'/';
}

// Escape writes every other character as %XX, or %uXXXX above 255.
Variant Escape(BuiltinContext&, std::span<Variant> a) {
  if (a[0].IsNull()) return a[0];
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  std::u16string out;
  for (char16_t c : ToString(a[0]).View()) {
    if (EscapeKeeps(c)) {
      out.push_back(c);
    } else if (c < 256) {
      out += {u'%', kHex[c >> 4], kHex[c & 15]};
    } else {
      out += {u'%', u'u', kHex[c >> 12], kHex[(c >> 8) & 15], kHex[(c >> 4) & 15], kHex[c & 15]};
    }
  }
  CheckTextLength(out.size());
  return TextResult(out);
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Reads `digits` hex digits at `pos`; -1 when they are not all there.
int HexAt(View s, std::size_t pos, std::size_t digits) {
  if (pos + digits > s.size()) return -1;
  int value = 0;
  for (std::size_t k = 0; k < digits; ++k) {
    int d = HexDigit(s[pos + k]);
    if (d < 0) return -1;
    value = value * 16 + d;
  }
  return value;
}

// Unescape decodes %XX and %uXXXX and leaves any other % as it is.
Variant Unescape(BuiltinContext&, std::span<Variant> a) {
  if (a[0].IsNull()) return a[0];
  SharedString s = ToString(a[0]);
  View v = s.View();
  std::u16string out;
  for (std::size_t i = 0; i < v.size(); ++i) {
    if (v[i] == u'%') {
      int wide = i + 1 < v.size() && v[i + 1] == u'u' ? HexAt(v, i + 2, 4) : -1;
      if (wide >= 0) {
        out.push_back(static_cast<char16_t>(wide));
        i += 5;
        continue;
      }
      int narrow = HexAt(v, i + 1, 2);
      if (narrow >= 0) {
        out.push_back(static_cast<char16_t>(narrow));
        i += 2;
        continue;
      }
    }
    out.push_back(v[i]);
  }
  return TextResult(out);
}

constexpr BuiltinInfo kString[] = {
    {"Escape", Escape, 1, 1},
    {"Filter", Filter, 2, 4},
    {"InStr", InStr, 2, 4},
    {"InStrB", InStrB, 2, 4},
    {"InStrRev", InStrRev, 2, 4},
    {"Join", Join, 1, 2},
    {"LCase", LCase, 1, 1},
    {"Left", Left, 2, 2},
    {"LeftB", LeftB, 2, 2},
    {"Len", Len, 1, 1},
    {"LenB", LenB, 1, 1},
    {"LTrim", LTrim, 1, 1},
    {"Mid", Mid, 2, 3},
    {"MidB", MidB, 2, 3},
    {"Replace", Replace, 3, 6},
    {"Right", Right, 2, 2},
    {"RightB", RightB, 2, 2},
    {"RTrim", RTrim, 1, 1},
    {"Space", Space, 1, 1},
    {"Split", Split, 1, 4},
    {"StrComp", StrComp, 2, 3},
    {"String", String, 2, 2},
    {"StrReverse", StrReverse, 1, 1},
    {"Trim", Trim, 1, 1},
    {"UCase", UCase, 1, 1},
    {"Unescape", Unescape, 1, 1},
};

}  // namespace

std::span<const BuiltinInfo> StringBuiltins() {
  return kString;
}

}  // namespace sl::vbs

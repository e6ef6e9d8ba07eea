#include "core/variant_convert.h"

#include <array>
#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

#include "core/date_time.h"
#include "core/object.h"
#include "core/runtime_error.h"

namespace sl {

namespace {

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}
bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}
char16_t Lower(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
}

std::u16string_view Trim(std::u16string_view s) {
  while (!s.empty() && IsBlank(s.front()))
    s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back()))
    s.remove_suffix(1);
  return s;
}

bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

// The value of an object is its default member.
Variant DefaultValue(const Variant& v) {
  Object* obj = v.AsObject();
  if (!obj) throw RuntimeError(kErrObjectNotSet);
  return obj->Invoke(kDispIdValue, kInvokeGet | kInvokeCall, {});
}

// &H / &O integers: 16-bit when they fit in 4 hex digits, else 32-bit, as literals are.
bool ParseRadix(std::u16string_view s, double& out) {
  if (s.size() < 3 || s[0] != u'&') return false;
  char16_t kind = Lower(s[1]);
  int base = kind == u'h' ? 16 : kind == u'o' ? 8 : 0;
  if (!base) return false;
  std::uint64_t value = 0;
  std::size_t i = 2;
  for (; i < s.size(); ++i) {
    char16_t c = Lower(s[i]);
    int digit = IsDigit(c) ? c - u'0' : (c >= u'a' && c <= u'f') ? c - u'a' + 10 : 99;
    if (digit >= base) break;
    value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
    if (value > 0xFFFFFFFFull) return false;
  }
  if (i != s.size() || i == 2) return false;
  if (value <= 0xFFFF && ((base == 16 && s.size() - 2 <= 4) || (base == 8 && value <= 0xFFFF))) {
    out = static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
  } else {
    out = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
  }
  return true;
}

const char* const kMonthNames[12] = {"january",   "february", "march",    "april",
                                     "may",       "june",     "july",     "august",
                                     "september", "october",  "november", "december"};

int MonthFromName(std::u16string_view word) {
  if (word.size() < 3) return 0;
  for (int m = 0; m < 12; ++m) {
    std::string_view name = kMonthNames[m];
    if (word.size() > name.size()) continue;
    bool match = true;
    for (std::size_t i = 0; i < word.size(); ++i) {
      if (Lower(word[i]) != static_cast<char16_t>(name[i])) {
        match = false;
        break;
      }
    }
    if (match) return m + 1;
  }
  return 0;
}

const char* const kWeekdayNames[7] = {"sunday",   "monday", "tuesday", "wednesday",
                                      "thursday", "friday", "saturday"};

bool IsLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// A weekday name or its abbreviation ("Sun", "Sunday"), which date text may carry and which
// says nothing the date does not.
bool IsWeekdayName(std::u16string_view word) {
  if (word.size() < 3) return false;
  for (const char* name : kWeekdayNames) {
    std::string_view full = name;
    if (word.size() > full.size()) continue;
    bool match = true;
    for (std::size_t i = 0; i < word.size() && match; ++i)
      match = Lower(word[i]) == static_cast<char16_t>(full[i]);
    if (match) return true;
  }
  return false;
}

struct DateNumber {
  int value;
  std::size_t digits;
};

// The parts of date text: the numbers of the date, a month name, the numbers of the time of day
// (those joined by ':') and an AM/PM marker.
struct DateWords {
  std::vector<DateNumber> numbers;
  int month = 0;
  int time[3] = {0, 0, 0};
  int timeCount = 0;
  int millisecond = 0;
  bool hasTime = false;
  int ampm = 0;  // 1 = AM, 2 = PM
};

bool AddWord(std::u16string_view word, DateWords& w) {
  if (EqualsIgnoreCase(word, u"am") || EqualsIgnoreCase(word, u"a")) {
    w.ampm = 1;
  } else if (EqualsIgnoreCase(word, u"pm") || EqualsIgnoreCase(word, u"p")) {
    w.ampm = 2;
  } else if (int m = MonthFromName(word); m && !w.month) {
    w.month = m;
  } else if (!IsWeekdayName(word)) {
    return false;
  }
  return true;
}

// Reads h:mm[:ss[.fff]] starting at s[i], a number already known to be followed by ':'.
bool ReadTime(std::u16string_view s, std::size_t& i, DateWords& w) {
  if (w.hasTime) return false;
  w.hasTime = true;
  while (true) {
    std::size_t j = i;
    int value = 0;
    while (j < s.size() && IsDigit(s[j]) && j - i < 4)
      value = value * 10 + (s[j++] - u'0');
    if (j == i || w.timeCount == 3) return false;
    w.time[w.timeCount++] = value;
    i = j;
    if (i + 1 < s.size() && s[i] == u':' && IsDigit(s[i + 1])) {
      ++i;
      continue;
    }
    if (w.timeCount == 3 && i + 1 < s.size() && s[i] == u'.' && IsDigit(s[i + 1])) {
      double scale = 100;
      for (++i; i < s.size() && IsDigit(s[i]); ++i, scale /= 10)
        w.millisecond += static_cast<int>((s[i] - u'0') * scale);
    }
    return w.timeCount >= 2;
  }
}

bool SplitDateText(std::u16string_view text, DateWords& w) {
  std::u16string_view s = Trim(text);
  if (s.empty()) return false;
  std::size_t i = 0;
  while (i < s.size()) {
    char16_t c = s[i];
    if (IsBlank(c) || c == u',' || c == u'/' || c == u'-') {
      ++i;
    } else if (IsDigit(c)) {
      std::size_t j = i;
      while (j < s.size() && IsDigit(s[j]))
        ++j;
      if (j < s.size() && s[j] == u':') {
        if (!ReadTime(s, i, w)) return false;
        continue;
      }
      if (j - i > 4 || w.numbers.size() == 3) return false;
      int value = 0;
      for (std::size_t k = i; k < j; ++k)
        value = value * 10 + (s[k] - u'0');
      w.numbers.push_back({value, j - i});
      i = j;
    } else if (IsLetter(c)) {
      std::size_t j = i;
      while (j < s.size() && IsLetter(s[j]))
        ++j;
      if (!AddWord(s.substr(i, j - i), w)) return false;
      i = j;
    } else {
      return false;
    }
  }
  // "3 PM": a lone number with AM/PM is an hour.
  if (w.ampm && !w.hasTime && w.numbers.size() == 1 && !w.month) {
    w.time[0] = w.numbers[0].value;
    w.numbers.clear();
    w.hasTime = true;
  }
  return !w.ampm || w.hasTime;
}

int FullYear(const DateNumber& n) {
  if (n.digits <= 2) return n.value < 30 ? 2000 + n.value : 1900 + n.value;
  return n.value;
}

bool ValidDate(int year, int month, int day) {
  return year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, month);
}

// Month-first as in the United States ("3/7/2004"); year-first when the first number has more
// than two digits ("2004-03-07"); day-first when the month-first reading is no date ("13/1/2004").
// Without a year the date is in the current year; a number too large to be a day is the year
// ("3/2004", "March 2004").
bool ResolveDate(const DateWords& w, int currentYear, CivilTime& t) {
  const std::vector<DateNumber>& n = w.numbers;
  int year = currentYear, month = 0, day = 1;
  if (w.month) {
    month = w.month;
    if (n.size() == 2) {
      bool yearFirst = n[0].digits > 2 || n[0].value > 31;
      day = yearFirst ? n[1].value : n[0].value;
      year = FullYear(yearFirst ? n[0] : n[1]);
    } else if (n.size() == 1) {
      if (n[0].digits > 2 || n[0].value > 31) {
        year = FullYear(n[0]);
      } else {
        day = n[0].value;
      }
    } else if (n.size() != 0) {
      return false;
    }
    if (!ValidDate(year, month, day)) return false;
  } else if (n.size() == 3) {
    if (n[0].digits > 2) {
      year = n[0].value;
      month = n[1].value;
      day = n[2].value;
    } else {
      month = n[0].value;
      day = n[1].value;
      year = FullYear(n[2]);
      if (!ValidDate(year, month, day)) std::swap(month, day);
    }
  } else if (n.size() == 2) {
    if (n[1].digits > 2 || n[1].value > 31) {
      month = n[0].value;
      year = FullYear(n[1]);
    } else if (n[0].digits > 2) {
      year = n[0].value;
      month = n[1].value;
    } else {
      month = n[0].value;
      day = n[1].value;
      if (!ValidDate(year, month, day)) std::swap(month, day);
    }
  } else {
    return false;
  }
  if (!ValidDate(year, month, day)) return false;
  t.year = year;
  t.month = month;
  t.day = day;
  return true;
}

bool ResolveTime(const DateWords& w, CivilTime& t) {
  int hour = w.time[0];
  if (w.ampm) {
    if (hour < 1 || hour > 12) return false;
    if (w.ampm == 1 && hour == 12) hour = 0;
    if (w.ampm == 2 && hour != 12) hour += 12;
  }
  if (hour > 23 || w.time[1] > 59 || w.time[2] > 59) return false;
  t.hour = hour;
  t.minute = w.time[1];
  t.second = w.time[2];
  t.millisecond = w.millisecond;
  return true;
}

}  // namespace

std::int16_t RoundToInteger(double d) {
  if (std::isnan(d)) throw RuntimeError(kErrOverflow);
  double r = std::nearbyint(d);
  if (r < -32768.0 || r > 32767.0) throw RuntimeError(kErrOverflow);
  return static_cast<std::int16_t>(r);
}

std::int32_t RoundToLong(double d) {
  if (std::isnan(d)) throw RuntimeError(kErrOverflow);
  double r = std::nearbyint(d);
  if (r < -2147483648.0 || r > 2147483647.0) throw RuntimeError(kErrOverflow);
  return static_cast<std::int32_t>(r);
}

bool ParseNumber(std::u16string_view text, double& out) {
  std::u16string_view s = Trim(text);
  if (s.empty()) return false;
  if (s[0] == u'&') return ParseRadix(s, out);
  std::string ascii;
  ascii.reserve(s.size());
  std::size_t i = 0;
  if (s[i] == u'+' || s[i] == u'-') ascii.push_back(static_cast<char>(s[i++]));
  if (i < s.size() && s[i] == u'$') ++i;  // a currency sign is accepted
  bool digits = false;
  bool point = false;
  for (; i < s.size(); ++i) {
    char16_t c = s[i];
    if (IsDigit(c)) {
      ascii.push_back(static_cast<char>(c));
      digits = true;
    } else if (c == u',' && digits && !point) {
      continue;  // thousands separator
    } else if (c == u'.' && !point) {
      ascii.push_back('.');
      point = true;
    } else {
      break;
    }
  }
  if (!digits) return false;
  if (i < s.size() && (Lower(s[i]) == u'e' || Lower(s[i]) == u'd')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < s.size() && (s[j] == u'+' || s[j] == u'-'))
      exponent.push_back(static_cast<char>(s[j++]));
    bool expDigits = false;
    while (j < s.size() && IsDigit(s[j])) {
      exponent.push_back(static_cast<char>(s[j++]));
      expDigits = true;
    }
    if (!expDigits) return false;
    ascii += exponent;
    i = j;
  }
  if (i != s.size()) return false;
  char* end = nullptr;
  out = std::strtod(ascii.c_str(), &end);
  if (std::isinf(out)) return false;
  return true;
}

bool ParseDate(std::u16string_view text, double& out) {
  return ParseDate(text, out, kDefaultDateYear);
}

bool ParseDate(std::u16string_view text, double& out, int currentYear) {
  DateWords words;
  if (!SplitDateText(text, words)) return false;
  CivilTime t;
  bool hasDate = words.numbers.size() > 0 || words.month;
  if (hasDate && !ResolveDate(words, currentYear, t)) return false;
  if (!words.hasTime && !hasDate) return false;
  if (words.hasTime && !ResolveTime(words, t)) return false;
  out = CivilToOleDate(t);
  return true;
}

double Val(std::u16string_view text) {
  std::size_t i = 0;
  auto skipBlanks = [&] {
    while (i < text.size() &&
           (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n' || text[i] == u'\r'))
      ++i;
  };
  skipBlanks();
  if (i + 1 < text.size() && text[i] == u'&') {
    std::size_t j = i + 2;
    while (j < text.size() &&
           ((IsDigit(text[j])) || (Lower(text[j]) >= u'a' && Lower(text[j]) <= u'f')))
      ++j;
    double v;
    if (ParseRadix(text.substr(i, j - i), v)) return v;
    return 0;
  }
  std::string ascii;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
    ascii.push_back(static_cast<char>(text[i++]));
  bool point = false;
  bool digits = false;
  for (; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r') continue;  // blanks inside are ignored
    if (IsDigit(c)) {
      ascii.push_back(static_cast<char>(c));
      digits = true;
    } else if (c == u'.' && !point) {
      ascii.push_back('.');
      point = true;
    } else {
      break;
    }
  }
  if (digits && i < text.size() && (Lower(text[i]) == u'e' || Lower(text[i]) == u'd')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < text.size() && (text[j] == u'+' || text[j] == u'-'))
      exponent.push_back(static_cast<char>(text[j++]));
    bool expDigits = false;
    while (j < text.size() && IsDigit(text[j])) {
      exponent.push_back(static_cast<char>(text[j++]));
      expDigits = true;
    }
    if (expDigits) ascii += exponent;
  }
  if (!digits) return 0;
  double v = std::strtod(ascii.c_str(), nullptr);
  return std::isinf(v) ? 0 : v;
}

double Val(std::string_view utf8) {
  return Val(Utf8ToUtf16(utf8));
}

double ToDouble(const Variant& v) {
  switch (v.Type()) {
    case VarType::Empty:
      return 0;
    case VarType::Null:
      throw RuntimeError(kErrInvalidNull);
    case VarType::Boolean:
      return v.AsBool() ? -1 : 0;
    case VarType::Byte:
      return v.AsByte();
    case VarType::Integer:
      return v.AsInteger();
    case VarType::Long:
      return v.AsLong();
    case VarType::Single:
      return v.AsSingle();
    case VarType::Double:
      return v.AsDouble();
    case VarType::Currency:
      return static_cast<double>(v.AsCurrencyScaled()) / 10000.0;
    case VarType::Date:
      return v.AsDate();
    case VarType::String: {
      double d;
      if (ParseNumber(v.AsString().View(), d)) return d;
      throw RuntimeError(kErrTypeMismatch);
    }
    case VarType::Object:
      return ToDouble(DefaultValue(v));
    default:
      throw RuntimeError(kErrTypeMismatch);
  }
}

float ToSingle(const Variant& v) {
  double d = ToDouble(v);
  if (std::fabs(d) > std::numeric_limits<float>::max()) throw RuntimeError(kErrOverflow);
  return static_cast<float>(d);
}

std::int16_t ToInteger(const Variant& v) {
  if (v.Type() == VarType::Integer) return v.AsInteger();
  if (v.Type() == VarType::Boolean) return v.AsBool() ? -1 : 0;
  return RoundToInteger(ToDouble(v));
}

std::int32_t ToLong(const Variant& v) {
  if (v.Type() == VarType::Long) return v.AsLong();
  if (v.Type() == VarType::Integer) return v.AsInteger();
  if (v.Type() == VarType::Boolean) return v.AsBool() ? -1 : 0;
  return RoundToLong(ToDouble(v));
}

std::uint8_t ToByte(const Variant& v) {
  if (v.Type() == VarType::Boolean) return v.AsBool() ? 255 : 0;  // True is all bits set
  double r = std::nearbyint(ToDouble(v));
  if (!(r >= 0 && r <= 255)) throw RuntimeError(kErrOverflow);
  return static_cast<std::uint8_t>(r);
}

std::int64_t ToCurrencyScaled(const Variant& v) {
  if (v.Type() == VarType::Currency) return v.AsCurrencyScaled();
  double r = std::nearbyint(ToDouble(v) * 10000.0);
  if (!(std::fabs(r) < 9.2233720368547758e18)) throw RuntimeError(kErrOverflow);
  return static_cast<std::int64_t>(r);
}

bool ToBoolean(const Variant& v) {
  switch (v.Type()) {
    case VarType::Boolean:
      return v.AsBool();
    case VarType::String: {
      std::u16string_view s = Trim(v.AsString().View());
      if (EqualsIgnoreCase(s, u"true") || EqualsIgnoreCase(s, u"#true#")) return true;
      if (EqualsIgnoreCase(s, u"false") || EqualsIgnoreCase(s, u"#false#")) return false;
      double d;
      if (ParseNumber(s, d)) return d != 0;
      throw RuntimeError(kErrTypeMismatch);
    }
    case VarType::Object:
      return ToBoolean(DefaultValue(v));
    default:
      return ToDouble(v) != 0;
  }
}

double ToDate(const Variant& v) {
  switch (v.Type()) {
    case VarType::Date:
      return v.AsDate();
    case VarType::String: {
      double d;
      if (ParseDate(v.AsString().View(), d)) return d;
      if (ParseNumber(v.AsString().View(), d)) return d;
      throw RuntimeError(kErrTypeMismatch);
    }
    case VarType::Object:
      return ToDate(DefaultValue(v));
    default: {
      double d = ToDouble(v);
      if (d < -657434.0 || d >= 2958466.0) throw RuntimeError(kErrOverflow);
      return d;
    }
  }
}

// The number is first cut to its significant digits. It is written out in full when its first
// digit is no further right than the fourth decimal and its last digit no further right than
// the significant-digit count (so 0.0001 and 0.333333333333333 stay as they are, while 0.00001
// is "1E-05" and 0.0199999997764826 is "1.99999997764826E-02"); otherwise, and from 10^digits
// upwards, in exponent form with at least two exponent digits.
std::string FormatGeneralNumber(double value, int significantDigits) {
  if (value == 0) return "0";
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*e", significantDigits - 1, std::fabs(value));
  std::string digits(1, buf[0]);
  const char* mark = std::strchr(buf, 'e');
  if (buf[1] == '.') digits.append(buf + 2, static_cast<std::size_t>(mark - (buf + 2)));
  int exponent = std::atoi(mark + 1);
  while (digits.size() > 1 && digits.back() == '0')
    digits.pop_back();
  int count = static_cast<int>(digits.size());
  std::string out = value < 0 ? "-" : "";
  if (exponent >= -4 && exponent < significantDigits && count - 1 - exponent <= significantDigits) {
    if (exponent < 0) {
      out += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else if (count <= exponent + 1) {
      out += digits + std::string(static_cast<std::size_t>(exponent + 1 - count), '0');
    } else {
      out += digits.substr(0, exponent + 1) + "." + digits.substr(exponent + 1);
    }
    return out;
  }
  out += digits.substr(0, 1);
  // Appended in place: "." + digits.substr(1) inserts a C string at the front, which GCC 12
  // at -O3 warns of falsely as an overlapping copy (-Wrestrict).
  if (count > 1) {
    out += '.';
    out.append(digits, 1);
  }
  std::snprintf(buf, sizeof buf, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
  return out + buf;
}

std::string FormatCurrencyValue(std::int64_t scaled) {
  bool negative = scaled < 0;
  std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
  std::string out = std::to_string(magnitude / 10000);
  std::uint64_t fraction = magnitude % 10000;
  if (fraction) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04u", static_cast<unsigned>(fraction));
    std::string digits = buf;
    while (!digits.empty() && digits.back() == '0')
      digits.pop_back();
    out += "." + digits;
  }
  return negative ? "-" + out : out;
}

std::string FormatDateValue(double oleDate) {
  CivilTime t = OleDateToCivil(oleDate);
  double whole = std::trunc(oleDate);
  bool hasTime = oleDate != whole;
  bool hasDate = whole != 0;
  char buf[64];
  std::string out;
  if (hasDate) {
    std::snprintf(buf, sizeof buf, "%d/%d/%d", t.month, t.day, t.year);
    out = buf;
  }
  if (hasTime || !hasDate) {
    int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
    std::snprintf(buf, sizeof buf, "%d:%02d:%02d %s", hour12, t.minute, t.second,
                  t.hour < 12 ? "AM" : "PM");
    if (!out.empty()) out += ' ';
    out += buf;
  }
  return out;
}

namespace {

// A whole number as text, written straight into the string (no UTF-8 on the way).
SharedString WholeNumberText(std::int64_t value) {
  std::array<char16_t, 24> digits;
  auto end = digits.end(), p = end;
  std::uint64_t magnitude =
      value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  do {
    *--p = static_cast<char16_t>(u'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) *--p = u'-';
  return SharedString(std::u16string_view(p, static_cast<std::size_t>(end - p)));
}

}  // namespace

SharedString ToString(const Variant& v) {
  switch (v.Type()) {
    case VarType::Integer:
      return WholeNumberText(v.AsInteger());
    case VarType::Long:
      return WholeNumberText(v.AsLong());
    case VarType::Byte:
      return WholeNumberText(v.AsByte());
    case VarType::String:
      return v.AsString();
    case VarType::Empty:
      return SharedString();
    case VarType::Null:
      throw RuntimeError(kErrInvalidNull);
    case VarType::Boolean:
      return SharedString(v.AsBool() ? u"True" : u"False");
    case VarType::Object:
      return ToString(DefaultValue(v));
    case VarType::Array:
      throw RuntimeError(kErrTypeMismatch);
    default:
      return SharedString::FromUtf8(ToUtf8(v));
  }
}

std::string ToUtf8(const Variant& v) {
  switch (v.Type()) {
    case VarType::Byte:
      return std::to_string(v.AsByte());
    case VarType::Integer:
      return std::to_string(v.AsInteger());
    case VarType::Long:
      return std::to_string(v.AsLong());
    case VarType::Single:
      return FormatGeneralNumber(v.AsSingle(), 7);
    case VarType::Double:
      return FormatGeneralNumber(v.AsDouble(), 15);
    case VarType::Currency:
      return FormatCurrencyValue(v.AsCurrencyScaled());
    case VarType::Date:
      return FormatDateValue(v.AsDate());
    case VarType::Error:
      return "Error " + std::to_string(v.AsError());
    default:
      return ToString(v).ToUtf8();
  }
}

}  // namespace sl

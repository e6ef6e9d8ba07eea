#include "core/variant_convert.h"

#include <array>
#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

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
  if (!obj) throw RuntimeError(91);
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

struct Token {
  enum Kind { kNumber, kWord, kSep } kind;
  std::u16string_view text;
  int value = 0;
  char16_t sep = 0;
};

}  // namespace

std::int16_t RoundToInteger(double d) {
  if (std::isnan(d)) throw RuntimeError(6);
  double r = std::nearbyint(d);
  if (r < -32768.0 || r > 32767.0) throw RuntimeError(6);
  return static_cast<std::int16_t>(r);
}

std::int32_t RoundToLong(double d) {
  if (std::isnan(d)) throw RuntimeError(6);
  double r = std::nearbyint(d);
  if (r < -2147483648.0 || r > 2147483647.0) throw RuntimeError(6);
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
  std::u16string_view s = Trim(text);
  if (s.empty()) return false;
  // Split into numbers, words and separators.
  std::array<Token, 16> tokens;
  std::size_t count = 0;
  std::size_t i = 0;
  while (i < s.size()) {
    if (count == tokens.size()) return false;
    char16_t c = s[i];
    if (IsBlank(c) || c == u',') {
      ++i;
      continue;
    }
    if (IsDigit(c)) {
      std::size_t j = i;
      int value = 0;
      while (j < s.size() && IsDigit(s[j])) {
        if (j - i > 5) return false;
        value = value * 10 + (s[j] - u'0');
        ++j;
      }
      tokens[count++] = Token{Token::kNumber, s.substr(i, j - i), value, 0};
      i = j;
    } else if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')) {
      std::size_t j = i;
      while (j < s.size() && ((s[j] >= u'a' && s[j] <= u'z') || (s[j] >= u'A' && s[j] <= u'Z')))
        ++j;
      tokens[count++] = Token{Token::kWord, s.substr(i, j - i), 0, 0};
      i = j;
    } else if (c == u'/' || c == u'-' || c == u':' || c == u'.') {
      tokens[count++] = Token{Token::kSep, s.substr(i, 1), 0, c};
      ++i;
    } else {
      return false;
    }
  }
  int dateParts[3];
  int dateCount = 0;
  int month = 0;  // from a month name
  int timeParts[3] = {0, 0, 0};
  int timeCount = 0;
  bool hasTime = false;
  int ampm = 0;  // 1 = AM, 2 = PM
  for (std::size_t k = 0; k < count; ++k) {
    const Token& t = tokens[k];
    if (t.kind == Token::kWord) {
      if (EqualsIgnoreCase(t.text, u"am") || EqualsIgnoreCase(t.text, u"a")) {
        ampm = 1;
      } else if (EqualsIgnoreCase(t.text, u"pm") || EqualsIgnoreCase(t.text, u"p")) {
        ampm = 2;
      } else if (int m = MonthFromName(t.text); m && !month) {
        month = m;
      } else {
        return false;
      }
    } else if (t.kind == Token::kNumber) {
      bool timeFollows =
          k + 1 < count && tokens[k + 1].kind == Token::kSep && tokens[k + 1].sep == u':';
      bool timePrecedes = k >= 1 && tokens[k - 1].kind == Token::kSep && tokens[k - 1].sep == u':';
      if (timeFollows || timePrecedes) {
        if (timeCount == 3) return false;
        timeParts[timeCount++] = t.value;
        hasTime = true;
      } else {
        if (dateCount == 3) return false;
        dateParts[dateCount++] = t.value;
      }
    }
  }
  if (hasTime && timeCount < 2) return false;
  if (ampm && !hasTime) {
    // "3 PM": a lone number with AM/PM is an hour.
    if (dateCount == 1 && !month) {
      timeParts[0] = dateParts[0];
      dateCount = 0;
      hasTime = true;
    } else {
      return false;
    }
  }
  int year = 1899, mon = 12, day = 30;
  bool hasDate = false;
  auto fullYear = [](int y, std::size_t digits) {
    if (digits <= 2) return y < 30 ? 2000 + y : 1900 + y;
    return y;
  };
  auto digitsOf = [&](int value) {
    for (std::size_t k = 0; k < count; ++k) {
      if (tokens[k].kind == Token::kNumber && tokens[k].value == value)
        return tokens[k].text.size();
    }
    return std::size_t{4};
  };
  if (month) {
    if (dateCount == 2) {
      // "March 7, 2004" or "7 March 2004"
      day = dateParts[0];
      year = fullYear(dateParts[1], digitsOf(dateParts[1]));
      if (dateParts[0] > 31) {
        year = dateParts[0];
        day = dateParts[1];
      }
    } else if (dateCount == 1) {
      day = dateParts[0];
      year = 2004;  // no year: the current year is not known here; callers rarely rely on it
    } else {
      return false;
    }
    mon = month;
    hasDate = true;
  } else if (dateCount == 3) {
    if (digitsOf(dateParts[0]) >= 3) {  // yyyy-mm-dd
      year = dateParts[0];
      mon = dateParts[1];
      day = dateParts[2];
    } else {  // m/d/y
      mon = dateParts[0];
      day = dateParts[1];
      year = fullYear(dateParts[2], digitsOf(dateParts[2]));
    }
    hasDate = true;
  } else if (dateCount == 2) {
    mon = dateParts[0];
    day = dateParts[1];
    year = 2004;
    hasDate = true;
  } else if (dateCount != 0) {
    return false;
  }
  if (hasDate && (mon < 1 || mon > 12 || day < 1 || day > DaysInMonth(year, mon) || year < 100 ||
                  year > 9999)) {
    return false;
  }
  if (!hasDate && !hasTime) return false;
  int hour = timeParts[0];
  if (ampm) {
    if (hour < 1 || hour > 12) return false;
    if (ampm == 1 && hour == 12) hour = 0;
    if (ampm == 2 && hour != 12) hour += 12;
  }
  if (hour > 23 || timeParts[1] > 59 || timeParts[2] > 59) return false;
  CivilTime t;
  if (hasDate) {
    t.year = year;
    t.month = mon;
    t.day = day;
  }
  t.hour = hour;
  t.minute = timeParts[1];
  t.second = timeParts[2];
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
      throw RuntimeError(94);
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
      throw RuntimeError(13);
    }
    case VarType::Object:
      return ToDouble(DefaultValue(v));
    default:
      throw RuntimeError(13);
  }
}

float ToSingle(const Variant& v) {
  double d = ToDouble(v);
  if (std::fabs(d) > std::numeric_limits<float>::max()) throw RuntimeError(6);
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
  double r = std::nearbyint(ToDouble(v));
  if (!(r >= 0 && r <= 255)) throw RuntimeError(6);
  return static_cast<std::uint8_t>(r);
}

std::int64_t ToCurrencyScaled(const Variant& v) {
  if (v.Type() == VarType::Currency) return v.AsCurrencyScaled();
  double r = std::nearbyint(ToDouble(v) * 10000.0);
  if (!(std::fabs(r) < 9.2233720368547758e18)) throw RuntimeError(6);
  return static_cast<std::int64_t>(r);
}

bool ToBoolean(const Variant& v) {
  switch (v.Type()) {
    case VarType::Boolean:
      return v.AsBool();
    case VarType::String: {
      std::u16string_view s = Trim(v.AsString().View());
      if (EqualsIgnoreCase(s, u"true")) return true;
      if (EqualsIgnoreCase(s, u"false")) return false;
      double d;
      if (ParseNumber(s, d)) return d != 0;
      throw RuntimeError(13);
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
      throw RuntimeError(13);
    }
    case VarType::Object:
      return ToDate(DefaultValue(v));
    default: {
      double d = ToDouble(v);
      if (d < -657434.0 || d >= 2958466.0) throw RuntimeError(6);
      return d;
    }
  }
}

std::string FormatGeneralNumber(double value, int significantDigits) {
  if (value == 0) return "0";
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*G", significantDigits, value);
  return buf;
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

SharedString ToString(const Variant& v) {
  switch (v.Type()) {
    case VarType::String:
      return v.AsString();
    case VarType::Empty:
      return SharedString();
    case VarType::Null:
      throw RuntimeError(94);
    case VarType::Boolean:
      return SharedString(v.AsBool() ? u"True" : u"False");
    case VarType::Object:
      return ToString(DefaultValue(v));
    case VarType::Array:
      throw RuntimeError(13);
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

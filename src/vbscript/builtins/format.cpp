// Formatting functions: FormatNumber, FormatCurrency, FormatPercent and FormatDateTime, with
// the United States English conventions ("1,234.57", "($1,234.57)", "Sunday, March 07, 2004").
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "vbscript/builtins/arguments.h"
#include "vbscript/builtins/date_time.h"
#include "vbscript/builtins/families.h"

namespace sl::vbs {

namespace {

constexpr std::int32_t kUseDefault = -2;

struct NumberStyle {
  int decimals = 2;
  bool leadingDigit = true;
  bool parens = false;
  bool group = true;
  const char* prefix = "";
  const char* suffix = "";
};

// The decimal digits of a magnitude, rounded half away from zero at `decimals` places after
// first reducing the value to the 15 significant digits a Double is good for (so 1.005 shows
// as 1.01, not as the 1.00499... that it is stored as).
void DecimalDigits(double magnitude, int decimals, std::string& whole, std::string& fraction) {
  std::string all = "0";
  int wholeLength = 1;
  if (magnitude != 0) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", magnitude);
    std::string digits = std::string(1, buf[0]) + std::string(buf + 2, 14);
    int exponent = std::atoi(std::strchr(buf, 'e') + 1);
    wholeLength = exponent + 1;
    if (wholeLength <= 0) {
      all = std::string(static_cast<std::size_t>(-wholeLength), '0') + digits;
      wholeLength = 0;
    } else {
      all = digits;
      if (all.size() < static_cast<std::size_t>(wholeLength)) all.resize(wholeLength, '0');
    }
  }
  std::size_t keep = static_cast<std::size_t>(wholeLength + decimals);
  if (all.size() <= keep) {
    all.resize(keep, '0');
  } else {
    bool up = all[keep] >= '5';
    all.resize(keep);
    for (std::size_t i = keep; up && i-- > 0;) {
      up = all[i] == '9';
      all[i] = up ? '0' : static_cast<char>(all[i] + 1);
    }
    if (up) {
      all.insert(all.begin(), '1');
      ++wholeLength;
    }
  }
  whole = all.substr(0, static_cast<std::size_t>(wholeLength));
  fraction = all.substr(static_cast<std::size_t>(wholeLength));
  whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
}

std::string Grouped(const std::string& digits) {
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i && (digits.size() - i) % 3 == 0) out.push_back(',');
    out.push_back(digits[i]);
  }
  return out;
}

std::string FormatStyled(double value, const NumberStyle& style) {
  std::string whole, fraction;
  DecimalDigits(std::fabs(value), style.decimals, whole, fraction);
  bool negative = value < 0 && (whole.find_first_not_of('0') != std::string::npos ||
                                fraction.find_first_not_of('0') != std::string::npos);
  std::string body = style.group ? Grouped(whole) : whole;
  // One character, not a C string: assigning a C string here makes GCC 12 at -O3 warn
  // falsely of overlapping copies (-Wrestrict) once this is inlined.
  if (body.empty() && (style.leadingDigit || fraction.empty())) body.assign(1, '0');
  if (!fraction.empty()) body += "." + fraction;
  body = style.prefix + body + style.suffix;
  if (!negative) return body;
  return style.parens ? "(" + body + ")" : "-" + body;
}

// A tristate argument: -1 (vbTrue), 0 (vbFalse) or -2 (vbUseDefault, or omitted).
bool TristateArg(std::span<Variant> a, std::size_t i, bool defaultValue) {
  if (!HasArg(a, i)) return defaultValue;
  std::int32_t v = ToLong(a[i]);
  return v == kUseDefault ? defaultValue : v != 0;
}

// The value to format: Null is a type mismatch here (a Null option is error 94).
Variant FormattedValue(const Variant& arg) {
  Variant v = ValueOf(arg);
  if (v.IsNull()) throw RuntimeError(kErrTypeMismatch);
  return v;
}

Variant FormatWith(std::span<Variant> a, NumberStyle style, double scale) {
  double value = ToDouble(FormattedValue(a[0])) * scale;
  std::int32_t decimals = LongArg(a, 1, -1);
  if (decimals < -1 || decimals > 255) InvalidArgument();
  if (decimals >= 0) style.decimals = decimals;
  style.leadingDigit = TristateArg(a, 2, style.leadingDigit);
  style.parens = TristateArg(a, 3, style.parens);
  style.group = TristateArg(a, 4, style.group);
  if (!std::isfinite(value)) throw RuntimeError(kErrOverflow);
  return Variant(FormatStyled(value, style));
}

Variant FormatNumber(BuiltinContext&, std::span<Variant> a) {
  return FormatWith(a, NumberStyle{}, 1);
}

Variant FormatCurrency(BuiltinContext&, std::span<Variant> a) {
  NumberStyle style;
  style.parens = true;
  style.prefix = "$";
  return FormatWith(a, style, 1);
}

Variant FormatPercent(BuiltinContext&, std::span<Variant> a) {
  NumberStyle style;
  style.suffix = "%";
  return FormatWith(a, style, 100);
}

constexpr const char* kDayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                      "Thursday", "Friday", "Saturday"};
constexpr const char* kMonthNames[12] = {"January",   "February", "March",    "April",
                                         "May",       "June",     "July",     "August",
                                         "September", "October",  "November", "December"};

// FormatDateTime(date[, format]): 0 general (as CStr), 1 long date, 2 short date, 3 long
// time, 4 short time (24-hour "14:05").
Variant FormatDateTime(BuiltinContext& context, std::span<Variant> a) {
  double date = DateArg(context, FormattedValue(a[0]));
  std::int32_t format = LongArg(a, 1, 0);
  CivilTime t = SplitDate(date);
  char buf[80];
  switch (format) {
    case 0:
      return Variant(FormatDateValue(date));
    case 1:
      std::snprintf(buf, sizeof buf, "%s, %s %02d, %d", kDayNames[WeekdayFrom(t, 1) - 1],
                    kMonthNames[t.month - 1], t.day, t.year);
      return Variant(buf);
    case 2:
      std::snprintf(buf, sizeof buf, "%d/%d/%d", t.month, t.day, t.year);
      return Variant(buf);
    case 3:
      return Variant(FormatDateValue(FromSerialSeconds((t.hour * 60 + t.minute) * 60 + t.second)));
    case 4:
      std::snprintf(buf, sizeof buf, "%02d:%02d", t.hour, t.minute);
      return Variant(buf);
    default:
      InvalidArgument();
  }
}

constexpr BuiltinInfo kFormat[] = {
    {"FormatCurrency", FormatCurrency, 1, 5},
    {"FormatDateTime", FormatDateTime, 1, 2},
    {"FormatNumber", FormatNumber, 1, 5},
    {"FormatPercent", FormatPercent, 1, 5},
};

}  // namespace

std::span<const BuiltinInfo> FormatBuiltins() {
  return kFormat;
}

}  // namespace sl::vbs

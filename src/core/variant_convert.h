// Conversions between Variant subtypes with the classic rules, as the script conversion
// functions (CStr, CDbl, CInt, CLng, CBool, CDate, ...) and control properties apply them.
// Errors are thrown as RuntimeError: 13 "Type mismatch", 6 "Overflow", 94 "Invalid use of Null".
// Numbers and dates are written as under the United States English locale.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/variant.h"

namespace sl {

double ToDouble(const Variant& v);
float ToSingle(const Variant& v);
std::int16_t ToInteger(const Variant& v);  // rounds half to even
std::int32_t ToLong(const Variant& v);     // rounds half to even
std::uint8_t ToByte(const Variant& v);
std::int64_t ToCurrencyScaled(const Variant& v);  // ten-thousandths, rounds half to even
bool ToBoolean(const Variant& v);
double ToDate(const Variant& v);  // classic date value
SharedString ToString(const Variant& v);
std::string ToUtf8(const Variant& v);

// Rounds half to even and range-checks (RuntimeError 6 when out of range).
std::int16_t RoundToInteger(double d);
std::int32_t RoundToLong(double d);

// Numeric text as the conversions accept it: blanks around, sign, digits with thousands
// commas, a decimal point, an exponent (E or D), or &H / &O integers. False if not a number.
bool ParseNumber(std::u16string_view text, double& out);
// Date and/or time text as CDate reads it under the United States English locale: "3/7/2004",
// "3-7-04", "2004-03-07", "March 7, 2004", "7 Mar 2004", "Sunday, March 07, 2004", "2:05:09 PM",
// "14:05", "3 PM" and a date with a time. A date without a year is in `currentYear`.
bool ParseDate(std::u16string_view text, double& out, int currentYear);
// The same for callers without a clock: a date without a year is in kDefaultDateYear.
bool ParseDate(std::u16string_view text, double& out);
constexpr int kDefaultDateYear = 2000;

// The leading number of a text, never failing (Val): "1.5 s" -> 1.5, "abc" -> 0, "&H10" -> 16.
double Val(std::u16string_view text);
double Val(std::string_view utf8);

// "General number" format: no thousands separator, no trailing zeros, at most the given number
// of significant digits (15 for Double, 7 for Single); exponent form ("1E+20", "1E-05") for
// large numbers and for small ones whose digits reach too far right of the decimal point.
std::string FormatGeneralNumber(double value, int significantDigits = 15);
std::string FormatCurrencyValue(std::int64_t scaled);
// A date value as CStr writes it: "3/7/2004", "2:05:09 PM" or "3/7/2004 2:05:09 PM".
std::string FormatDateValue(double oleDate);

}  // namespace sl

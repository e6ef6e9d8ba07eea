// Field scanning and typed conversion of the project data-file reader.
#include "core/data_file_reader.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "core/date_time.h"
#include "core/file_io.h"
#include "core/runtime_error.h"
#include "core/text_encoding.h"
#include "core/variant_convert.h"

namespace sl {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool EqualsAsciiNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

// Reads an unsigned decimal of exactly `digits` digits at s[i].
bool Digits(std::string_view s, std::size_t& i, std::size_t digits, int& out) {
  if (i + digits > s.size()) return false;
  out = 0;
  for (std::size_t k = 0; k < digits; ++k) {
    if (!IsDigit(s[i + k])) return false;
    out = out * 10 + (s[i + k] - '0');
  }
  i += digits;
  return true;
}

bool ParseTimeOfDay(std::string_view s, std::size_t& i, CivilTime& t) {
  if (!Digits(s, i, 2, t.hour) || i >= s.size() || s[i++] != ':') return false;
  if (!Digits(s, i, 2, t.minute) || i >= s.size() || s[i++] != ':') return false;
  return Digits(s, i, 2, t.second) && t.hour < 24 && t.minute < 60 && t.second < 60;
}

// "yyyy-mm-dd", "yyyy-mm-dd hh:mm:ss" or "hh:mm:ss", the inside of a #date# literal.
bool ParseDateLiteral(std::string_view s, double& out) {
  CivilTime t;
  std::size_t i = 0;
  if (s.size() == 8 && s[2] == ':') {
    if (!ParseTimeOfDay(s, i, t)) return false;
  } else {
    if (!Digits(s, i, 4, t.year) || i >= s.size() || s[i++] != '-') return false;
    if (!Digits(s, i, 2, t.month) || i >= s.size() || s[i++] != '-') return false;
    if (!Digits(s, i, 2, t.day)) return false;
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > DaysInMonth(t.year, t.month)) {
      return false;
    }
    if (i < s.size() && (s[i++] != ' ' || !ParseTimeOfDay(s, i, t))) return false;
  }
  if (i != s.size()) return false;
  out = CivilToOleDate(t);
  return true;
}

// The value of a #...# literal; false when the text is not one.
bool ParseHashLiteral(std::string_view text, Variant& out) {
  std::string_view inner = text.substr(1, text.size() - 2);
  if (EqualsAsciiNoCase(inner, "TRUE")) {
    out = Variant(true);
  } else if (EqualsAsciiNoCase(inner, "FALSE")) {
    out = Variant(false);
  } else if (EqualsAsciiNoCase(inner, "NULL")) {
    out = Variant::Null();
  } else if (double d; ParseDateLiteral(inner, d)) {
    out = Variant::Date(d);
  } else if (inner.size() > 6 && EqualsAsciiNoCase(inner.substr(0, 6), "ERROR ")) {
    std::int32_t code = 0;
    auto r = std::from_chars(inner.data() + 6, inner.data() + inner.size(), code);
    if (r.ec != std::errc() || r.ptr != inner.data() + inner.size()) return false;
    out = Variant::Error(code);
  } else {
    return false;
  }
  return true;
}

// Plain decimal text ("-12", "3.5", "1E+20", ".5"); false for anything else.
bool ParsePlainNumber(std::string_view s, double& out) {
  if (s.empty()) return false;
  std::size_t i = 0;
  if (s[0] == '+' || s[0] == '-') i = 1;
  if (i >= s.size() || !(IsDigit(s[i]) || s[i] == '.')) return false;
  const char* begin = s.data() + (s[0] == '+' ? 1 : 0);
  const char* end = s.data() + s.size();
  auto r = std::from_chars(begin, end, out, std::chars_format::general);
  return r.ec == std::errc() && r.ptr == end;
}

Variant NumberVariant(double d) {
  if (d == std::nearbyint(d)) {
    if (d >= -32768.0 && d <= 32767.0) return Variant(static_cast<std::int16_t>(d));
    if (d >= -2147483648.0 && d <= 2147483647.0) return Variant(static_cast<std::int32_t>(d));
  }
  return Variant(d);
}

SharedString ToShared(std::string_view bytes) {
  SharedString s = SharedString::Uninitialized(bytes.size());
  char16_t* out = s.MutableData();
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    out[i] = Windows1252ToUnicode(static_cast<unsigned char>(bytes[i]));
  }
  return s;
}

}  // namespace

DataFileReader::DataFileReader(std::string windows1252Bytes) : data_(std::move(windows1252Bytes)) {}

DataFileReader DataFileReader::FromFile(const std::string& realPath) {
  return DataFileReader(ReadWholeFile(realPath));
}

// Scans one field and consumes its delimiter (a comma or one whole line end).
DataFileReader::Field DataFileReader::NextField() {
  if (Eof()) throw RuntimeError(kErrInputPastEnd);
  const char* d = data_.data();
  std::size_t n = data_.size();
  while (pos_ < n && IsBlank(d[pos_]))
    ++pos_;
  if (pos_ < n && d[pos_] == '"') {
    std::size_t start = pos_ + 1;
    const void* q = std::memchr(d + start, '"', n - start);
    std::size_t end = q ? static_cast<std::size_t>(static_cast<const char*>(q) - d) : n;
    pos_ = end < n ? end + 1 : n;
    // Whatever follows the closing quote up to the delimiter is dropped.
    while (pos_ < n && d[pos_] != ',' && d[pos_] != '\r' && d[pos_] != '\n')
      ++pos_;
    ConsumeDelimiter();
    return {std::string_view(d + start, end - start), FieldKind::Quoted};
  }
  std::size_t start = pos_;
  while (pos_ < n && d[pos_] != ',' && d[pos_] != '\r' && d[pos_] != '\n')
    ++pos_;
  std::size_t end = pos_;
  while (end > start && IsBlank(d[end - 1]))
    --end;
  ConsumeDelimiter();
  std::string_view text(d + start, end - start);
  bool hash = text.size() >= 2 && text.front() == '#' && text.back() == '#';
  return {text, hash ? FieldKind::Hash : FieldKind::Bare};
}

void DataFileReader::ConsumeDelimiter() {
  if (pos_ >= data_.size()) return;
  char c = data_[pos_++];
  if (c == '\r' && pos_ < data_.size() && data_[pos_] == '\n') ++pos_;
}

double DataFileReader::FieldToNumber(const Field& f) const {
  if (f.kind == FieldKind::Hash) {
    Variant v;
    if (!ParseHashLiteral(f.text, v)) throw RuntimeError(kErrTypeMismatch);
    if (v.IsNull()) throw RuntimeError(kErrInvalidNull);
    return ToDouble(v);
  }
  double d;
  if (ParsePlainNumber(f.text, d)) return d;
  std::string_view trimmed = f.text;
  while (!trimmed.empty() && IsBlank(trimmed.front()))
    trimmed.remove_prefix(1);
  if (trimmed.empty()) return 0.0;
  // Rarer notations (&H10, 1D3, a currency sign) go through the general conversion.
  if (ParseNumber(Windows1252ToUtf16(trimmed), d)) return d;
  throw RuntimeError(kErrTypeMismatch);
}

std::string DataFileReader::ReadString() {
  Field f = NextField();
  if (f.kind == FieldKind::Hash) {
    Variant v;
    if (ParseHashLiteral(f.text, v)) return v.IsNull() ? std::string() : ToUtf8(v);
  }
  return Windows1252ToUtf8(f.text);
}

std::int16_t DataFileReader::ReadInteger() {
  Field f = NextField();
  if (f.kind == FieldKind::Bare && !f.text.empty() && f.text.size() <= 6) {
    int value = 0;
    auto r = std::from_chars(f.text.data(), f.text.data() + f.text.size(), value);
    if (r.ec == std::errc() && r.ptr == f.text.data() + f.text.size()) {
      if (value < -32768 || value > 32767) throw RuntimeError(kErrOverflow);
      return static_cast<std::int16_t>(value);
    }
  }
  return RoundToInteger(FieldToNumber(f));
}

std::int32_t DataFileReader::ReadLong() {
  Field f = NextField();
  if (f.kind == FieldKind::Bare && !f.text.empty() && f.text.size() <= 11) {
    std::int64_t value = 0;
    auto r = std::from_chars(f.text.data(), f.text.data() + f.text.size(), value);
    if (r.ec == std::errc() && r.ptr == f.text.data() + f.text.size()) {
      if (value < std::numeric_limits<std::int32_t>::min() ||
          value > std::numeric_limits<std::int32_t>::max()) {
        throw RuntimeError(kErrOverflow);
      }
      return static_cast<std::int32_t>(value);
    }
  }
  return RoundToLong(FieldToNumber(f));
}

float DataFileReader::ReadSingle() {
  double d = FieldToNumber(NextField());
  if (std::isfinite(d) && std::fabs(d) > std::numeric_limits<float>::max())
    throw RuntimeError(kErrOverflow);
  return static_cast<float>(d);
}

double DataFileReader::ReadDouble() {
  return FieldToNumber(NextField());
}

bool DataFileReader::ReadBoolean() {
  Field f = NextField();
  if (f.kind != FieldKind::Hash) {
    std::string_view t = f.text;
    if (EqualsAsciiNoCase(t, "True")) return true;
    if (EqualsAsciiNoCase(t, "False")) return false;
  }
  return FieldToNumber(f) != 0.0;
}

Variant DataFileReader::ReadVariant() {
  Field f = NextField();
  switch (f.kind) {
    case FieldKind::Quoted:
      return Variant(ToShared(f.text));
    case FieldKind::Hash: {
      Variant v;
      if (ParseHashLiteral(f.text, v)) return v;
      return Variant(ToShared(f.text));
    }
    case FieldKind::Bare:
      break;
  }
  if (f.text.empty()) return Variant();
  double d;
  if (ParsePlainNumber(f.text, d)) return NumberVariant(d);
  return Variant(ToShared(f.text));
}

void DataFileReader::Skip(int count) {
  for (int i = 0; i < count; ++i)
    NextField();
}

void DataFileReader::SkipRecord() {
  while (!Eof()) {
    if (ReadString() == kSeparator) return;
  }
}

std::string DataFileReader::ReadLine() {
  if (Eof()) throw RuntimeError(kErrInputPastEnd);
  std::size_t start = pos_;
  while (pos_ < data_.size() && data_[pos_] != '\r' && data_[pos_] != '\n')
    ++pos_;
  std::string_view line(data_.data() + start, pos_ - start);
  ConsumeDelimiter();
  return Windows1252ToUtf8(line);
}

bool DataFileReader::SeparatorOrEndNext() {
  if (Eof()) return true;
  std::size_t saved = pos_;
  Field f = NextField();
  pos_ = saved;
  return f.text == kSeparator;
}

}  // namespace sl

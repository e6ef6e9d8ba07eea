// The `Write #` notation of project data files.
#include "core/data_file_writer.h"

#include <charconv>
#include <cstdio>

#include "core/date_time.h"
#include "core/text_encoding.h"
#include "core/variant_convert.h"

namespace sl {

void DataFileWriter::BeginField() {
  if (lineHasField_) bytes_.push_back(',');
  lineHasField_ = true;
}

DataFileWriter& DataFileWriter::String(std::string_view utf8) {
  BeginField();
  bytes_.push_back('"');
  std::size_t start = bytes_.size();
  bytes_ += Utf8ToWindows1252(utf8);
  for (std::size_t i = start; i < bytes_.size(); ++i) {
    if (bytes_[i] == '"') bytes_[i] = '\'';  // a quote would end the field when read back
  }
  bytes_.push_back('"');
  return *this;
}

DataFileWriter& DataFileWriter::Integer(std::int32_t value) {
  BeginField();
  bytes_ += std::to_string(value);
  return *this;
}

DataFileWriter& DataFileWriter::Number(double value) {
  BeginField();
  bytes_ += FormatGeneralNumber(value);
  return *this;
}

DataFileWriter& DataFileWriter::ExactNumber(double value) {
  BeginField();
  std::string text;
  for (int digits = 15; digits <= 17; ++digits) {
    text = FormatGeneralNumber(value, digits);
    double back = 0;
    std::from_chars(text.data(), text.data() + text.size(), back);
    if (back == value) break;
  }
  bytes_ += text;
  return *this;
}

DataFileWriter& DataFileWriter::Boolean(bool value) {
  BeginField();
  bytes_ += value ? "#TRUE#" : "#FALSE#";
  return *this;
}

DataFileWriter& DataFileWriter::Null() {
  BeginField();
  bytes_ += "#NULL#";
  return *this;
}

DataFileWriter& DataFileWriter::Empty() {
  BeginField();
  return *this;
}

DataFileWriter& DataFileWriter::Date(double oleDate) {
  BeginField();
  CivilTime t = OleDateToCivil(oleDate);
  char text[40];
  if (t.hour == 0 && t.minute == 0 && t.second == 0) {
    std::snprintf(text, sizeof text, "#%04d-%02d-%02d#", t.year, t.month, t.day);
  } else {
    std::snprintf(text, sizeof text, "#%04d-%02d-%02d %02d:%02d:%02d#", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
  }
  bytes_ += text;
  return *this;
}

DataFileWriter& DataFileWriter::Value(const Variant& value) {
  switch (value.Type()) {
    case VarType::Empty:
      return Empty();
    case VarType::Null:
      return Null();
    case VarType::Boolean:
      return Boolean(value.AsBool());
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
      return Integer(ToLong(value));
    case VarType::Date:
      return Date(value.AsDate());
    case VarType::Error:
      BeginField();
      bytes_ += "#ERROR " + std::to_string(value.AsError()) + "#";
      return *this;
    case VarType::Single:
      BeginField();
      bytes_ += FormatGeneralNumber(value.AsSingle(), 7);
      return *this;
    case VarType::Double:
    case VarType::Currency:
      return Number(ToDouble(value));
    default:
      return String(ToUtf8(value));
  }
}

DataFileWriter& DataFileWriter::EndLine() {
  bytes_ += "\r\n";
  lineHasField_ = false;
  return *this;
}

DataFileWriter& DataFileWriter::Line(std::string_view utf8) {
  if (lineHasField_) EndLine();
  bytes_ += Utf8ToWindows1252(utf8);
  return EndLine();
}

}  // namespace sl

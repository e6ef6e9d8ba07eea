// Reader of the project's data files: fields separated by commas or line ends, strings in
// double quotes, numbers bare, #TRUE#/#FALSE#/#NULL#/#date# literals, read strictly in order as
// the classic sequential `Input #` statement reads them. The whole file is held in memory and
// parsed from the buffer; texts come out as UTF-8 (the file is Windows-1252).
//
// API:
//   DataFileReader r(paths.ReadFile("Frames\\Hall.fme"));    // a project name, through the
//                                                          // PathResolver (53 when missing)
//   DataFileReader r = DataFileReader::FromFile(realPath);   // RuntimeError 53 when missing
//   DataFileReader r(bytes);                                  // from Windows-1252 bytes
//   r.ReadString() / ReadInteger() / ReadLong() / ReadSingle() / ReadDouble() / ReadBoolean()
//   r.ReadVariant()            // the field's own type: String, Boolean, Null, Date, number, Empty
//   r.Skip(n)                  // reads and drops n fields
//   r.Eof()                    // true when nothing is left to read
//   r.ReadLine()               // `Line Input #`: the rest of the line without its line end
//   r.SeparatorOrEndNext()     // true at the end or when the next field is kSeparator; the
//                              // read position does not move
// Errors (RuntimeError): 62 reading past the end, 13 text that is not a number (or Boolean),
// 6 a number out of range of Integer or Long.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/variant.h"

namespace sl {

class DataFileReader {
 public:
  static constexpr std::string_view kSeparator = "----- SEPARATOR -----";

  explicit DataFileReader(std::string windows1252Bytes);
  // Reads the whole file at a real (already resolved) path. RuntimeError 53 when there is no
  // such file, 75 when it cannot be read.
  static DataFileReader FromFile(const std::string& realPath);

  std::string ReadString();
  std::int16_t ReadInteger();  // rounds half to even
  std::int32_t ReadLong();     // rounds half to even
  float ReadSingle();
  double ReadDouble();
  bool ReadBoolean();
  Variant ReadVariant();
  void Skip(int count = 1);
  // Reads fields up to and including the next record separator (or to the end).
  void SkipRecord();

  bool Eof() const noexcept { return pos_ >= data_.size(); }
  std::string ReadLine();
  bool SeparatorOrEndNext();

  std::size_t Position() const noexcept { return pos_; }
  std::size_t Size() const noexcept { return data_.size(); }

 private:
  enum class FieldKind { Bare, Quoted, Hash };
  struct Field {
    std::string_view text;  // Windows-1252 bytes, without quotes (hash fields keep their #)
    FieldKind kind;
  };

  Field NextField();
  double FieldToNumber(const Field& f) const;
  void ConsumeDelimiter();

  std::string data_;
  std::size_t pos_ = 0;
};

}  // namespace sl

// Writer of the project's data-file notation, as the editor writes it (the classic `Write #`
// statement): strings in double quotes, numbers bare with "." as decimal point, #TRUE#/#FALSE#,
// #NULL#, dates as #yyyy-mm-dd hh:mm:ss#, empty values as nothing, fields of one line joined
// by commas, every line ended by CR LF. Texts are given as UTF-8 and written as Windows-1252
// (characters outside the code page become '?').
//
// API:
//   DataFileWriter w;
//   w.String("Hall").Integer(3).Boolean(true).EndLine();   // "Hall",3,#TRUE#<CR LF>
//   w.Value(variant);      // a Variant by its subtype
//   w.ExactNumber(0.1 + 0.2);   // 0.30000000000000004: reads back as the same Double
//   w.Line("text");        // a whole line as it stands (`Print #`), ended by CR LF
//   w.Bytes();             // the Windows-1252 bytes; save them with PathResolver::WriteFile
// A string cannot hold a double quote in this notation; one is written as '.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/variant.h"

namespace sl {

class DataFileWriter {
 public:
  DataFileWriter& String(std::string_view utf8);
  DataFileWriter& Integer(std::int32_t value);
  DataFileWriter& Number(double value);
  // A Double with as many digits as it needs to read back exactly: the 15 of `Write #` when they
  // are enough (so the text is the classic one), else 16 or 17.
  DataFileWriter& ExactNumber(double value);
  DataFileWriter& Boolean(bool value);
  DataFileWriter& Null();
  DataFileWriter& Empty();
  DataFileWriter& Date(double oleDate);
  DataFileWriter& Value(const Variant& value);
  DataFileWriter& EndLine();
  DataFileWriter& Line(std::string_view utf8);

  const std::string& Bytes() const noexcept { return bytes_; }

 private:
  void BeginField();

  std::string bytes_;
  bool lineHasField_ = false;
};

}  // namespace sl

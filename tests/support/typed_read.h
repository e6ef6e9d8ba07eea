// One read of a data file by kind number, so that tests and fuzz targets can drive a reader
// through every kind of read from a sequence of numbers.
#pragma once

#include "core/data_file_reader.h"

namespace sl::test {

// The kinds of read, numbered from 0: ReadString, ReadInteger, ReadLong, ReadBoolean,
// ReadVariant, a line (SeparatorOrEndNext then ReadLine), ReadSingle, ReadDouble, Skip(1).
constexpr unsigned kReadKinds = 9;

// Reads one field (or line) of kind `kind % kReadKinds`; may throw the reader's RuntimeError.
inline void ReadOfKind(DataFileReader& r, unsigned kind) {
  switch (kind % kReadKinds) {
    case 0:
      r.ReadString();
      break;
    case 1:
      r.ReadInteger();
      break;
    case 2:
      r.ReadLong();
      break;
    case 3:
      r.ReadBoolean();
      break;
    case 4:
      r.ReadVariant();
      break;
    case 5:
      r.SeparatorOrEndNext();
      r.ReadLine();
      break;
    case 6:
      r.ReadSingle();
      break;
    case 7:
      r.ReadDouble();
      break;
    default:
      r.Skip(1);
      break;
  }
}

}  // namespace sl::test

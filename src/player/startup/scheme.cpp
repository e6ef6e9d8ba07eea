// Reading a title-screen scheme file.
#include "player/startup/scheme.h"

#include "core/case_fold.h"
#include "core/data_file_reader.h"
#include "core/path_resolver.h"
#include "core/runtime_error.h"
#include "core/variant_convert.h"

namespace sl {

namespace {

std::optional<std::string> ReadPictureEntry(DataFileReader& reader) {
  std::string entry;
  try {
    entry = reader.ReadString();
  } catch (const RuntimeError&) {
    return std::nullopt;  // an unreadable entry counts as "[default]"
  }
  std::string lower = FoldCase(entry);
  if (lower == "[none]" || lower == "[default]") return std::nullopt;
  return entry;
}

void ReadColoursAndLogo(DataFileReader& reader, SchemeFile& s) {
  double count = ToDouble(reader.ReadVariant());
  if (count == 0) return;
  s.backColor = static_cast<std::uint32_t>(reader.ReadLong());
  s.titleColor = static_cast<std::uint32_t>(reader.ReadLong());
  s.labelColor = static_cast<std::uint32_t>(reader.ReadLong());
  if (count >= 4) s.buttonColor = static_cast<std::uint32_t>(reader.ReadLong());
  if (reader.Eof()) return;
  reader.Skip(3);
  s.hideTitle = ToDouble(reader.ReadVariant()) != 0;
  if (reader.Eof()) return;
  reader.Skip(1);
  s.logoStyle = reader.ReadInteger();
  s.logoPlacement = reader.ReadBoolean();
}

}  // namespace

SchemeFile ReadScheme(PathResolver& paths, const std::string& schemeFile) {
  SchemeFile s;
  std::optional<std::string> real = paths.Find(schemeFile);
  if (!real) return s;
  s.exists = true;
  try {
    DataFileReader reader = DataFileReader::FromFile(*real);
    reader.Skip(3);
    double n = ToDouble(reader.ReadVariant());
    if (n == 0) return s;
    s.valid = true;
    // Past the end every entry reads as "[default]"; only the four pictures of the window
    // matter then, so a huge count cannot make this loop run long.
    for (double i = 0; i < n; ++i) {
      if (reader.Eof() && i >= 4) break;
      s.pictures.push_back(ReadPictureEntry(reader));
    }
    ReadColoursAndLogo(reader, s);
  } catch (const RuntimeError&) {
    // What was read before the error stays.
  }
  return s;
}

}  // namespace sl

// A title-screen scheme: the "Scheme.txt" of a folder under the project's schemes folder names
// the pictures of the Start, Load and Exit buttons and of the background tile, the colours of
// the title window, whether the title is hidden and how the logo looks. ReadScheme reads what
// the file gives; the title window applies it (title_window.h).
//
// API:
//   SchemeFile s = ReadScheme(paths, schemesFolder + name + "\\Scheme.txt");
//   s.exists, s.valid, s.pictures[i] (nullopt = no picture), s.backColor, ...
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sl {

class PathResolver;

struct SchemeFile {
  bool exists = false;  // a missing file gives the plain text buttons
  bool valid = false;   // a picture count of 0 leaves the window as designed
  // One entry per picture: the file name inside the scheme's folder, or nullopt for "[none]",
  // "[default]" (any letter case) and entries that could not be read.
  std::vector<std::optional<std::string>> pictures;
  // The fields after the pictures, each present only when the file gave it. A field that could
  // not be read ends the reading; what was read before it stays.
  std::optional<std::uint32_t> backColor;
  std::optional<std::uint32_t> titleColor;
  std::optional<std::uint32_t> labelColor;
  std::optional<std::uint32_t> buttonColor;  // only with a colour count of 4 or more
  std::optional<bool> hideTitle;
  std::optional<std::int16_t> logoStyle;
  std::optional<bool> logoPlacement;
};

SchemeFile ReadScheme(PathResolver& paths, const std::string& schemeFile);

}  // namespace sl

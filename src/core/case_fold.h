// Letter-case folding of UTF-8 names, for matching file names, INI sections and keys without
// regard to case as Windows does. Folds ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic
// capitals to their small letters; other characters stay as they are.
//
// API:
//   FoldCase("Frames\\Pic.JPG")      -> "frames\\pic.jpg"
//   EqualsIgnoreCase(a, b)           -> FoldCase(a) == FoldCase(b), without allocating for ASCII
//   AsciiLower('Q') -> 'q', ToLowerAscii("MsgBox") -> "msgbox": only A-Z change, for names the
//   program and the script language define themselves (keywords, identifiers, commands)
#pragma once

#include <string>
#include <string_view>

namespace sl {

std::string FoldCase(std::string_view utf8);
void FoldCaseInto(std::string_view utf8, std::string& out);  // out is replaced
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
// <0, 0, >0 as the folded texts compare; ties broken by the unfolded texts, so a sort is total.
int CompareIgnoreCase(std::string_view a, std::string_view b);

constexpr char AsciiLower(char c) noexcept {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}
std::string ToLowerAscii(std::string_view s);

}  // namespace sl

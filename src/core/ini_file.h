// INI files with the classic profile-string semantics: "[section]" headers and "key=value"
// lines; sections and keys match without regard to case and the first match wins; the value is
// the text after '=' with blanks trimmed and one pair of enclosing double (or single) quotes
// removed; a missing file, section or key reads as the default. Writing replaces the first
// matching key line, or adds the key at the end of its section (the section at the end of the
// file), and keeps every other line as it was.
//
// Any text round-trips as a section name, a key or a value, so that a name from a game can
// neither write into another section nor go missing: a character the notation would misread
// (a line break; in names also '[', ']' and '=') is written as "\xHH", and so is a backslash
// that would otherwise read as the start of such an escape. Ordinary names and values are
// written as they are, and existing files read as before.
//
// API:
//   IniDocument doc(utf8Text);  doc.Get("General", "ScriptTimeOut") -> optional value
//   doc.GetString(section, key, defaultValue);  doc.Set(section, key, value);
//   doc.DeleteKey(section, key);  doc.Text()  -> lines joined by CR LF
//   ReadProfileString(paths, "Config\\More", "General", "ProcEncr", "")   // Windows-1252 file
//   WriteProfileString(paths, "Config\\More", "General", "ProcEncr", "1") // RuntimeError on
//   failure
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sl {

class PathResolver;

class IniDocument {
 public:
  IniDocument() = default;
  explicit IniDocument(std::string_view utf8Text);

  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  std::string GetString(std::string_view section, std::string_view key,
                        std::string_view defaultValue = {}) const;
  void Set(std::string_view section, std::string_view key, std::string_view value);
  bool DeleteKey(std::string_view section, std::string_view key);
  std::vector<std::string> Keys(std::string_view section) const;

  std::string Text() const;

 private:
  // Index of the first header line of the section, or npos.
  std::size_t FindSection(std::string_view section) const;
  // Index of the key's line in the section starting after `header`, or npos.
  std::size_t FindKey(std::size_t header, std::string_view key) const;
  std::size_t SectionEnd(std::size_t header) const;  // first line after the section

  std::vector<std::string> lines_;
};

std::string ReadProfileString(PathResolver& paths, std::string_view file, std::string_view section,
                              std::string_view key, std::string_view defaultValue = {});
void WriteProfileString(PathResolver& paths, std::string_view file, std::string_view section,
                        std::string_view key, std::string_view value);

}  // namespace sl

// Profile-string reading and writing of INI files.
#include "core/ini_file.h"

#include "core/case_fold.h"
#include "core/path_resolver.h"
#include "core/runtime_error.h"
#include "core/text_encoding.h"

namespace sl {

namespace {

constexpr std::size_t npos = std::string::npos;

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
    s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
    s.remove_suffix(1);
  return s;
}

// The name of a "[name]" line, or false when the line is no section header.
bool SectionName(std::string_view line, std::string_view& name) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return false;
  std::size_t close = line.find(']');
  name = Trim(line.substr(1, close == npos ? npos : close - 1));
  return true;
}

// The key and raw value of a "key=value" line, or false.
bool KeyLine(std::string_view line, std::string_view& key, std::string_view& value) {
  std::size_t eq = line.find('=');
  if (eq == npos) return false;
  key = Trim(line.substr(0, eq));
  value = Trim(line.substr(eq + 1));
  return true;
}

std::string Joined(std::string_view a, std::string_view b, std::string_view c) {
  std::string out;
  out.reserve(a.size() + b.size() + c.size());
  out.append(a).append(b).append(c);
  return out;
}

// ---- Escapes ----

enum class TextRole { Name, Value };

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Characters that may be escaped: the ones the notation misreads and the backslash itself.
bool Escapable(char c) {
  return c == '\r' || c == '\n' || c == '[' || c == ']' || c == '=' || c == '\\';
}

// The character an escape "\xHH" at `i` stands for, or 0 when there is none there.
char EscapeAt(std::string_view text, std::size_t i) {
  if (i + 3 >= text.size() || text[i] != '\\' || text[i + 1] != 'x') return 0;
  int high = HexDigit(text[i + 2]), low = HexDigit(text[i + 3]);
  if (high < 0 || low < 0) return 0;
  char c = static_cast<char>(high * 16 + low);
  return Escapable(c) ? c : 0;
}

bool MustEscape(std::string_view text, std::size_t i, TextRole role) {
  char c = text[i];
  if (c == '\r' || c == '\n') return true;
  if (c == '\\') return EscapeAt(text, i) != 0;  // would read as an escape
  return role == TextRole::Name && (c == '[' || c == ']' || c == '=');
}

std::string Escape(std::string_view text, TextRole role) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!MustEscape(text, i, role)) {
      out.push_back(text[i]);
      continue;
    }
    auto byte = static_cast<unsigned char>(text[i]);
    out.append("\\x").push_back(kHex[byte >> 4]);
    out.push_back(kHex[byte & 15]);
  }
  return out;
}

std::string Unescape(std::string_view text) {
  if (text.find("\\x") == npos) return std::string(text);
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (char c = EscapeAt(text, i)) {
      out.push_back(c);
      i += 3;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

// A section name or key as it stands in the file: blanks at the ends dropped, as the classic
// lookup drops them, and the rest escaped.
std::string FileName(std::string_view name) {
  return Escape(Trim(name), TextRole::Name);
}

std::string_view StripQuotes(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    return v.substr(1, v.size() - 2);
  }
  return v;
}

}  // namespace

IniDocument::IniDocument(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t end = i;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n')
      ++end;
    lines_.emplace_back(text.substr(i, end - i));
    i = end;
    if (i < text.size() && text[i] == '\r') ++i;
    if (i < text.size() && text[i] == '\n') ++i;
  }
}

std::size_t IniDocument::FindSection(std::string_view section) const {
  std::string want = FileName(section);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    std::string_view name;
    if (SectionName(lines_[i], name) && EqualsIgnoreCase(name, want)) return i;
  }
  return npos;
}

std::size_t IniDocument::SectionEnd(std::size_t header) const {
  std::size_t i = header + 1;
  std::string_view name;
  while (i < lines_.size() && !SectionName(lines_[i], name))
    ++i;
  return i;
}

std::size_t IniDocument::FindKey(std::size_t header, std::string_view key) const {
  std::string want = FileName(key);
  std::size_t end = SectionEnd(header);
  for (std::size_t i = header + 1; i < end; ++i) {
    std::string_view k, v;
    if (KeyLine(lines_[i], k, v) && EqualsIgnoreCase(k, want)) return i;
  }
  return npos;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
  std::size_t header = FindSection(section);
  if (header == npos) return std::nullopt;
  std::size_t line = FindKey(header, key);
  if (line == npos) return std::nullopt;
  std::string_view k, v;
  KeyLine(lines_[line], k, v);
  return Unescape(StripQuotes(v));
}

std::string IniDocument::GetString(std::string_view section, std::string_view key,
                                   std::string_view defaultValue) const {
  auto v = Get(section, key);
  return v ? std::move(*v) : std::string(defaultValue);
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  std::string fileValue = Escape(value, TextRole::Value);
  std::string newLine = Joined(FileName(key), "=", fileValue);
  std::size_t header = FindSection(section);
  if (header == npos) {
    if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.emplace_back();
    lines_.push_back(Joined("[", FileName(section), "]"));
    lines_.push_back(std::move(newLine));
    return;
  }
  std::size_t line = FindKey(header, key);
  if (line != npos) {
    std::string_view k, v;
    KeyLine(lines_[line], k, v);
    lines_[line] = Joined(k, "=", fileValue);  // keeps the key's own spelling
    return;
  }
  std::size_t at = SectionEnd(header);
  while (at > header + 1 && Trim(lines_[at - 1]).empty())
    --at;  // after the section's last non-blank line
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(newLine));
}

bool IniDocument::DeleteKey(std::string_view section, std::string_view key) {
  std::size_t header = FindSection(section);
  if (header == npos) return false;
  std::size_t line = FindKey(header, key);
  if (line == npos) return false;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(line));
  return true;
}

std::vector<std::string> IniDocument::Keys(std::string_view section) const {
  std::vector<std::string> keys;
  std::size_t header = FindSection(section);
  if (header == npos) return keys;
  std::size_t end = SectionEnd(header);
  for (std::size_t i = header + 1; i < end; ++i) {
    std::string_view k, v;
    if (KeyLine(lines_[i], k, v)) keys.push_back(Unescape(k));
  }
  return keys;
}

std::string IniDocument::Text() const {
  std::string out;
  for (const auto& line : lines_) {
    out += line;
    out += "\r\n";
  }
  return out;
}

std::string ReadProfileString(PathResolver& paths, std::string_view file, std::string_view section,
                              std::string_view key, std::string_view defaultValue) {
  std::string bytes;
  try {
    bytes = paths.ReadFile(file);
  } catch (const RuntimeError&) {
    return std::string(defaultValue);
  }
  return IniDocument(Windows1252ToUtf8(bytes)).GetString(section, key, defaultValue);
}

void WriteProfileString(PathResolver& paths, std::string_view file, std::string_view section,
                        std::string_view key, std::string_view value) {
  std::string bytes;
  if (paths.FileExists(file)) bytes = paths.ReadFile(file);
  IniDocument doc(Windows1252ToUtf8(bytes));
  doc.Set(section, key, value);
  paths.WriteFile(file, Utf8ToWindows1252(doc.Text()));
}

}  // namespace sl

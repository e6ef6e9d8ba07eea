// The per-user settings file.
#include "core/settings_store.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "core/file_io.h"
#include "core/runtime_error.h"

namespace sl {

namespace {

// Escapes what the INI notation would lose: line breaks and backslashes always, and the whole
// value is quoted when it has blanks at an end or is itself enclosed in quotes.
std::string Escape(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (char c : value) {
    if (c == '\\')
      out += "\\\\";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\r')
      out += "\\r";
    else
      out.push_back(c);
  }
  bool blankEnd = !out.empty() && (out.front() == ' ' || out.front() == '\t' || out.back() == ' ' ||
                                   out.back() == '\t');
  bool quoted =
      out.size() >= 2 && (out.front() == '"' || out.front() == '\'') && out.back() == out.front();
  if (blankEnd || quoted) out = "\"" + out + "\"";
  return out;
}

std::string Unescape(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    char c = value[i];
    if (c == '\\' && i + 1 < value.size()) {
      char n = value[++i];
      out.push_back(n == 'n' ? '\n' : n == 'r' ? '\r' : n);
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::string ReadIfPresent(const std::string& path) {
  try {
    return ReadWholeFile(path);
  } catch (const RuntimeError&) {
    return {};
  }
}

}  // namespace

SettingsStore::SettingsStore(std::string filePath) : filePath_(std::move(filePath)) {
  // A write killed half-way leaves its temporary file; the next start clears those away.
  RemoveStaleTemporaries(filePath_);
  doc_ = IniDocument(ReadIfPresent(filePath_));
}

std::string SettingsStore::DefaultPath() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (xdg && *xdg == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home && *home ? home : ".") + "/.config";
  }
  return base + "/storyloom/settings.ini";
}

std::string SettingsStore::Get(std::string_view section, std::string_view key,
                               std::string_view defaultValue) const {
  auto v = doc_.Get(section, key);
  return v ? Unescape(*v) : std::string(defaultValue);
}

bool SettingsStore::Save(std::string_view section, std::string_view key, std::string_view value) {
  doc_.Set(section, key, Escape(value));
  bool written = Write();
  if (observer_) observer_(std::string(section), std::string(key), std::string(value));
  return written;
}

bool SettingsStore::Delete(std::string_view section, std::string_view key) {
  if (key.empty()) {
    // No key: the whole section goes.
    bool any = false;
    for (const std::string& k : doc_.Keys(section))
      any = doc_.DeleteKey(section, k) || any;
    return !any || Write();
  }
  if (!doc_.DeleteKey(section, key)) return true;
  return Write();
}

bool SettingsStore::Write() const {
  std::error_code ec;
  std::filesystem::path parent = std::filesystem::path(filePath_).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent, ec);
  return WriteFileAtomically(filePath_, doc_.Text());
}

}  // namespace sl

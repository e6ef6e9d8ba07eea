// libFuzzer target: INI files and the per-user settings file. The input is read as an INI file
// (both as a project's Windows-1252 file and as the UTF-8 settings file); then a section, key
// and value cut from the input are written and must be read back unchanged, and the file must
// keep every other section's keys.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ini_file.h"
#include "core/settings_store.h"
#include "core/text_encoding.h"

namespace {

// A settings file of this process's own, on a memory file system when there is one.
const std::string& SettingsFile() {
  static const std::string file = [] {
    std::filesystem::path base = std::filesystem::exists("/dev/shm")
                                     ? std::filesystem::path("/dev/shm")
                                     : std::filesystem::temp_directory_path();
    return (base / ("storyloom-ini-fuzz-" + std::to_string(getpid()) + ".ini")).string();
  }();
  return file;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

// A value the classic lookup gives back as it was: no blanks at the ends, not in quotes.
bool PlainValue(std::string_view v) {
  if (v.empty()) return true;
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  if (blank(v.front()) || blank(v.back())) return false;
  return !(v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  // The last three pieces after a 0x1F byte are the section, key and value to write.
  std::string_view pieces[3];
  std::string_view file = text;
  for (int i = 2; i >= 0; --i) {
    std::size_t cut = file.rfind('\x1F');
    if (cut == std::string_view::npos) break;
    pieces[i] = file.substr(cut + 1);
    file = file.substr(0, cut);
  }
  sl::IniDocument doc(sl::Windows1252ToUtf8(file));
  doc.Get("General", "ScriptTimeOut");
  std::string section(pieces[0]), key(pieces[1]), value(pieces[2]);
  std::vector<std::string> othersBefore = doc.Keys("General");
  doc.Set(section, key, value);
  sl::IniDocument again(doc.Text());
  std::optional<std::string> read = again.Get(section, key);
  Check(read.has_value());
  if (PlainValue(value)) Check(*read == value);
  // Whether the section written is "General" is the document's own matching to say.
  sl::IniDocument probe;
  probe.Set(section, "k", "v");
  if (!probe.Get("General", "k")) Check(again.Keys("General") == othersBefore);
  again.DeleteKey(section, key);

  sl::IniDocument(file).Get(section, key);
  {
    std::FILE* f = std::fopen(SettingsFile().c_str(), "wb");
    if (!f) return 0;
    std::fwrite(file.data(), 1, file.size(), f);
    std::fclose(f);
  }
  sl::SettingsStore store(SettingsFile());
  store.Get(section, key);
  if (store.Save(section, key, value)) {
    sl::SettingsStore reread(SettingsFile());
    Check(reread.Get(section, key) == value);
  }
  return 0;
}

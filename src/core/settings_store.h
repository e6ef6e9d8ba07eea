// The per-user settings store: string values by section and key (the classic "application,
// section, key" store, whose application is always the same for this program), kept in one
// UTF-8 INI file, by default $XDG_CONFIG_HOME/storyloom/settings.ini (~/.config when the
// variable is unset). Every change rewrites the file completely or not at all (temporary file,
// then rename); a settings file that is a symbolic link is written through, and temporary files
// of killed writes are removed at start. Values round-trip exactly: line breaks, backslashes,
// enclosing quotes and blanks at either end are escaped in the file; section names and keys
// are escaped by the INI notation (see ini_file.h), so no name reaches into another section.
//
// API:
//   SettingsStore settings(SettingsStore::DefaultPath());   // loads the file if it exists
//   settings.Get("MyGame", "ChangeResolution", "1")
//   settings.Save("MyGame", "Path", "/home/me/game/")   // false when the file could not be
//                                                       // written (the value still holds)
//   settings.Delete("MyGame", "Path")                   // an empty key deletes the section
//   settings.SetObserver([](section, key, value) {...})  // after every Save, for the trace
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/ini_file.h"

namespace sl {

class SettingsStore {
 public:
  explicit SettingsStore(std::string filePath);
  static std::string DefaultPath();

  std::string Get(std::string_view section, std::string_view key,
                  std::string_view defaultValue = {}) const;
  bool Save(std::string_view section, std::string_view key, std::string_view value);
  bool Delete(std::string_view section, std::string_view key);

  using Observer = std::function<void(const std::string& section, const std::string& key,
                                      const std::string& value)>;
  void SetObserver(Observer observer) { observer_ = std::move(observer); }
  const std::string& FilePath() const noexcept { return filePath_; }

 private:
  bool Write() const;

  std::string filePath_;
  IniDocument doc_;
  Observer observer_;
};

}  // namespace sl

// The runtime's per-user settings (application, section, key) kept in the program's settings
// store. The player's own application ("Software") uses the section as it is; other
// applications (a script's GetSetting/SaveSetting) get the section "application\section", so
// their keys can never collide with the player's.
#pragma once

#include "core/settings_store.h"
#include "ui/platform.h"

namespace sl::sdl {

class StoredUserSettings final : public ui::UserSettings {
 public:
  // `store` must outlive this object.
  explicit StoredUserSettings(SettingsStore& store) : store_(store) {}

  std::optional<std::string> Get(std::string_view app, std::string_view section,
                                 std::string_view key) override;
  void Save(std::string_view app, std::string_view section, std::string_view key,
            std::string_view value) override;
  // Deleting a whole section (empty key) is not supported by the store and does nothing.
  void Delete(std::string_view app, std::string_view section, std::string_view key) override;

  static std::string SectionFor(std::string_view app, std::string_view section);

 private:
  SettingsStore& store_;
};

}  // namespace sl::sdl

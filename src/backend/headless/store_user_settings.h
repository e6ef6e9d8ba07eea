// The platform's per-user settings over the settings store: one store for the whole program,
// so the application name of the classic store is not part of the key.
#pragma once

#include "core/settings_store.h"
#include "ui/platform.h"

namespace sl {

class StoreUserSettings final : public ui::UserSettings {
 public:
  explicit StoreUserSettings(SettingsStore& store) : store_(store) {}

  std::optional<std::string> Get(std::string_view app, std::string_view section,
                                 std::string_view key) override;
  void Save(std::string_view app, std::string_view section, std::string_view key,
            std::string_view value) override;
  void Delete(std::string_view app, std::string_view section, std::string_view key) override;

 private:
  SettingsStore& store_;
};

}  // namespace sl

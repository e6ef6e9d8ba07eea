// The platform's per-user settings over the settings store: one store for the whole program,
// so the application name of the classic store is not part of the key.
#pragma once

#include <functional>

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

  // Told of every deletion (the store's own observer hears only of saved values); an empty key
  // is the whole section.
  using DeleteObserver = std::function<void(std::string_view section, std::string_view key)>;
  void SetDeleteObserver(DeleteObserver observer) { deleted_ = std::move(observer); }

 private:
  SettingsStore& store_;
  DeleteObserver deleted_;
};

}  // namespace sl

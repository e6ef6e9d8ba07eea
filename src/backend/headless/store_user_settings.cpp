// Per-user settings over the settings store (see store_user_settings.h).
#include "backend/headless/store_user_settings.h"

namespace sl {

std::optional<std::string> StoreUserSettings::Get(std::string_view, std::string_view section,
                                                  std::string_view key) {
  // The store answers with a default for a missing key; a key is missing only when two
  // different defaults both come back.
  std::string value = store_.Get(section, key, "\x01");
  if (value == "\x01" && store_.Get(section, key, "\x02") == "\x02") return std::nullopt;
  return value;
}

void StoreUserSettings::Save(std::string_view, std::string_view section, std::string_view key,
                             std::string_view value) {
  store_.Save(section, key, value);
}

void StoreUserSettings::Delete(std::string_view, std::string_view section, std::string_view key) {
  store_.Delete(section, key);
  if (deleted_) deleted_(section, key);
}

}  // namespace sl

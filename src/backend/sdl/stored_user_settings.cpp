// Per-user settings through the settings store.
#include "backend/sdl/stored_user_settings.h"

namespace sl::sdl {

namespace {
constexpr std::string_view kPlayerApp = "Software";
}

std::string StoredUserSettings::SectionFor(std::string_view app, std::string_view section) {
  if (app == kPlayerApp) return std::string(section);
  return std::string(app) + "\\" + std::string(section);
}

std::optional<std::string> StoredUserSettings::Get(std::string_view app, std::string_view section,
                                                   std::string_view key) {
  std::string s = SectionFor(app, section);
  // The store answers with a default for missing keys; a key is missing only when two
  // different defaults both come back.
  std::string a = store_.Get(s, key, "\x01");
  if (a != "\x01") return a;
  std::string b = store_.Get(s, key, "\x02");
  if (b != "\x02") return b;
  return std::nullopt;
}

void StoredUserSettings::Save(std::string_view app, std::string_view section, std::string_view key,
                              std::string_view value) {
  store_.Save(SectionFor(app, section), key, value);
}

void StoredUserSettings::Delete(std::string_view app, std::string_view section,
                                std::string_view key) {
  if (key.empty()) return;
  store_.Delete(SectionFor(app, section), key);
}

}  // namespace sl::sdl

// Per-game desktop choices in the settings.
#include "app/desktop_choices.h"

#include <filesystem>
#include <system_error>

#include "core/settings_store.h"

namespace sl {

namespace {

constexpr const char* kSectionPrefix = "Storyloom Desktop ";
constexpr const char* kFullscreenKey = "FullScreen";
constexpr const char* kScaleKey = "Scale";

std::string SectionOf(const std::string& gameFolder) {
  std::error_code ec;
  std::filesystem::path folder = std::filesystem::absolute(gameFolder, ec);
  std::string name = (ec ? std::filesystem::path(gameFolder) : folder).lexically_normal().string();
  while (name.size() > 1 && name.back() == '/')
    name.pop_back();
  // A section name ends at the first ']' of its line.
  for (char& c : name) {
    if (c == ']' || c == '\n' || c == '\r') c = '_';
  }
  return kSectionPrefix + name;
}

void SaveIfChanged(SettingsStore& settings, const std::string& section, const char* key,
                   const std::string& value) {
  if (settings.Get(section, key, "\n") != value) settings.Save(section, key, value);
}

}  // namespace

DesktopChoices ChooseDesktop(const CommandLineOptions& options, SettingsStore& settings,
                             const std::string& gameFolder) {
  std::string section = SectionOf(gameFolder);
  DesktopChoices c;
  std::string full = settings.Get(section, kFullscreenKey, "");
  if (full == "1" || full == "0") c.fullscreen = full == "1";
  c.scale = ui::ParseScaleMode(settings.Get(section, kScaleKey, "")).value_or(ui::ScaleMode::Auto);
  if (options.fullscreen) {
    c.fullscreen = *options.fullscreen;
    SaveIfChanged(settings, section, kFullscreenKey, c.fullscreen.value() ? "1" : "0");
  }
  if (options.scale) {
    c.scale = *options.scale;
    SaveIfChanged(settings, section, kScaleKey, std::string(ui::ScaleModeName(c.scale)));
  }
  return c;
}

void RememberFullscreen(SettingsStore& settings, const std::string& gameFolder, bool fullscreen) {
  SaveIfChanged(settings, SectionOf(gameFolder), kFullscreenKey, fullscreen ? "1" : "0");
}

}  // namespace sl

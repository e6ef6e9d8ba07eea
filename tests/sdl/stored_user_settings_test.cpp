// The runtime's per-user settings kept in the settings store file.
#include "backend/sdl/stored_user_settings.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace sl::sdl {
namespace {

TEST(StoredUserSettings, MissingKeysAreNotEmptyValues) {
  test::TempFolder dir;
  SettingsStore store(dir / "settings.ini");
  StoredUserSettings settings(store);
  EXPECT_EQ(settings.Get("Software", "Game", "Path"), std::nullopt);
  settings.Save("Software", "Game", "Path", "");
  EXPECT_EQ(settings.Get("Software", "Game", "Path"), std::optional<std::string>(""));
  // Values that look like the store's internal defaults are values too.
  settings.Save("Software", "Game", "Odd", "\x01");
  EXPECT_EQ(settings.Get("Software", "Game", "Odd"), std::optional<std::string>("\x01"));
}

TEST(StoredUserSettings, SurvivesAReloadAndDeletes) {
  test::TempFolder dir;
  {
    SettingsStore store(dir / "settings.ini");
    StoredUserSettings settings(store);
    settings.Save("Software", "Game", "ChangeResolution", "0");
    settings.Save("Software", "Game", "Path", "/home/me/game/");
    settings.Delete("Software", "Game", "Path");
    settings.Delete("Software", "Game", "Never");  // missing keys are no error
  }
  SettingsStore store(dir / "settings.ini");
  StoredUserSettings settings(store);
  EXPECT_EQ(settings.Get("Software", "Game", "ChangeResolution"), std::optional<std::string>("0"));
  EXPECT_EQ(settings.Get("Software", "Game", "Path"), std::nullopt);
}

TEST(StoredUserSettings, OtherApplicationsKeepTheirOwnSections) {
  test::TempFolder dir;
  SettingsStore store(dir / "settings.ini");
  StoredUserSettings settings(store);
  settings.Save("Software", "Game", "Key", "player");
  settings.Save("MyScript", "Game", "Key", "script");
  EXPECT_EQ(settings.Get("Software", "Game", "Key"), std::optional<std::string>("player"));
  EXPECT_EQ(settings.Get("MyScript", "Game", "Key"), std::optional<std::string>("script"));
  EXPECT_EQ(store.Get("Game", "Key"), "player");
  EXPECT_EQ(store.Get("MyScript\\Game", "Key"), "script");
}

}  // namespace
}  // namespace sl::sdl

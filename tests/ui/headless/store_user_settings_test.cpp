// The platform's settings over the real settings store, and the `setting` records its observer
// writes.
#include "backend/headless/store_user_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "backend/headless/trace.h"
#include "support/temp_folder.h"

namespace sl {
namespace {

TEST(StoreUserSettings, MissingKeysAreToldApartFromAnyStoredValue) {
  test::TempFolder dir;
  auto file = std::filesystem::path(dir / "settings.ini");
  SettingsStore store(file.string());
  std::ostringstream out;
  VirtualClock clock{CivilTime{}};
  Trace trace(out, clock);
  store.SetObserver([&](const std::string& s, const std::string& k, const std::string& v) {
    trace.Setting(s, k, v);
  });
  StoreUserSettings settings(store);
  settings.SetDeleteObserver(
      [&](std::string_view s, std::string_view k) { trace.SettingDeleted(s, k); });
  EXPECT_EQ(settings.Get("App", "Game", "Path"), std::nullopt);
  settings.Save("App", "Game", "Path", "/home/me/game/");
  settings.Save("App", "Game", "Odd", "\x01");
  settings.Save("App", "Game", "Empty", "");
  EXPECT_EQ(settings.Get("App", "Game", "Path"), "/home/me/game/");
  EXPECT_EQ(settings.Get("App", "Game", "Odd"), "\x01");
  EXPECT_EQ(settings.Get("App", "Game", "Empty"), "");
  settings.Delete("App", "Game", "Path");
  EXPECT_EQ(settings.Get("App", "Game", "Path"), std::nullopt);
  settings.Delete("App", "Game", "");
  EXPECT_EQ(settings.Get("App", "Game", "Odd"), std::nullopt);
  EXPECT_EQ(out.str(),
            R"({"t":0,"ev":"setting","section":"Game","key":"Path","value":"/home/me/game/"})"
            "\n"
            R"({"t":0,"ev":"setting","section":"Game","key":"Odd","value":"\u0001"})"
            "\n"
            R"({"t":0,"ev":"setting","section":"Game","key":"Empty","value":""})"
            "\n"
            R"({"t":0,"ev":"setting","section":"Game","key":"Path","value":null})"
            "\n"
            R"({"t":0,"ev":"setting","section":"Game","key":null,"value":null})"
            "\n");
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace sl

// The desktop choices of a game: remembered per game, chosen anew on the command line.
#include "app/desktop_choices.h"

#include <gtest/gtest.h>

#include "core/settings_store.h"
#include "support/temp_folder.h"

namespace sl {
namespace {

TEST(DesktopChoices, AreRememberedPerGameAndTheCommandLineChoosesAnew) {
  test::TempFolder temp;
  SettingsStore settings(temp / "settings.ini");
  CommandLineOptions none;
  DesktopChoices first = ChooseDesktop(none, settings, temp / "lighthouse");
  EXPECT_FALSE(first.fullscreen);
  EXPECT_EQ(first.scale, ui::ScaleMode::Auto);

  CommandLineOptions chosen;
  chosen.fullscreen = false;
  chosen.scale = ui::ScaleMode::Smooth;
  DesktopChoices c = ChooseDesktop(chosen, settings, temp / "lighthouse");
  EXPECT_EQ(c.fullscreen, false);
  EXPECT_EQ(c.scale, ui::ScaleMode::Smooth);

  // The next run of that game, from another store reading the same file, keeps them; another
  // game does not have them.
  SettingsStore later(temp / "settings.ini");
  c = ChooseDesktop(none, later, temp / "lighthouse/");
  EXPECT_EQ(c.fullscreen, false);
  EXPECT_EQ(c.scale, ui::ScaleMode::Smooth);
  c = ChooseDesktop(none, later, temp / "crypt");
  EXPECT_FALSE(c.fullscreen);
  EXPECT_EQ(c.scale, ui::ScaleMode::Auto);

  // A switch while playing is remembered too.
  RememberFullscreen(later, temp / "lighthouse", true);
  EXPECT_EQ(ChooseDesktop(none, later, temp / "lighthouse").fullscreen, true);
  // A damaged value counts as no choice.
  later.Save("Storyloom Desktop " + (temp / "crypt"), "Scale", "sharp");
  EXPECT_EQ(ChooseDesktop(none, later, temp / "crypt").scale, ui::ScaleMode::Auto);
}

}  // namespace
}  // namespace sl

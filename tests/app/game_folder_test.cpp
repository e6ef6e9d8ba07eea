// The choice of the folder a run plays and the memory of the last game played.
#include "app/game_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/settings_store.h"
#include "support/temp_folder.h"

namespace sl {
namespace {

class GameFolderTest : public ::testing::Test {
 protected:
  std::string Game(const std::string& name) {
    dir.Write(name + "/config/GENERAL", "\"Name\"\r\n");  // any letter case will do
    return dir / name;
  }
  GameFolderChoice Choose(const std::vector<std::string>& args, const std::string& exeFolder) {
    return ChooseGameFolder(ParseCommandLine(args).options, exeFolder, settings);
  }

  test::TempFolder dir;
  SettingsStore settings{dir / "settings.ini"};
};

TEST_F(GameFolderTest, AFolderOnTheCommandLineIsPlayedWhateverItHolds) {
  std::string exe = Game("exe");
  GameFolderChoice c = Choose({"somewhere"}, exe);
  EXPECT_EQ(c.folder, "somewhere");
  EXPECT_EQ(c.problem, "");
}

TEST_F(GameFolderTest, WithoutOneTheGameBesideTheProgramComesBeforeTheLastGame) {
  RememberLastGame(settings, Game("last"));
  EXPECT_EQ(Choose({}, Game("exe")).folder, dir / "exe");
  EXPECT_EQ(Choose({}, dir / "nothing here").folder, dir / "last");
}

TEST_F(GameFolderTest, TheLastGameIsRememberedAsAWholePathInTheSettingsFile) {
  Game("last");
  // A relative name is taken from the working folder; the test's own folder is left again
  // before it is removed, so later tests do not run in a folder that no longer exists.
  std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  RememberLastGame(settings, "./last/");
  std::filesystem::current_path(before);
  EXPECT_EQ(SettingsStore(dir / "settings.ini").Get("Storyloom Player", "LastGame"), dir / "last");
}

TEST_F(GameFolderTest, NoGameToPlaySaysWhy) {
  GameFolderChoice none = Choose({}, dir.Path());
  EXPECT_EQ(none.folder, "");
  EXPECT_EQ(none.problem, "no game folder given, and none was played before");
  RememberLastGame(settings, Game("gone"));
  std::filesystem::remove_all(dir / "gone");
  GameFolderChoice gone = Choose({}, dir.Path());
  EXPECT_EQ(gone.folder, "");
  EXPECT_EQ(gone.problem,
            "no game folder given, and the last game played (" + dir / "gone" + ") is gone");
}

TEST_F(GameFolderTest, TheLineForAFolderThatIsNotAGameSaysWhatIsMissing) {
  dir.Write("file", "x");
  dir.Write("empty/Config/Texts", "");
  const std::string hint = " (see 'storyloom --help' for usage)\n";
  EXPECT_EQ(NotAGameMessage(dir / "no"), "storyloom: no such folder: " + dir / "no" + hint);
  EXPECT_EQ(NotAGameMessage(dir / "file"), "storyloom: not a folder: " + dir / "file" + hint);
  EXPECT_EQ(
      NotAGameMessage(dir / "empty"),
      "storyloom: " + dir / "empty" + " is not a Storyloom game: it has no Config/General" + hint);
  EXPECT_FALSE(IsGameFolder(dir / "empty"));
  EXPECT_TRUE(IsGameFolder(Game("game")));
}

}  // namespace
}  // namespace sl

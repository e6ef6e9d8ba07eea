// Where saved games are looked for and written, how they are listed, which names are refused,
// and the resume lookup.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <cstdlib>

#include "core/path_resolver.h"
#include "core/recording_message_box.h"
#include "player/savegame/resume_file.h"
#include "player/savegame/save_folders.h"
#include "player/savegame/save_name.h"
#include "player/startup/project.h"
#include "support/temp_folder.h"
#include "ui/controls/file_list_box.h"
#include "ui/fake_platform.h"
#include "ui/form.h"
#include "ui/window_manager.h"

namespace sl {
namespace {

using test::TempFolder;

// Sets a file's modification time to `seconds` after the epoch.
void Age(const std::string& path, long seconds) {
  utimbuf times{seconds, seconds};
  ASSERT_EQ(utime(path.c_str(), &times), 0) << path;
}

// A project in a temporary folder, with XDG_DATA_HOME pointing into it.
struct Folders {
  TempFolder dir;
  PathResolver paths;
  RecordingMessageBoxService boxes;
  Project project{paths, boxes};
  ui::test::FakePlatform platform;
  ui::WindowManager windows{platform};
  Ref<ui::Form> form = ui::Form::Create(windows, "frmLoadGame");
  ui::FileListBox& file1 = form->Add<ui::FileListBox>("File1");
  SaveFolders saves{project};
  std::string oldDataHome;

  Folders() {
    if (const char* d = std::getenv("XDG_DATA_HOME")) oldDataHome = d;
    setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
    dir.Write("game/Config/General", "\"My/Game\"\r\n");
    project.SetUpProject(dir / "game");
  }
  ~Folders() {
    windows.RemoveForm(form.get());
    if (oldDataHome.empty()) {
      unsetenv("XDG_DATA_HOME");
    } else {
      setenv("XDG_DATA_HOME", oldDataHome.c_str(), 1);
    }
  }
  std::string UserFolder() const { return dir / "data/storyloom/saves/My_Game/"; }
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const SavedGameFile& f : ListSavedGames(file1, saves))
      names.push_back(f.name);
    return names;
  }
};

TEST(SaveFolders, ListsBothFoldersOldestFirstAndLeavesOutWhatNoSavedGameIs) {
  Folders f;
  EXPECT_EQ(f.saves.UserFolder(), f.UserFolder());
  Age(f.dir.Write("game/b.sav", "x"), 3000);
  Age(f.dir.Write("game/A.SAV", "x"), 1000);
  Age(f.dir.Write("game/c.sav", "x"), 1000);  // as old as A: after it, as listed
  Age(f.dir.Write("game/.sav", "x"), 10);     // no name
  Age(f.dir.Write("game/tab\t.sav", "x"), 10);
  Age(f.dir.Write("game/notes.txt", "x"), 10);
  Age(f.dir.Write("data/storyloom/saves/My_Game/d.sav", "x"), 2000);
  EXPECT_EQ(f.Names(), (std::vector<std::string>{"A", "c", "d", "b"}));
  // A saved game of the player's folder stands for its name: listed once, at its own date.
  Age(f.dir.Write("data/storyloom/saves/My_Game/b.sav", "user"), 500);
  EXPECT_EQ(f.Names(), (std::vector<std::string>{"b", "A", "c", "d"}));
  EXPECT_EQ(f.saves.Find("B"), f.UserFolder() + "b.sav");
  EXPECT_EQ(f.saves.Find("a"), f.dir / "game/A.SAV");
  EXPECT_EQ(f.saves.Find("e"), std::nullopt);
  // Files that appear while the game runs are seen.
  f.dir.Write("game/e.sav", "x");
  EXPECT_EQ(f.saves.Find("e"), f.dir / "game/e.sav");
}

TEST(SaveFolders, WritesInTheProjectFolderOrInTheFileAlreadyThere) {
  Folders f;
  EXPECT_EQ(f.saves.WriteTarget("New"), f.dir / "game/New.sav");
  f.dir.Write("game/old.sav", "x");
  EXPECT_EQ(f.saves.WriteTarget("OLD"), f.dir / "game/old.sav");
  f.dir.Write("data/storyloom/saves/My_Game/Mine.sav", "x");
  EXPECT_EQ(f.saves.WriteTarget("Mine"), f.UserFolder() + "Mine.sav");
  EXPECT_TRUE(f.saves.Delete(f.UserFolder() + "Mine.sav"));
  EXPECT_FALSE(f.dir.Exists("data/storyloom/saves/My_Game/Mine.sav"));
  EXPECT_FALSE(f.saves.Delete(f.UserFolder() + "Mine.sav"));
}

TEST(SaveNames, RefusesWhatNoFileNameCanHoldWithTheCharacterMessage) {
  EXPECT_EQ(CheckSaveName("Before the door"), SaveNameCheck::Accepted);
  EXPECT_EQ(CheckSaveName("Zoë's game"), SaveNameCheck::Accepted);
  EXPECT_EQ(CheckSaveName(".."), SaveNameCheck::Accepted);  // the file "...sav" stays inside
  EXPECT_EQ(CheckSaveName(""), SaveNameCheck::Empty);
  for (const char* refused : {"a\\b", "a/b", "a:b", "a*", "a?", "say \"hi\"", "<a>", "a|b",
                              "one, two", "tab\there", "new\nline", "del\x7f", "c1\xc2\x85"}) {
    EXPECT_EQ(CheckSaveName(refused), SaveNameCheck::RefusedCharacter) << refused;
  }
  EXPECT_EQ(CheckSaveName(std::string(kMaxSaveNameBytes, 'x')), SaveNameCheck::Accepted);
  EXPECT_EQ(CheckSaveName(std::string(kMaxSaveNameBytes + 1, 'x')),
            SaveNameCheck::RefusedCharacter);
  EXPECT_EQ(SafeFolderName("../../etc"), ".._.._etc");
  EXPECT_EQ(SafeFolderName(".."), "_..");
  EXPECT_EQ(SafeFolderName(""), "_");
}

TEST(ResumeFile, TheLastPairOfTheSavedFrameInAnyLetterCaseWins) {
  TempFolder dir;
  PathResolver paths(dir.Path());
  auto resume = [&](const std::string& frame) {
    return GetResumeLocation(paths, dir.Path() + "/Config/", frame);
  };
  EXPECT_EQ(resume("Cellar"), "Cellar");  // no file
  dir.Write(
      "Config/Resume",
      "\"R\",0,0,0,0,0\r\n\"CELLAR\",\"Hall\"\r\n\"Garden\",\"\"\r\n\"cellar\",\"Attic\"\r\n");
  paths.Cache().Clear();
  EXPECT_EQ(resume("Cellar"), "Attic");
  EXPECT_EQ(resume("Garden"), "Garden");  // a pair without a target
  EXPECT_EQ(resume("Hall"), "Hall");
  EXPECT_EQ(resume(""), "");
  // A file that ends inside a pair redirects nothing, as one too short for its header.
  dir.Write("Config/Resume", "\"R\",0,0,0,0,0\r\n\"Cellar\",\"Hall\"\r\n\"Garden\"\r\n");
  EXPECT_EQ(resume("Cellar"), "Cellar");
  dir.Write("Config/Resume", "\"R\",0,0\r\n");
  EXPECT_EQ(resume("Cellar"), "Cellar");
}

}  // namespace
}  // namespace sl

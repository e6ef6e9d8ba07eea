#include "core/path_resolver.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "support/error_number.h"
#include "support/temp_folder.h"

namespace sl {
namespace {

using test::ErrorNumberOf;
using test::TempFolder;

class PathResolverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write("Frames/Pic.JPG", "jpg");
    dir.Write("Frames/Hall.fme", "1");
    dir.Write("Frames/hall.FME.bak", "2");
    dir.Write("FramesData/Sub Dir/Äpfel.txt", "a");
    dir.Write("Config/General", "g");
    dir.Write("exact.txt", "lower");
    dir.Write("EXACT.txt", "upper");
    paths.SetProjectFolder(dir.Path());
  }
  TempFolder dir;
  PathResolver paths;
};

TEST_F(PathResolverTest, MatchesEachComponentWithoutRegardToCase) {
  EXPECT_EQ(paths.Find("frames\\pic.jpg"), dir / "Frames/Pic.JPG");
  EXPECT_EQ(paths.Find("FRAMES/PIC.jpg"), dir / "Frames/Pic.JPG");
  EXPECT_EQ(paths.Find("framesdata\\SUB DIR\\äPFEL.TXT"), dir / "FramesData/Sub Dir/Äpfel.txt");
  EXPECT_EQ(paths.Find(dir.Path() + "/frames\\PIC.jpg"), dir / "Frames/Pic.JPG");
  EXPECT_EQ(paths.Find("Config\\..\\frames\\.\\hall.fme"), dir / "Frames/Hall.fme");
  EXPECT_FALSE(paths.Find("frames\\missing.jpg"));
  EXPECT_FALSE(paths.Find("nofolder\\pic.jpg"));
}

TEST_F(PathResolverTest, ExactMatchWinsOverOtherCase) {
  EXPECT_EQ(paths.Find("EXACT.txt"), dir / "EXACT.txt");
  EXPECT_EQ(paths.Find("exact.txt"), dir / "exact.txt");
  EXPECT_TRUE(paths.Find("Exact.TXT").has_value());
  EXPECT_EQ(paths.ReadFile("EXACT.txt"), "upper");
}

TEST_F(PathResolverTest, ExistenceDistinguishesFilesAndFolders) {
  EXPECT_TRUE(paths.FileExists("config\\GENERAL"));
  EXPECT_FALSE(paths.FileExists("config"));
  EXPECT_TRUE(paths.FolderExists("CONFIG\\"));
  EXPECT_FALSE(paths.FolderExists("config\\general"));
  EXPECT_EQ(ErrorNumberOf([&] { paths.ReadFile("config"); }), 53);
  EXPECT_EQ(ErrorNumberOf([&] { paths.ReadFile("config\\texts"); }), 53);
}

TEST_F(PathResolverTest, ListingsAreCaseInsensitiveAndSorted) {
  dir.Write("Saves/b.SAV", "");
  dir.Write("Saves/A.sav", "");
  dir.Write("Saves/c.sav", "");
  dir.Write("Saves/notes.txt", "");
  dir.Write("Saves/folder.sav/x", "");
  EXPECT_EQ(paths.ListFiles("saves\\*.sav"), (std::vector<std::string>{"A.sav", "b.SAV", "c.sav"}));
  EXPECT_EQ(paths.ListFiles("SAVES/?.SAV").size(), 3u);
  EXPECT_TRUE(paths.ListFiles("nowhere\\*.*").empty());
  EXPECT_EQ(paths.ListFiles("frames\\hall.fme"), (std::vector<std::string>{"Hall.fme"}));
}

TEST_F(PathResolverTest, OwnWritesAndDeletesKeepTheCacheCurrent) {
  std::vector<std::pair<FileOperation, std::string>> seen;
  paths.SetFileObserver([&](FileOperation op, const std::string& p) { seen.emplace_back(op, p); });
  EXPECT_TRUE(paths.ListFiles("*.sav").empty());  // the folder is now cached
  paths.WriteFile("My Game.sav", "data");
  EXPECT_EQ(paths.ListFiles("*.SAV"), (std::vector<std::string>{"My Game.sav"}));
  // Writing under another case replaces the existing file, as on Windows.
  paths.WriteFile("MY GAME.SAV", "new");
  EXPECT_EQ(dir.Read("My Game.sav"), "new");
  EXPECT_FALSE(dir.Exists("MY GAME.SAV"));
  // A new file in an existing folder of another case lands in that folder.
  paths.WriteFile("frames\\new.fme", "x");
  EXPECT_TRUE(dir.Exists("Frames/new.fme"));
  EXPECT_TRUE(paths.FileExists("FRAMES\\NEW.FME"));
  EXPECT_TRUE(paths.DeleteFile("my game.sav"));
  EXPECT_FALSE(paths.DeleteFile("my game.sav"));
  EXPECT_TRUE(paths.ListFiles("*.sav").empty());
  EXPECT_FALSE(dir.Exists("My Game.sav"));
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[3].first, FileOperation::Delete);
  EXPECT_EQ(seen[3].second, dir / "My Game.sav");
  EXPECT_EQ(ErrorNumberOf([&] { paths.WriteFile("no\\such\\folder.txt", "x"); }), 76);
}

TEST_F(PathResolverTest, WriteFileLeavesNoTemporaryFiles) {
  paths.WriteFile("out.txt", std::string(100000, 'z'));
  std::size_t count = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.Path())) {
    count += e.path().filename().string().rfind(".out.txt", 0) == 0;
  }
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(dir.Read("out.txt").size(), 100000u);
}

// A game folder beside a folder it must never reach: names that climb out, absolute names and
// links that lead out are missing to reads and refused to writes.
class PathResolverRootsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write("game/Frames/Hall.fme", "hall");
    dir.Write("game/Areas/Door.gif", "door");
    dir.Write("outside/evil.fme", "evil");
    dir.Write("outside/Secret.gif", "secret");
    paths.SetProjectFolder(dir / "game");
  }
  void Link(const std::string& target, const std::string& link) {
    ASSERT_EQ(symlink(target.c_str(), (dir / link).c_str()), 0);
  }
  TempFolder dir;
  PathResolver paths;
};

TEST_F(PathResolverRootsTest, NamesThatClimbOutAreMissingOrRefused) {
  std::string frames = dir / "game/Frames/";
  for (std::string name :
       {frames + "..\\..\\outside\\evil.fme", std::string("..\\outside\\evil.fme"),
        frames + "../../outside/Secret.gif", dir / "outside/evil.fme",
        std::string("\\..\\..\\..\\..\\..\\..\\etc\\passwd")}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(paths.Contains(name));
    EXPECT_FALSE(paths.Find(name));
    EXPECT_FALSE(paths.FileExists(name));
    EXPECT_EQ(ErrorNumberOf([&] { paths.ReadFile(name); }), 53);
    EXPECT_FALSE(paths.ResolveForWrite(name));
    EXPECT_EQ(ErrorNumberOf([&] { paths.WriteFile(name, "x"); }), 75);
    EXPECT_FALSE(paths.DeleteFile(name));
  }
  EXPECT_FALSE(paths.FolderExists(".."));
  EXPECT_TRUE(paths.ListFiles("..\\outside\\*.*").empty());
  EXPECT_EQ(dir.Read("outside/evil.fme"), "evil");
  // Climbing out and back in names a place inside: that is allowed.
  EXPECT_EQ(paths.Find(frames + "..\\..\\game\\areas\\door.gif"), dir / "game/Areas/Door.gif");
  EXPECT_TRUE(paths.Contains("Saves\\New.sav"));
  EXPECT_EQ(paths.ResolveForWrite("saves\\new.sav"), dir / "game/saves/new.sav");
}

TEST_F(PathResolverRootsTest, LinksMayNotLeadOut) {
  Link("../../outside", "game/Frames/Out");
  Link(dir / "outside/evil.fme", "game/Frames/Evil.fme");
  Link("/dev/zero", "game/Frames/Zero.fme");
  Link("Missing.fme", "game/Frames/Dangling.fme");
  Link("../Areas/Door.gif", "game/Frames/Door.gif");
  for (const char* name : {"Frames\\Out\\evil.fme", "frames\\evil.fme", "Frames\\Zero.fme",
                           "Frames\\Dangling.fme", "Frames\\Out"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(paths.Find(name));
    EXPECT_EQ(ErrorNumberOf([&] { paths.ReadFile(name); }), 53);
    EXPECT_EQ(ErrorNumberOf([&] { paths.WriteFile(name, "x"); }), 75);
  }
  EXPECT_EQ(ErrorNumberOf([&] { paths.WriteFile("Frames\\Out\\new.txt", "x"); }), 75);
  EXPECT_FALSE(dir.Exists("outside/new.txt"));
  EXPECT_EQ(dir.Read("outside/evil.fme"), "evil");
  EXPECT_EQ(paths.ListFiles("Frames\\*.*"), (std::vector<std::string>{"Door.gif", "Hall.fme"}));
  // A link that stays inside works, and writing through it keeps the link.
  EXPECT_EQ(paths.ReadFile("frames\\door.gif"), "door");
  paths.WriteFile("Frames\\Door.gif", "new door");
  EXPECT_EQ(dir.Read("game/Areas/Door.gif"), "new door");
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "game/Frames/Door.gif"));
}

TEST_F(PathResolverRootsTest, PipesAndDevicesAreNoFiles) {
  ASSERT_EQ(mkfifo((dir / "game/Frames/Pipe.fme").c_str(), 0600), 0);
  EXPECT_FALSE(paths.FileExists("Frames\\Pipe.fme"));
  EXPECT_FALSE(paths.Find("Frames\\Pipe.fme"));
  EXPECT_EQ(ErrorNumberOf([&] { paths.ReadFile("Frames\\Pipe.fme"); }), 53);  // does not block
  EXPECT_EQ(ErrorNumberOf([&] { paths.WriteFile("Frames\\Pipe.fme", "x"); }), 75);
  EXPECT_TRUE(paths.ListFiles("Frames\\*.fme") == std::vector<std::string>{"Hall.fme"});
}

TEST_F(PathResolverRootsTest, AddedRootsAreInside) {
  EXPECT_FALSE(paths.Find(dir / "outside/Secret.gif"));
  paths.AddRoot(dir / "outside");
  EXPECT_EQ(paths.Roots(), (std::vector<std::string>{dir / "game", dir / "outside"}));
  EXPECT_EQ(paths.Find(dir / "outside/secret.GIF"), dir / "outside/Secret.gif");
  EXPECT_EQ(paths.Find("..\\outside\\evil.fme"), dir / "outside/evil.fme");
  EXPECT_FALSE(paths.Find(dir.Path()));
  // A link from the project into another root leads inside.
  Link(dir / "outside/Secret.gif", "game/Areas/Secret.gif");
  EXPECT_EQ(paths.ReadFile("Areas\\Secret.gif"), "secret");
}

TEST(PathResolverNormalizeTest, DotsAndSeparators) {
  PathResolver paths("/game");
  EXPECT_EQ(paths.ProjectFolder(), "/game");
  EXPECT_EQ(paths.Normalize("Frames\\\\a.jpg"), "/game/Frames/a.jpg");
  EXPECT_EQ(paths.Normalize("..\\x"), "/x");
  EXPECT_EQ(paths.Normalize("..\\..\\..\\x"), "/x");
  EXPECT_EQ(paths.Normalize("/abs/./b/../c"), "/abs/c");
  EXPECT_EQ(paths.Normalize(""), "/game");
  EXPECT_EQ(paths.RelativeToProject("/game/Frames/a.jpg"), "Frames/a.jpg");
  EXPECT_EQ(paths.RelativeToProject("/gameover/a.jpg"), "/gameover/a.jpg");
  EXPECT_EQ(paths.RelativeToProject("/tmp/x"), "/tmp/x");
}

}  // namespace
}  // namespace sl

#include "core/path_resolver.h"

#include <gtest/gtest.h>

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

// Where screenshots go: the pictures folder from the environment, from the user's folder list,
// or below the home folder; names that never overwrite an earlier picture.
#include "backend/sdl/screenshot_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "support/temp_folder.h"

namespace sl::sdl {
namespace {

EnvironmentReader Env(std::map<std::string, std::string> vars) {
  return [vars = std::move(vars)](const char* name) -> const char* {
    auto it = vars.find(name);
    return it == vars.end() ? nullptr : it->second.c_str();
  };
}

TEST(ScreenshotFile, FolderFollowsTheEnvironmentThenTheUserDirsThenHome) {
  test::TempFolder temp;
  std::string home = temp.Path();
  EXPECT_EQ(ScreenshotFolder(Env({{"XDG_PICTURES_DIR", "/data/pics"}, {"HOME", home}})),
            "/data/pics/storyloom");
  // A relative value is not a folder the desktop names.
  EXPECT_EQ(ScreenshotFolder(Env({{"XDG_PICTURES_DIR", "pics"}, {"HOME", home}})),
            std::filesystem::path(home) / "Pictures" / "storyloom");
  std::filesystem::create_directories(temp / ".config");
  std::ofstream(temp / ".config/user-dirs.dirs") << "# written by xdg-user-dirs-update\n"
                                                 << "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                                 << "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n";
  EXPECT_EQ(ScreenshotFolder(Env({{"HOME", home}})),
            std::filesystem::path(home + "/Bilder") / "storyloom");
  // XDG_CONFIG_HOME says where that list is.
  EXPECT_EQ(ScreenshotFolder(Env({{"HOME", home}, {"XDG_CONFIG_HOME", home + "/none"}})),
            std::filesystem::path(home) / "Pictures" / "storyloom");
  EXPECT_EQ(ScreenshotFolder(Env({})), std::filesystem::path());
}

TEST(ScreenshotFile, UserDirsLinesAreReadAsTheDesktopWritesThem) {
  EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"/srv/pictures\"\n", "/home/a"),
            "/srv/pictures");
  EXPECT_EQ(PicturesDirFromUserDirs("  XDG_PICTURES_DIR=\"$HOME/Fotos/\"\r\n", "/home/a"),
            "/home/a/Fotos");
  // Set to the home folder itself, or to something that is no path: none.
  EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"$HOME/\"\n", "/home/a"), "");
  EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"Pictures\"\n", "/home/a"), "");
  EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=$HOME/Pictures\n", "/home/a"), "");
  EXPECT_EQ(PicturesDirFromUserDirs("#XDG_PICTURES_DIR=\"/x\"\nXDG_MUSIC_DIR=\"/m\"\n", "/h"), "");
  // The last line that names it counts.
  EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"/a\"\nXDG_PICTURES_DIR=\"/b\"\n", "/h"),
            "/b");
}

TEST(ScreenshotFile, NamesCarryTheTimeAndNeverOverwrite) {
  test::TempFolder temp;
  CivilTime t{2026, 3, 7, 9, 5, 4, 0};
  std::filesystem::path first = NewScreenshotPath(temp.Path(), t);
  EXPECT_EQ(first.filename(), "storyloom-2026-03-07-090504.png");
  std::ofstream(first) << "x";
  std::filesystem::path second = NewScreenshotPath(temp.Path(), t);
  EXPECT_EQ(second.filename(), "storyloom-2026-03-07-090504-2.png");
  std::ofstream(second) << "x";
  EXPECT_EQ(NewScreenshotPath(temp.Path(), t).filename(), "storyloom-2026-03-07-090504-3.png");
}

}  // namespace
}  // namespace sl::sdl

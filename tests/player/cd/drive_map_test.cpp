// Drive letters: the --cd values, the map's letters and the mount points searched for a game's
// CD folder.
#include "player/cd/drive_map.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace sl {
namespace {

TEST(DriveMapTest, CdOptionsNameAFolderWithOrWithoutALetterFromAToV) {
  DriveFolder d;
  ASSERT_TRUE(ParseDriveOption("/mnt/cd1", d));
  EXPECT_EQ(d.letter, 0);
  EXPECT_EQ(d.folder, "/mnt/cd1");
  ASSERT_TRUE(ParseDriveOption("e=/mnt/cd2", d));
  EXPECT_EQ(d.letter, 'E');
  EXPECT_EQ(d.folder, "/mnt/cd2");
  ASSERT_TRUE(ParseDriveOption("./copy=of", d));
  EXPECT_EQ(d.letter, 0);
  EXPECT_EQ(d.folder, "./copy=of");
  EXPECT_FALSE(ParseDriveOption("W=/mnt/cd", d));
  EXPECT_FALSE(ParseDriveOption("Z=/mnt/cd", d));
  EXPECT_FALSE(ParseDriveOption("D=", d));
  EXPECT_FALSE(ParseDriveOption("", d));
}

TEST(DriveMapTest, LettersFromDAreGivenInOrderAndOnlyAToVAreDrives) {
  test::TempFolder dir;
  DriveMap drives;
  EXPECT_TRUE(drives.Map('e', dir / "two"));
  EXPECT_EQ(drives.MapNext(dir / "one"), 'D');
  EXPECT_EQ(drives.MapNext(dir / "three"), 'F');
  EXPECT_FALSE(drives.Map('W', dir / "w"));
  EXPECT_FALSE(drives.Map('1', dir / "1"));
  EXPECT_EQ(drives.FolderOf('E'), dir / "two");
  EXPECT_EQ(drives.FolderOf('c'), std::nullopt);
  EXPECT_TRUE(drives.MapsFolder(dir / "three"));
  for (char letter = 'G'; letter <= 'V'; ++letter)
    EXPECT_EQ(drives.MapNext(dir / std::string(1, letter)), letter);
  EXPECT_EQ(drives.MapNext(dir / "no letter left"), 0);

  std::vector<Drive> listed = drives.Listed();
  ASSERT_EQ(listed.size(), 19u);
  EXPECT_EQ(listed.front().letter, 'D');
  EXPECT_EQ(listed.back().letter, 'V');
  EXPECT_EQ(listed.front().kind, DriveKind::Unknown);  // the folder is not there
  EXPECT_EQ(DriveKindDescription(DriveKind::CdRom), "(CD-Rom Drive)");
  EXPECT_EQ(DriveKindDescription(KindOfFolder(dir.Path())).empty(), false);
}

TEST(DriveMapTest, TheMountPointsHoldingTheGamesCdFolderAreFoundInOrder) {
  test::TempFolder root;
  root.Write("media/me/GAME_CD1/DATA/lighthouse/Frames/a.jpg", "");
  root.Write("media/me/Photos/DCIM/x.jpg", "");
  root.Write("run/media/me/CD2/Data/Lighthouse/Areas/b.wav", "");
  root.Write("media/cdrom0/Data/Lighthouse/x", "");
  root.Write("media/cdrom1/Data/Other/x", "");
  root.Write("media/floppy/Data/Lighthouse/x", "");  // not a place CDs are mounted
  root.Write("mnt/iso/Data/Lighthouse/x", "");
  root.Write("mnt/file", "");
  root.Write("media/you/CD/Data/Lighthouse/x", "");  // another user's
  std::vector<std::string> found = FindGameCds(root.Path(), "me", "Lighthouse");
  EXPECT_EQ(found, (std::vector<std::string>{root / "media/me/GAME_CD1", root / "run/media/me/CD2",
                                             root / "media/cdrom0", root / "mnt/iso"}));
  EXPECT_EQ(CdGameFolder(root / "media/me/GAME_CD1", "Lighthouse"),
            root / "media/me/GAME_CD1/DATA/lighthouse");
  // A title that is no plain folder name finds nothing.
  EXPECT_TRUE(FindGameCds(root.Path(), "me", "../Lighthouse").empty());
  EXPECT_TRUE(FindGameCds(root.Path(), "me", "..").empty());
  EXPECT_EQ(CdGameFolder(root / "media/me", "GAME_CD1/DATA"), std::nullopt);
  EXPECT_TRUE(FindGameCds(root / "nowhere", "me", "Lighthouse").empty());
}

}  // namespace
}  // namespace sl

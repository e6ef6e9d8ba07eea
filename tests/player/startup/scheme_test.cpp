// Scheme files: missing and invalid files, picture entries in any case, the colour count and
// files that end early.
#include "player/startup/scheme.h"

#include <gtest/gtest.h>

#include "core/path_resolver.h"
#include "support/temp_folder.h"

namespace sl {
namespace {

SchemeFile Read(const std::string& text) {
  test::TempFolder dir;
  dir.Write("Schemes/Harbour/Scheme.txt", text);
  PathResolver paths(dir.Path());
  return ReadScheme(paths, dir.Path() + "/Schemes/harbour/scheme.TXT");
}

TEST(SchemeTest, MissingFileIsReportedAsSuch) {
  test::TempFolder dir;
  PathResolver paths(dir.Path());
  SchemeFile s = ReadScheme(paths, dir.Path() + "/Schemes/None/Scheme.txt");
  EXPECT_FALSE(s.exists);
  EXPECT_FALSE(s.valid);
}

TEST(SchemeTest, ZeroPicturesMakesTheSchemeInvalid) {
  SchemeFile s = Read("\"a\",\"b\",\"c\",0,\"start.bmp\"\r\n");
  EXPECT_TRUE(s.exists);
  EXPECT_FALSE(s.valid);
  EXPECT_TRUE(s.pictures.empty());
}

TEST(SchemeTest, NoneAndDefaultInAnyCaseMeanNoPicture) {
  SchemeFile s =
      Read("\"a\",\"b\",\"c\",4,\"start.bmp\",\"[NONE]\",\"[Default]\",\"tile.jpg\",0\r\n");
  ASSERT_EQ(s.pictures.size(), 4u);
  EXPECT_EQ(s.pictures[0], "start.bmp");
  EXPECT_FALSE(s.pictures[1].has_value());
  EXPECT_FALSE(s.pictures[2].has_value());
  EXPECT_EQ(s.pictures[3], "tile.jpg");
  EXPECT_FALSE(s.backColor.has_value());
}

TEST(SchemeTest, ThreeColoursLeaveTheButtonColourUnset) {
  SchemeFile s = Read("\"a\",\"b\",\"c\",1,\"[none]\",3,255,65280,16711680\r\n");
  EXPECT_EQ(s.backColor, 255u);
  EXPECT_EQ(s.titleColor, 65280u);
  EXPECT_EQ(s.labelColor, 16711680u);
  EXPECT_FALSE(s.buttonColor.has_value());
  // The file ended right after the colours: title and logo stay as they were.
  EXPECT_FALSE(s.hideTitle.has_value());
  EXPECT_FALSE(s.logoStyle.has_value());
}

TEST(SchemeTest, FourColoursSetTheButtonColourAndTheRestFollows) {
  SchemeFile s = Read("\"a\",\"b\",\"c\",1,\"[none]\",4,1,2,3,4\r\n0,0,0,1\r\n0,1,#TRUE#\r\n");
  EXPECT_EQ(s.buttonColor, 4u);
  EXPECT_EQ(s.hideTitle, true);
  EXPECT_EQ(s.logoStyle, 1);
  EXPECT_EQ(s.logoPlacement, true);
}

TEST(SchemeTest, BadColourStopsReadingButKeepsWhatCameBefore) {
  SchemeFile s = Read("\"a\",\"b\",\"c\",1,\"x.bmp\",4,1,oops,3,4\r\n");
  EXPECT_EQ(s.pictures[0], "x.bmp");
  EXPECT_EQ(s.backColor, 1u);
  EXPECT_FALSE(s.titleColor.has_value());
}

TEST(SchemeTest, HugePictureCountDoesNotRunAway) {
  SchemeFile s = Read("\"a\",\"b\",\"c\",2000000000,\"x.bmp\"\r\n");
  EXPECT_TRUE(s.valid);
  EXPECT_EQ(s.pictures.size(), 4u);
  EXPECT_EQ(s.pictures[0], "x.bmp");
}

}  // namespace
}  // namespace sl

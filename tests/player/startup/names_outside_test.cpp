// Names in a game's data that lead outside its folder: a frame or a hotspot picture named
// "..\..\outside\..." is a missing file, whatever lies there.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/headless_run.h"

namespace sl {
namespace {

namespace fs = std::filesystem;

// Copies a fixture to `dir`/game, with `outside` beside it, and in its file `file` puts `to`
// in place of the text `from`.
std::string GameBesideOutside(const test::TempFolder& dir, const std::string& fixture,
                              const std::string& file, const std::string& from,
                              const std::string& to) {
  fs::copy(STORYLOOM_TEST_PROJECTS "/" + fixture, dir / "game", fs::copy_options::recursive);
  std::string bytes = dir.Read("game/" + file);
  std::size_t at = bytes.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) dir.Write("game/" + file, bytes.replace(at, from.size(), to));
  return dir / "game";
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string all;
  for (const std::string& line : lines)
    all += line + "\n";
  return all;
}

TEST(NamesOutsideTheGame, AFrameOutsideIsNotOpened) {
  test::TempFolder dir;
  std::string game = GameBesideOutside(dir, "game_frames", "Config/General", "\"Start\"",
                                       "\"..\\..\\outside\\evil\"");
  dir.Write("outside/evil.fme", dir.Read("game/Frames/Hall.fme"));
  dir.Write("outside/evil.lks", dir.Read("game/Frames/Hall.lks"));
  test::HeadlessRun run = test::RunHeadless(dir, game, "control lblButton(0)\nwait 100\ndump\n");
  EXPECT_EQ(run.status, 0);
  std::vector<std::string> boxes = test::Records(run.trace, "msgbox");
  ASSERT_EQ(boxes.size(), 1u) << Joined(run.trace);
  EXPECT_TRUE(test::Has(boxes[0], R"(The frame named \"..\\..\\outside\\evil\" was not found.)"))
      << boxes[0];
  std::vector<std::string> states = test::Records(run.trace, "state");
  ASSERT_EQ(states.size(), 1u);
  // The frame's timer (Hall goes on to C01 after a while) was never read.
  EXPECT_TRUE(test::Has(states[0], R"("frame_timer":{"enabled":false)")) << states[0];
}

TEST(NamesOutsideTheGame, AHotspotPictureOutsideIsMissing) {
  test::TempFolder dir;
  // The fixture starts on Room, whose hotspot 4 has a broken picture of its own.
  std::string game = GameBesideOutside(dir, "hotspots_game", "FramesData/Room.fm2", "\"crate.bmp\"",
                                       "\"..\\..\\outside\\Secret.bmp\"");
  dir.Write("outside/Secret.bmp", dir.Read("game/Areas/crate.bmp"));
  test::HeadlessRun run = test::RunHeadless(dir, game, "wait 100\n");
  EXPECT_EQ(run.status, 0);
  std::vector<std::string> boxes = test::Records(run.trace, "msgbox");
  ASSERT_EQ(boxes.size(), 3u) << Joined(run.trace);
  EXPECT_TRUE(test::Has(boxes[0], R"("text":"The following file is missing:\r\n)" + dir.Path() +
                                      R"(/game/Areas/..\\..\\outside\\Secret.bmp\r\n)"))
      << boxes[0];
  EXPECT_TRUE(test::Has(boxes[0], R"("icon":"exclamation")")) << boxes[0];
  EXPECT_TRUE(test::Has(boxes[1], "Unable to load hotspot #1. File not found")) << boxes[1];
  EXPECT_TRUE(test::Has(boxes[2], "Unable to load hotspot #4.")) << boxes[2];
}

}  // namespace
}  // namespace sl

// The storyloom program, headless, on the video fixture: the media command strings and video
// records of the trace, videos lasting their true length on the virtual clock, the picture of
// the moment in screenshots, and every way a wait for a video ends.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/headless_run.h"
#include "ui/draw/png_io.h"

namespace sl {
namespace {

using test::Has;

const std::string kFrames = STORYLOOM_TEST_PROJECTS "/video_game/Frames/";

struct VideoRun {
  std::vector<std::string> trace;
  // The mci and video records, without the mode polls of the waits.
  std::vector<std::string> media;
  int polls = 0;
  std::string alias;  // of the last video opened
};

VideoRun RunVideoGame(const test::TempFolder& dir, const std::string& events) {
  test::HeadlessRun run = test::RunHeadless(dir, "video_game", events, "--screen 640x480");
  EXPECT_EQ(run.status, 0);
  VideoRun r;
  r.trace = run.trace;
  for (const std::string& line : run.trace) {
    bool mci = Has(line, R"("ev":"mci")");
    if (mci && Has(line, R"(","cmd":"Status )") && Has(line, " mode\"}")) {
      ++r.polls;
      continue;
    }
    if (mci || Has(line, R"("ev":"video")")) r.media.push_back(line);
    // The alias of a video: "ALIAS <number> TYPE AviVideo".
    std::size_t at = line.find(" ALIAS ");
    std::size_t type = line.find(" TYPE AviVideo");
    if (at != std::string::npos && type != std::string::npos && type > at + 7)
      r.alias = line.substr(at + 7, type - at - 7);
  }
  return r;
}

std::string Mci(int t, const std::string& cmd) {
  return R"({"t":)" + std::to_string(t) + R"(,"ev":"mci","cmd":")" + cmd + R"("})";
}

std::string OpenCmd(const std::string& file, const std::string& alias, int window = 65552) {
  return R"(Open \")" + kFrames + file + R"(\" ALIAS )" + alias + " TYPE AviVideo wait parent " +
         std::to_string(window) + " style child";
}

std::string Video(int t, const std::string& op, const std::string& target, bool stretched,
                  const std::string& rect) {
  return R"({"t":)" + std::to_string(t) + R"(,"ev":"video","op":")" + op +
         R"(","file":"Frames/clip.avi","target":")" + target + R"(","stretched":)" +
         (stretched ? "true" : "false") + R"(,"rect":)" + rect + R"(,"duration":1.2})";
}

// The colour of picture k of clip.avi (see make_video_fixtures.py) and what a screenshot shows.
draw::Pixel PictureColour(int k) {
  return draw::PackPixel(static_cast<std::uint8_t>(k * 20), 0,
                         static_cast<std::uint8_t>(255 - k * 20), 255);
}
// A pixel of the frame picture, which lies in the middle of the 640 x 480 screen.
draw::Pixel At(const draw::Surface& shot, int x, int y) {
  return shot.GetPixel(160 + x, 120 + y);
}
constexpr draw::Pixel kBlack = draw::PackPixel(0, 0, 0, 255);

// Picture k of the clip fills rectangle `r` of the frame picture (corners checked), and black
// lies left and right of it.
void ExpectPictureIn(const std::string& png, draw::Rect r, int k) {
  draw::Surface shot = draw::LoadPng(png);
  EXPECT_EQ(At(shot, r.x, r.y), PictureColour(k)) << png;
  EXPECT_EQ(At(shot, r.Right() - 1, r.Bottom() - 1), PictureColour(k)) << png;
  EXPECT_EQ(At(shot, r.x - 1, r.y), kBlack) << png;
  EXPECT_EQ(At(shot, r.Right(), r.Bottom() - 1), kBlack) << png;
}

TEST(VideoRun, AFrameVideoPlaysItsTrueLengthAndEndsByItself) {
  test::TempFolder dir;
  VideoRun r = RunVideoGame(dir, "wait 2000\ndump\n");
  const std::string& a = r.alias;
  // The game's reset and the frame opening stop any video first.
  EXPECT_EQ(r.media, (std::vector<std::string>{
                         Mci(0, "Stop "),
                         Mci(0, "Close "),
                         Mci(0, "Stop "),
                         Mci(0, "Close "),
                         Mci(0, OpenCmd("clip.avi", a)),
                         Mci(0, "play " + a + " window"),
                         Video(0, "start", "PictureBox", false, "[0,0,32,24]"),
                         Video(1200, "end", "PictureBox", false, "[0,0,32,24]"),
                         Mci(1200, "Stop " + a),
                         Mci(1200, "Close " + a),
                     }));
  // The wait asks the mode a handful of times, not in a loop that spins.
  EXPECT_LE(r.polls, 8);
}

TEST(VideoRun, ScreenshotsShowThePictureOfTheMoment) {
  test::TempFolder dir;
  RunVideoGame(dir, "wait 550\nscreenshot " + dir / "mid.png" + "\nwait 1000\nscreenshot " +
                        dir / "after.png\n");
  ExpectPictureIn(dir / "mid.png", {0, 0, 32, 24}, 5);
  EXPECT_EQ(At(draw::LoadPng(dir / "after.png"), 0, 0), kBlack);
}

TEST(VideoRun, AClickOrEscEndsTheWaitWithoutRunningTheHotspot) {
  // A press on a hotspot lets 100 ms pass before the wait sees it.
  for (auto [stop, end] : {std::pair{"click 100 100", 400}, std::pair{"key Esc", 300},
                           std::pair{"click 10 10 right", 400}}) {
    test::TempFolder dir;
    VideoRun r = RunVideoGame(dir, std::string("wait 300\n") + stop + "\nwait 200\ndump\n");
    const std::string& a = r.alias;
    ASSERT_GE(r.media.size(), 2u) << stop;
    EXPECT_EQ(r.media[r.media.size() - 2], Mci(end, "Stop " + a)) << stop;
    EXPECT_EQ(r.media.back(), Mci(end, "Close " + a)) << stop;
    EXPECT_EQ(test::Records(r.trace, "video").size(), 1u) << stop;  // the start only
    std::vector<std::string> states = test::Records(r.trace, "state");
    ASSERT_EQ(states.size(), 1u);
    EXPECT_TRUE(Has(states[0], R"("frame":"Start")")) << stop;
    EXPECT_TRUE(Has(states[0], R"("menus":false)")) << stop;
  }
}

TEST(VideoRun, StretchedCutSceneAndEarlyVideos) {
  test::TempFolder dir;
  VideoRun r = RunVideoGame(dir,
                            "wait 1300\nclick 5 5\n"  // to Stretch
                            "wait 600\nscreenshot " +
                                dir /
                                    "stretch.png\n"          //
                                    "wait 700\nclick 5 5\n"  // to Cut
                                    "wait 600\nscreenshot " +
                                dir /
                                    "cut.png\n"              //
                                    "wait 700\nclick 5 5\n"  // to Early
                                    "wait 1300\nscreenshot " +
                                dir / "early.png\n");
  std::vector<std::string> videos = test::Records(r.trace, "video");
  ASSERT_EQ(videos.size(), 8u);
  EXPECT_EQ(videos[2], Video(1300, "start", "PictureBox", true, "[40,30,160,120]"));
  EXPECT_EQ(videos[4], Video(2600, "start", "CutSceneArea", false, "[0,0,32,24]"));
  EXPECT_EQ(videos[6], Video(3900, "start", "PictureBox", false, "[0,0,32,24]"));
  EXPECT_TRUE(Has(r.trace.back(), R"("ev":"exit")"));
  // The cut-scene area has its own window number.
  int cutOpens = 0;
  for (const std::string& line : r.media)
    cutOpens += Has(line, "parent 65554 style child");
  EXPECT_EQ(cutOpens, 1);

  ExpectPictureIn(dir / "stretch.png", {40, 30, 160, 120}, 6);
  // In the cut-scene area, at the video's own size in its top-left corner.
  ExpectPictureIn(dir / "cut.png", {100, 80, 32, 24}, 6);
  // After the early video the frame's red background shows.
  draw::Surface early = draw::LoadPng(dir / "early.png");
  EXPECT_EQ(At(early, 5, 5), draw::PackPixel(255, 0, 0, 255));
}

TEST(VideoRun, ActionVideosAndTheirStops) {
  test::TempFolder dir;
  VideoRun r =
      RunVideoGame(dir,
                   "wait 1300\nclick 5 5\nwait 1300\nclick 5 5\nwait 1300\nclick 5 5\n"
                   "wait 1300\nclick 5 5\nwait 1300\n"  // to Actions
                   "click 150 50\nwait 500\nscreenshot " +
                       dir /
                           "action.png\n"
                           "click 50 150\n"  // stops the stretched video; its own action waits
                           "wait 100\nclick 50 150\nwait 100\n"  // a file that does not decode
                           "dump\n"
                           "click 150 150\nwait 1500\ndump\n");  // a video, then to Start
  std::vector<std::string> states = test::Records(r.trace, "state");
  ASSERT_EQ(states.size(), 2u);
  EXPECT_TRUE(Has(states[0], R"("frame":"Actions")"));
  EXPECT_TRUE(Has(states[1], R"("frame":"Start")"));
  std::vector<std::string> videos = test::Records(r.trace, "video");
  // Frames: Start, Stretch, Cut, Early, each started and ended (8); the stretched action video
  // stopped by a click (1 start); the last action's video (start, end) and Start's again.
  ASSERT_GE(videos.size(), 12u);
  EXPECT_EQ(videos[8], Video(6500, "start", "PictureBox", true, "[10,20,64,48]"));
  EXPECT_TRUE(Has(videos[9], R"("op":"start")"));
  EXPECT_TRUE(Has(videos[10], R"("op":"end")"));
  ExpectPictureIn(dir / "action.png", {10, 20, 64, 48}, 5);
  // The broken file: opened, refused, and nothing waits for it.
  int brokenOpens = 0;
  for (const std::string& line : r.media)
    brokenOpens += Has(line, "broken.avi");
  EXPECT_EQ(brokenOpens, 1);
}

}  // namespace
}  // namespace sl

// The media command interpreter: its answers, devices per alias, video on the clock, and where
// a video shows in its control.
#include "player/media/mci_interpreter.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_folder.h"
#include "support/test_video.h"
#include "ui/controls/image.h"
#include "ui/controls/picture_box.h"
#include "ui/fake_platform.h"
#include "ui/form.h"
#include "ui/window_manager.h"

namespace sl {
namespace {

using test::Rgb;

struct Recorder final : MediaObserver {
  void MciCommandSent(const std::string& command) override { log.push_back("mci " + command); }
  void VideoStarted(const VideoRecord& v) override { log.push_back("start " + Describe(v)); }
  void VideoEnded(const VideoRecord& v) override { log.push_back("end " + Describe(v)); }
  static std::string Describe(const VideoRecord& v) {
    return std::filesystem::path(v.file).filename().string() + " " + v.target + " " +
           (v.stretched ? "stretched " : "") + std::to_string(v.rect.x) + "," +
           std::to_string(v.rect.y) + "," + std::to_string(v.rect.width) + "," +
           std::to_string(v.rect.height) + " " + std::to_string(v.durationMs);
  }
  std::vector<std::string> log;
};

class MciInterpreterTest : public ::testing::Test {
 protected:
  MciInterpreterTest() {
    // Pictures 0..9 of one colour each, 10 a second: the colour tells the picture shown.
    test::TestVideo v;
    v.width = 20;
    v.height = 12;
    v.pixel = [](int k, int, int) {
      return Rgb{static_cast<std::uint8_t>(k * 24), 0, static_cast<std::uint8_t>(255 - k * 24)};
    };
    test::WriteTestVideo(dir_ / "clip.avi", v);
    dir_.Write("notes.mid",
               std::string("MThd\0\0\0\6\0\0\0\1\0\x60MTrk\0\0\0\4\x60\xFF\x2F\0", 26));
    form_->SetBorderStyle(ui::BorderStyle::None);
    form_->Move(0, 0, 100 * 15, 60 * 15);
    box_.SetBorderStyle(0);
    box_.SetBackColor(0x00FF00);
    box_.Move(10 * 15, 5 * 15, 60 * 15, 40 * 15);
    cover_.SetBackColor(0xFFFFFF);
    cover_.SetBorderStyle(0);
    cover_.Move(0, 0, 5 * 15, 5 * 15);
    form_->Show(false);
    mci_.SetObserver(&rec_);
  }

  std::string Send(const std::string& command) { return mci_.SendString(command); }
  std::string OpenClip(const std::string& alias) {
    return Send("Open \"" + dir_ / "clip.avi" + "\" ALIAS " + alias +
                " TYPE AviVideo wait parent " + std::to_string(mci_.WindowHandle(box_)) +
                " style child");
  }
  // The form's pixel at (x, y) of its client area, as red and blue.
  std::pair<int, int> RedBlue(int x, int y) {
    const draw::Surface& s = windows_.Compose(*form_);
    draw::Pixel p = s.GetPixel(x, y);
    return {draw::PixelRed(p), draw::PixelBlue(p)};
  }
  // The colour of picture k.
  static std::pair<int, int> Picture(int k) { return {k * 24, 255 - k * 24}; }
  static void ExpectNear(std::pair<int, int> got, std::pair<int, int> want) {
    EXPECT_NEAR(got.first, want.first, 8);
    EXPECT_NEAR(got.second, want.second, 8);
  }

  test::TempFolder dir_;
  ui::test::FakePlatform platform_;
  ui::WindowManager windows_{platform_};
  ui::EventLoop& loop_ = windows_.Loop();
  Ref<ui::Form> form_ = ui::Form::Create(windows_, "Game");
  ui::PictureBox& box_ = form_->Add<ui::PictureBox>("PictureBox");
  ui::PictureBox& cover_ = form_->Add<ui::PictureBox>("Cover", &box_);
  Recorder rec_;
  MciInterpreter mci_{loop_,
                      [](const std::string& p) -> std::optional<std::string> {
                        if (!std::filesystem::exists(p)) return std::nullopt;
                        return p;
                      },
                      VideoPacing::Live};
};

TEST_F(MciInterpreterTest, AnswersOfAVideoDevice) {
  OpenClip("7");
  EXPECT_EQ(Send("Status 7 mode"), "stopped");
  EXPECT_EQ(Send("status 7 LENGTH"), "1000");
  EXPECT_EQ(Send("Status 7 position"), "0");
  Send("play 7 window");
  EXPECT_EQ(Send("Status 7 mode"), "playing");
  loop_.Sleep(250);
  EXPECT_EQ(Send("Status 7 position"), "250");
  Send("Pause 7");
  loop_.Sleep(100);
  EXPECT_EQ(Send("Status 7 mode"), "paused");
  EXPECT_EQ(Send("Status 7 position"), "250");
  Send("Play 7");
  loop_.Sleep(100);
  Send("Stop 7");
  EXPECT_EQ(Send("Status 7 mode"), "stopped");
  EXPECT_EQ(Send("Status 7 position"), "350");
  Send("Seek 7 to 900");
  EXPECT_EQ(Send("Status 7 position"), "900");
  Send("Close 7");
  EXPECT_EQ(Send("Status 7 mode"), "");
  EXPECT_EQ(Send("Status 7 length"), "");
}

TEST_F(MciInterpreterTest, UnknownAliasesCommandsAndFilesChangeNothing) {
  EXPECT_EQ(Send("Status  mode"), "");
  EXPECT_EQ(Send("Seek  to 1500"), "");
  EXPECT_EQ(Send("Close 12"), "");
  EXPECT_EQ(Send("Open \"" + dir_ / "none.avi" + "\" ALIAS 3 TYPE AviVideo wait"), "");
  EXPECT_EQ(Send("Status 3 mode"), "");
  dir_.Write("broken.avi", "RIFF not a video");
  Send("Open \"" + dir_ / "broken.avi" + "\" ALIAS 4 TYPE AviVideo wait");
  EXPECT_EQ(Send("Status 4 mode"), "");
  OpenClip("7");
  EXPECT_EQ(Send("frobnicate 7 now"), "");
  EXPECT_EQ(Send("Status 7 colour"), "");
  // An alias in use is not opened twice.
  Send("Open \"" + dir_ / "notes.mid" + "\" ALIAS 7 TYPE Sequencer wait");
  EXPECT_EQ(Send("Status 7 length"), "1000");
  EXPECT_EQ(rec_.log.size(), 12u);  // every command is told, also those that fail
}

TEST_F(MciInterpreterTest, MidiAndWaveDevicesKeepTheirTime) {
  Send("Open \"" + dir_ / "notes.mid" + "\" ALIAS mid7 TYPE Sequencer wait");
  EXPECT_EQ(Send("Status MID7 length"), "500");
  Send("Play mid7");
  loop_.Sleep(200);
  EXPECT_EQ(Send("Status mid7 mode"), "playing");
  loop_.Sleep(400);
  EXPECT_EQ(Send("Status mid7 mode"), "stopped");
  EXPECT_EQ(Send("Status mid7 position"), "500");
  // Playing with wait returns at the end, on the clock.
  std::int64_t before = loop_.NowMs();
  Send("Play mid7 wait");
  EXPECT_EQ(loop_.NowMs() - before, 500);
  EXPECT_EQ(Send("Status mid7 mode"), "stopped");
}

TEST_F(MciInterpreterTest, AVideoEndsByItselfAndIsToldOnce) {
  OpenClip("7");
  Send("play 7 window");
  loop_.RunUntil([&] { return Send("Status 7 mode") != "playing"; });
  EXPECT_EQ(loop_.NowMs(), 1000);
  EXPECT_EQ(Send("Status 7 mode"), "stopped");
  EXPECT_EQ(Send("Status 7 position"), "1000");
  std::vector<std::string> records;
  for (const std::string& line : rec_.log) {
    if (!line.starts_with("mci")) records.push_back(line);
  }
  EXPECT_EQ(records, (std::vector<std::string>{"start clip.avi PictureBox 0,0,20,12 1000",
                                               "end clip.avi PictureBox 0,0,20,12 1000"}));
}

TEST_F(MciInterpreterTest, NaturalSizeAtTheTopLeftOfTheControl) {
  OpenClip("7");
  ExpectNear(RedBlue(12, 7), {255, 255});  // the cover: nothing shows before play
  Send("play 7 window");
  // The video lies above the control's children: the cover is under it now.
  ExpectNear(RedBlue(10, 5), Picture(0));
  ExpectNear(RedBlue(29, 14), Picture(0));
  EXPECT_EQ(RedBlue(30, 5), std::make_pair(0, 0));  // the box's green beside it
  EXPECT_EQ(RedBlue(10, 17), std::make_pair(0, 0));
  loop_.Sleep(450);
  ExpectNear(RedBlue(12, 7), Picture(4));
  Send("Stop 7");
  Send("Close 7");
  ExpectNear(RedBlue(12, 7), {255, 255});  // gone with its device
}

TEST_F(MciInterpreterTest, StretchedIntoTheRectangle) {
  OpenClip("7");
  Send("put 7 window at 20 10 30 20");
  Send("play 7 window");
  ExpectNear(RedBlue(30, 15), Picture(0));
  ExpectNear(RedBlue(59, 34), Picture(0));
  EXPECT_EQ(RedBlue(29, 14), std::make_pair(0, 0));
  EXPECT_EQ(RedBlue(60, 34), std::make_pair(0, 0));
  ASSERT_FALSE(rec_.log.empty());
  EXPECT_EQ(rec_.log.back(), "start clip.avi PictureBox stretched 20,10,30,20 1000");
  // A game's rectangle may be huge: drawing it costs no more than a large picture.
  Send("put 7 window at -5 -5 32000 32000");
  ExpectNear(RedBlue(10, 5), Picture(0));
  ExpectNear(RedBlue(69, 44), Picture(0));
  // Sizes a window cannot have are refused.
  Send("put 7 window at 0 0 99999999999 5");
  ExpectNear(RedBlue(69, 44), Picture(0));
}

TEST_F(MciInterpreterTest, AControlBroughtToTheFrontLiesAboveTheVideo) {
  OpenClip("7");
  Send("play 7 window");
  cover_.ZOrder(0);
  ExpectNear(RedBlue(12, 7), {255, 255});
  cover_.ZOrder(1);
  ExpectNear(RedBlue(12, 7), Picture(0));
}

TEST_F(MciInterpreterTest, LivePacingWakesAtEachPictureAndDropsLateOnes) {
  OpenClip("7");
  loop_.DoEvents();
  int presents = platform_.presents;
  // Waiting through the video right after it starts: one repaint a picture and one at the
  // end, no more.
  Send("play 7 window");
  loop_.RunUntil([&] { return Send("Status 7 mode") != "playing"; });
  EXPECT_EQ(platform_.presents - presents, 11);
  // A program that was busy for 0.55 s shows the picture of that moment at its next pass.
  Send("Seek 7 to 0");
  Send("Play 7");
  windows_.Repaint();
  platform_.clock.Advance(550);
  loop_.DoEvents();
  ExpectNear(RedBlue(12, 7), Picture(5));
}

TEST_F(MciInterpreterTest, OnDemandPacingDecodesOnlyWhatIsDrawn) {
  mci_.SetPacing(VideoPacing::OnDemand);
  OpenClip("7");
  Send("play 7 window");
  loop_.DoEvents();
  int presents = platform_.presents;
  loop_.RunUntil([&] { return Send("Status 7 mode") != "playing"; });
  EXPECT_EQ(loop_.NowMs(), 1000);
  EXPECT_EQ(platform_.presents - presents, 1);  // only when it ended on the last picture
  ExpectNear(RedBlue(12, 7), Picture(9));
}

}  // namespace
}  // namespace sl

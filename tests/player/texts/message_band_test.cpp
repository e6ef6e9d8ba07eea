// The message band in play, in-process on the texts fixture: its time, its size and place at
// the bottom of the frame, the three ways it ends, messages outside the game, game reset, and
// the report when the band cannot be shown.
#include <gtest/gtest.h>

#include <functional>

#include "core/path_resolver.h"
#include "player/engine/game.h"
#include "player/game_fixture.h"
#include "player/startup/project.h"
#include "player/texts/message_band.h"
#include "support/memory_growth.h"
#include "ui/controls/frame.h"
#include "ui/controls/label.h"
#include "ui/controls/picture_box.h"
#include "ui/controls/timer_control.h"
#include "ui/form.h"

namespace sl {
namespace {

class MessageBandGame : public ::testing::Test {
 protected:
  void SetUp() override {
    run = std::make_unique<test::GameRun>("texts_game");
    run->Start();
    ASSERT_EQ(run->G().CurrentFrameName, "Hall");
  }
  ui::Frame& Band() {
    return static_cast<ui::Frame&>(*run->G().Form().FindControl("FrameMessageBox"));
  }
  ui::Label& Label() {
    return static_cast<ui::Label&>(*run->G().Form().FindControl("LabelMessageBox"));
  }
  ui::TimerControl& Timer() {
    return static_cast<ui::TimerControl&>(*run->G().Form().FindControl("TimerMessageBox"));
  }
  TextSubsystem& Texts() { return *run->G().Subsystems().texts; }
  // The band's text, or "(hidden)".
  std::string Shown() {
    std::string text;
    return Texts().MessageShown(text) ? text : "(hidden)";
  }
  void Action(int n) {
    run->G().Subsystems().hotspots->MakeAction(static_cast<std::int16_t>(n), 0);
  }
  void ClickAt(const draw::Rect& r, int dx, int dy) { run->Click(r.x + dx, r.y + dy); }

  std::unique_ptr<test::GameRun> run;
};

TEST_F(MessageBandGame, TimeGrowsWithTheTextAndIsCapped) {
  EXPECT_EQ(MessageBand::ShowTime("Dusty rug."), 1700);
  EXPECT_EQ(MessageBand::ShowTime(""), 1000);
  EXPECT_EQ(MessageBand::ShowTime("\xC3\xA9t\xC3\xA9"), 1210);     // "été": 3 characters
  EXPECT_EQ(MessageBand::ShowTime("\xF0\x9F\x99\x82"), 1140);      // a surrogate pair
  EXPECT_EQ(MessageBand::ShowTime(std::string(921, 'z')), 65470);  // the longest uncapped
  EXPECT_EQ(MessageBand::ShowTime(std::string(922, 'z')), 65535);

  Action(1);  // "Dusty rug."
  EXPECT_EQ(Shown(), "Dusty rug.");
  EXPECT_EQ(Timer().Interval(), 1700);
  run->Wait(1690);
  EXPECT_EQ(Shown(), "Dusty rug.");
  run->Wait(20);
  EXPECT_EQ(Shown(), "(hidden)");
  EXPECT_FALSE(Band().Visible());
  EXPECT_FALSE(Label().Visible());
  EXPECT_FALSE(Timer().TimerEnabled());
  EXPECT_EQ(Timer().Interval(), 0);

  Action(6);  // an empty message: a band with no text, one second
  EXPECT_EQ(Shown(), "");
  EXPECT_EQ(Timer().Interval(), 1000);
  run->Wait(1010);
  EXPECT_EQ(Shown(), "(hidden)");

  Action(5);  // 1000 characters: shown for the longest time a timer holds, no error
  EXPECT_EQ(Shown(), std::string(1000, 'z'));
  EXPECT_EQ(Timer().Interval(), 65535);
  run->Wait(65000);
  EXPECT_NE(Shown(), "(hidden)");
  run->Wait(600);
  EXPECT_EQ(Shown(), "(hidden)");
  EXPECT_TRUE(run->boxes.Shown().empty());
}

TEST_F(MessageBandGame, BandSitsOnTheBottomEdgeWithItsTextCentred) {
  ui::PictureBox& picture = run->G().PictureBox();
  Action(7);  // "One line"
  double oneLine = Band().Height() - MessageBand::kBandPadding;
  EXPECT_DOUBLE_EQ(oneLine, Label().Height());
  EXPECT_GT(oneLine, 0);
  EXPECT_DOUBLE_EQ(Band().Left(), 0);
  EXPECT_DOUBLE_EQ(Band().Width(), picture.Width());
  EXPECT_DOUBLE_EQ(Band().Top() + Band().Height(), picture.Height());
  EXPECT_DOUBLE_EQ(Label().Left() + Label().Width() / 2, Band().Width() / 2);
  EXPECT_TRUE(Band().Visible());
  // The band is in front of the frame's hotspots and text boxes.
  const auto& siblings = picture.Children();
  EXPECT_EQ(siblings.back(), &Band());

  Action(3);  // two lines: twice the height of one, plus the padding
  EXPECT_EQ(Shown(), "First line\r\nSecond line");
  EXPECT_DOUBLE_EQ(Band().Height(), 2 * oneLine + MessageBand::kBandPadding);
  EXPECT_DOUBLE_EQ(Band().Top() + Band().Height(), picture.Height());
  EXPECT_DOUBLE_EQ(Label().Left() + Label().Width() / 2, Band().Width() / 2);
}

// An item message of 100,000 lines once made a band as tall as its text (1.3 GB, 5 s): the
// band stays within the frame and the text that does not fit ends in "…".
TEST_F(MessageBandGame, AHugeMessageStaysWithinTheFrame) {
  ui::PictureBox& picture = run->G().PictureBox();
  std::string lines;
  for (int i = 0; i < 100000; ++i)
    lines += "Another line of the message\r\n";
  long grown = test::PeakMemoryGrowthMiB([&] {
    Texts().ShowMessage(lines, true);
    run->player->Windows().Compose(run->G().Form());
  });
  EXPECT_GE(grown, 0);
  EXPECT_LT(grown, test::kModestGrowthMiB);
  for (const std::string& text : {lines, std::string(1000000, 'w')}) {
    Texts().ShowMessage(text, true);
    EXPECT_GE(Band().Top(), 0);
    EXPECT_LE(Band().Height(), picture.Height());
    EXPECT_DOUBLE_EQ(Band().Top() + Band().Height(), picture.Height());
    EXPECT_LE(Label().Width(), Band().Width());
    EXPECT_GE(Label().Left(), 0);
    EXPECT_EQ(Shown(), text);
  }
}

TEST_F(MessageBandGame, AClickEndsTheBandAndTheOldTimeIsForgotten) {
  Action(1);  // 1700 ms
  run->Wait(1000);
  ClickAt(Label().FormPixelBounds(), 2, 2);
  EXPECT_EQ(Shown(), "(hidden)");
  EXPECT_FALSE(Timer().TimerEnabled());
  // A new message 1000 ms in gets its own time: the first one's tick (at 1700) does not end it.
  Action(7);  // "One line": 1560 ms
  run->Wait(1000);
  EXPECT_EQ(Shown(), "One line");
  run->Wait(570);
  EXPECT_EQ(Shown(), "(hidden)");
  // A click on the band beside the text ends it too.
  Action(7);
  ClickAt(Band().FormPixelBounds(), 3, 3);
  EXPECT_EQ(Shown(), "(hidden)");
  run->Wait(3000);
  EXPECT_EQ(Shown(), "(hidden)");
}

TEST_F(MessageBandGame, ANewMessageReplacesTheTextAndRestartsTheTime) {
  Action(1);  // 1700 ms
  run->Wait(1000);
  Action(3);  // 1000 + 23 * 70 = 2610 ms from now
  run->Wait(1000);
  EXPECT_EQ(Shown(), "First line\r\nSecond line");
  run->Wait(1600);
  EXPECT_NE(Shown(), "(hidden)");
  run->Wait(20);
  EXPECT_EQ(Shown(), "(hidden)");
}

TEST_F(MessageBandGame, MovesOverTheBandAndTheTextBoxesAreMovesOverTheFrame) {
  // Each target in a fresh game, as the zone only changes to 2 once.
  for (const char* target : {"Text(1)", "FrameMessageBox", "LabelMessageBox"}) {
    SetUp();
    Action(7);
    HotspotSubsystem& spots = *run->G().Subsystems().hotspots;
    ASSERT_NE(spots.PointerZone(), 2);
    draw::Rect r = run->G().Form().FindControl(target)->FormPixelBounds();
    ui::InputEvent e;
    e.kind = ui::InputKind::MouseMove;
    e.space = ui::CoordSpace::Client;
    e.x = r.x + 2;
    e.y = r.y + 2;
    run->Post(e);
    EXPECT_EQ(spots.PointerZone(), 2) << target;
    EXPECT_EQ(Shown(), "One line");  // a move does not end the band
  }
}

TEST_F(MessageBandGame, GameResetHidesTheBand) {
  Action(1);
  run->G().ResetAll();
  EXPECT_EQ(Shown(), "(hidden)");
  EXPECT_EQ(Label().Caption(), "");
  EXPECT_FALSE(Timer().TimerEnabled());
}

TEST_F(MessageBandGame, OutsideTheGameAMessageBoxWithTheGameTitle) {
  Texts().ShowMessage("The door is locked.", false);
  ASSERT_EQ(run->boxes.Shown().size(), 1u);
  const MessageBoxRequest& box = run->boxes.Shown()[0];
  EXPECT_EQ(box.title, "FixtureTexts");
  EXPECT_EQ(box.text, "The door is locked.");
  EXPECT_EQ(box.icon, MsgIcon::Information);
  EXPECT_EQ(box.buttons, MsgButtons::Ok);
  EXPECT_EQ(Shown(), "(hidden)");
}

// Answers message boxes after running a check while the box is up.
class WatchingMessageBoxes final : public MessageBoxService {
 public:
  MsgAnswer Show(const MessageBoxRequest& request) override {
    shown.push_back(request);
    if (whileShown) whileShown();
    return MsgAnswer::Ok;
  }
  std::vector<MessageBoxRequest> shown;
  std::function<void()> whileShown;
};

TEST(MessageOutsideTheGame, TheActionWaitsUntilTheBoxIsClosed) {
  ui::test::FakePlatform platform;
  platform.display = {1024, 768};
  WatchingMessageBoxes boxes;
  Player player(platform, boxes, STORYLOOM_TEST_PROJECTS "/texts_game");
  player.Start();
  Game& game = *player.GetGame();
  std::string frameWhileShown;
  boxes.whileShown = [&] { frameWhileShown = game.CurrentFrameName; };
  // Hotspot 2 shows its message outside the game, then goes to Empty.
  game.Subsystems().hotspots->MakeAction(2, 0);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "The door is locked.");
  EXPECT_EQ(frameWhileShown, "Hall");
  EXPECT_EQ(game.CurrentFrameName, "Empty");
}

TEST(MessageBandFailure, ABandThatCannotBeShownIsReported) {
  PathResolver paths;
  RecordingMessageBoxService boxes;
  Project project(paths, boxes);
  MessageBand band(project);  // no game window to show it in
  band.ShowMessage("Hello", true);
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].icon, MsgIcon::Critical);
  EXPECT_EQ(boxes.Shown()[0].title, project.Texts()[29]);
  EXPECT_EQ(boxes.Shown()[0].text,
            project.Texts().ErrorLead() + " Unable to display text message.");
  std::string text;
  EXPECT_FALSE(band.Shown(text));
}

}  // namespace
}  // namespace sl

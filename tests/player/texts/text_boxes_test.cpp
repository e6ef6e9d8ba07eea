// Frame text boxes in play, in-process on the texts fixture: their fonts, colours and places,
// the merged file and the merged-text index, frames without text boxes, broken records and a
// file that cannot be read, and a press on a text box.
#include <gtest/gtest.h>

#include <filesystem>

#include "player/engine/game.h"
#include "player/game_fixture.h"
#include "support/temp_folder.h"
#include "ui/control_array.h"
#include "ui/controls/label.h"
#include "ui/form.h"

namespace sl {
namespace {

namespace fs = std::filesystem;

class TextBoxGame : public ::testing::Test {
 protected:
  void SetUp() override {
    run = std::make_unique<test::GameRun>("texts_game");
    run->Start();
    ASSERT_EQ(run->G().CurrentFrameName, "Hall");
  }
  ui::ControlArray& Texts() { return *run->G().Form().FindArray("Text"); }
  ui::Label& Text(int n) { return static_cast<ui::Label&>(Texts().Item(n)); }
  std::int16_t MergedIndex() { return run->G().Subsystems().texts->GetMergedTextIndex(); }
  void Open(const std::string& frame) { run->G().OpenFrame(frame); }

  std::unique_ptr<test::GameRun> run;
};

TEST_F(TextBoxGame, RecordsGiveTextPlaceFontAndColour) {
  ASSERT_EQ(Texts().UBound(), 4);
  ui::Label& title = Text(1);
  EXPECT_EQ(title.Caption(), "The Hall");
  EXPECT_DOUBLE_EQ(title.Left(), 300);
  EXPECT_DOUBLE_EQ(title.Top(), 225);
  EXPECT_TRUE(title.Visible());
  EXPECT_EQ(title.FontSpec().name, "Arial");  // the record names no font
  EXPECT_TRUE(title.FontSpec().bold);
  EXPECT_FALSE(title.FontSpec().italic);
  EXPECT_DOUBLE_EQ(title.FontSpec().size, 16);
  EXPECT_EQ(title.ForeColor(), 0x0000FFFFu);  // yellow: red in the low byte
  // Transparent over the picture and as large as its text.
  EXPECT_EQ(title.BackStyle(), 0);
  EXPECT_TRUE(title.AutoSize());
  EXPECT_GT(title.Width(), 15 * 20);

  ui::Label& twoLines = Text(2);
  EXPECT_EQ(twoLines.Caption(), "Two lines\r\nof text");
  EXPECT_EQ(twoLines.FontSpec().name, "Times New Roman");
  EXPECT_TRUE(twoLines.FontSpec().italic);
  EXPECT_EQ(twoLines.ForeColor(), 0x00FFFF00u);
  EXPECT_TRUE(Text(3).FontSpec().underline);
  EXPECT_TRUE(Text(4).FontSpec().strikethrough);
  EXPECT_FALSE(Text(4).FontSpec().underline);
  EXPECT_EQ(Text(4).FontSpec().name, "Courier New");
  // Two lines of 12 points stand higher than one line of 16 points.
  EXPECT_GT(twoLines.Height(), title.Height());
  EXPECT_TRUE(run->boxes.Shown().empty());
}

TEST_F(TextBoxGame, MergedIndexIsTheFirstFlaggedTextBoxAfterTheFirst) {
  EXPECT_EQ(MergedIndex(), 3);  // records 3 and 4 are flagged
  // Both: the merged file wins; its first record is flagged but does not count.
  Open("Both");
  ASSERT_EQ(Texts().UBound(), 4);
  EXPECT_EQ(Text(1).Caption(), "Merged one");
  EXPECT_EQ(Text(4).Caption(), "Merged four");
  for (int n = 1; n <= 4; ++n)
    EXPECT_NE(Text(n).Caption(), "Plain file");
  EXPECT_EQ(MergedIndex(), 3);
  // A frame without text box files creates nothing, and its index is 1 again.
  Open("Empty");
  EXPECT_EQ(Texts().UBound(), 0);
  EXPECT_EQ(Texts().Count(), 1);  // the template stays
  EXPECT_EQ(MergedIndex(), 1);
  Open("Hall");
  EXPECT_EQ(Texts().UBound(), 4);
  EXPECT_EQ(Text(1).Caption(), "The Hall");
}

TEST_F(TextBoxGame, BadRecordsArePassedOverSilentlyAndTheRestLoad) {
  Open("Broken");
  ASSERT_EQ(Texts().UBound(), 7);
  const bool shown[] = {true, false, true, false, false, true, false};
  for (int n = 1; n <= 7; ++n)
    EXPECT_EQ(Text(n).Visible(), shown[n - 1]) << n;
  EXPECT_EQ(Text(3).Caption(), "Good three");
  EXPECT_DOUBLE_EQ(Text(3).Top(), 1200);
  EXPECT_EQ(Text(6).Caption(), "Good six");
  // A failing step leaves what was set before it: the text, not the place.
  EXPECT_EQ(Text(2).Caption(), "Bad left");
  EXPECT_DOUBLE_EQ(Text(2).Left(), 0);
  EXPECT_EQ(Text(5).FontSpec().name, "Arial");  // set before its colour failed
  EXPECT_EQ(MergedIndex(), 6);
  EXPECT_TRUE(run->boxes.Shown().empty());
  // The next frame finds none of them.
  Open("Hall");
  EXPECT_EQ(Texts().UBound(), 4);
}

TEST_F(TextBoxGame, PressOnATextBoxActsAsAPressOnTheBackground) {
  ASSERT_FALSE(run->MenuVisible("mnuExit"));
  draw::Rect r = Text(1).FormPixelBounds();
  run->Click(r.x + r.width / 2, r.y + r.height / 2, ui::kButtonRight);
  EXPECT_TRUE(run->MenuVisible("mnuExit"));
  EXPECT_TRUE(run->G().TransitionInterrupted());
  run->Click(r.x + r.width / 2, r.y + r.height / 2, ui::kButtonLeft);
  EXPECT_FALSE(run->MenuVisible("mnuExit"));
}

TEST(TextBoxFiles, AFileThatCannotBeReadIsReportedAndTheFrameStillOpens) {
  test::TempFolder dir;
  fs::copy(STORYLOOM_TEST_PROJECTS "/texts_game", dir.Path(), fs::copy_options::recursive);
  fs::path file = fs::path(dir.Path()) / "FramesData" / "Hall.fm1";
  fs::resize_file(file, std::uintmax_t{1} << 30);  // far larger than a data file may be
  ui::test::FakePlatform platform;
  platform.display = {1024, 768};
  RecordingMessageBoxService boxes;
  Player player(platform, boxes, dir.Path());
  player.Start();
  ASSERT_NE(player.GetGame(), nullptr);
  EXPECT_EQ(player.GetGame()->CurrentFrameName, "Hall");
  EXPECT_EQ(player.GetGame()->Form().FindArray("Text")->UBound(), 0);
  EXPECT_EQ(player.GetGame()->Form().FindArray("Area")->UBound(), 7);  // hotspots still load
  ASSERT_EQ(boxes.Shown().size(), 1u);
  const MessageBoxRequest& box = boxes.Shown()[0];
  EXPECT_EQ(box.icon, MsgIcon::Critical);
  EXPECT_EQ(box.title, "Error");
  EXPECT_NE(box.text.find(" Error loading TextBoxes. "), std::string::npos) << box.text;
  EXPECT_EQ(box.text.rfind(player.GetProject().Texts().ErrorLead(), 0), 0u);
}

}  // namespace
}  // namespace sl

// The title window on fixture projects: rows, scheme pictures and colours, the hidden Load
// button, the resolution offer and its switch at Start, the logo and link messages, Esc.
#include "player/startup/title_window.h"

#include <gtest/gtest.h>

#include "player/game_fixture.h"
#include "ui/controls/check_box.h"
#include "ui/controls/image.h"
#include "ui/controls/label.h"

namespace sl {
namespace {

using test::GameRun;

ui::Label& Label(TitleWindow& t, const std::string& name) {
  return static_cast<ui::Label&>(*t.Form().FindControl(name));
}
ui::Image& Image(TitleWindow& t, const std::string& name) {
  return static_cast<ui::Image&>(*t.Form().FindControl(name));
}

TEST(TitleWindowTest, RowsFollowTheProjectInformation) {
  GameRun run("game_frames");
  run.Start();
  TitleWindow& t = run.Title();
  EXPECT_EQ(Label(t, "txtAdventureName").Caption(), "Fixture Frames");
  EXPECT_EQ(Label(t, "txtVersion").Top(), 3000);
  EXPECT_EQ(Label(t, "txtAuthor").Top(), 3255);
  EXPECT_EQ(Label(t, "txtEmail").Top(), 3510);
  EXPECT_EQ(Label(t, "txtHomepage").Top(), 3765);
  EXPECT_EQ(Label(t, "lblAuthor").Caption(), run.player->GetProject().Texts()[4]);
  EXPECT_FALSE(Label(t, "lblResolution").Visible());
  // Borderless: the height is the rows' end plus the bottom margin.
  EXPECT_EQ(t.Form().Height(), 3000 + 4 * 255 + 150);
  EXPECT_EQ(t.Form().Width(), 4800);
  // No scheme: the three text buttons carry interface texts 1 to 3.
  for (int i = 0; i < 3; ++i) {
    auto* b = static_cast<ui::Label*>(t.Form().FindControl("lblButton(" + std::to_string(i) + ")"));
    EXPECT_TRUE(b->Visible());
    EXPECT_EQ(b->Caption(), run.player->GetProject().Texts()[i + 1]);
  }
  EXPECT_TRUE(Image(t, "imgLogo").Visible());
  EXPECT_EQ(Image(t, "imgLogo").Left(), 4560);
  EXPECT_EQ(Image(t, "imgLogo").Top(), -720);
  EXPECT_EQ(run.platform.settings.values["Software|FixtureFrames|Path"],
            run.player->GetProject().Folders().ProjectFolder);
}

TEST(TitleWindowTest, SchemeDressesTheButtonsAndTheResolutionOfferSwitchesAtStart) {
  GameRun run("game_scheme");
  run.Start();
  TitleWindow& t = run.Title();
  EXPECT_TRUE(Image(t, "Img(0)").Visible());
  EXPECT_FALSE(Image(t, "Img(0)").Picture().IsNone());
  EXPECT_FALSE(Label(t, "lblButton(0)").Visible());
  // Load hidden by the project; Exit takes its place, as a text button (no picture).
  EXPECT_FALSE(Label(t, "lblButton(1)").Visible());
  EXPECT_TRUE(Label(t, "lblButton(2)").Visible());
  EXPECT_EQ(Label(t, "lblButton(2)").Top(), 1560);
  EXPECT_EQ(t.Form().BackColor(), 1118481u);
  EXPECT_EQ(Label(t, "txtAdventureName").ForeColor(), 255u);
  EXPECT_EQ(Label(t, "txtAuthor").ForeColor(), 65535u);
  EXPECT_NE(Label(t, "lblButton(2)").ForeColor(), 65535u);  // three colours only
  EXPECT_FALSE(Label(t, "txtVersion").Visible());
  EXPECT_EQ(Label(t, "txtAuthor").Top(), 3000);
  ASSERT_TRUE(Label(t, "lblResolution").Visible());
  EXPECT_TRUE(Label(t, "lblResolution").Caption().ends_with(" 800x600."));
  EXPECT_EQ(static_cast<ui::CheckBox&>(*t.Form().FindControl("chkResolution")).Value(), 1);
  t.ClickButton(0);
  EXPECT_EQ(run.platform.display.width, 800);
  EXPECT_EQ(run.platform.display.height, 600);
  EXPECT_EQ(run.G().Form().Width(), 800 * 15);
  run.boxes.QueueAnswer(MsgAnswer::Yes);
  run.G().mnuExit_Click();
  run.Wait(100);
  EXPECT_EQ(run.platform.display.width, 1024);
  EXPECT_TRUE(t.Form().Visible());
}

TEST(TitleWindowTest, UntickedOfferIsRememberedAndKeepsTheDisplay) {
  GameRun run("game_scheme");
  run.Start();
  run.Title().lblResolution_Click();
  EXPECT_EQ(run.platform.settings.values["Software|FixtureScheme|ChangeResolution"], "0");
  run.Title().ClickButton(0);
  EXPECT_EQ(run.platform.display.width, 1024);
}

TEST(TitleWindowTest, LinksAskFirstAndOpenOnYes) {
  GameRun run("game_frames");
  run.Start();
  run.boxes.QueueAnswer(MsgAnswer::No);
  run.Title().imgLogo_Click();
  EXPECT_TRUE(run.platform.shell.empty());
  EXPECT_EQ(run.boxes.Shown()[0].title, "Storyloom");
  EXPECT_EQ(run.boxes.Shown()[0].icon, MsgIcon::Information);
  run.boxes.QueueAnswer(MsgAnswer::Yes);
  run.Title().txtEmail_Click();
  run.boxes.QueueAnswer(MsgAnswer::Yes);
  run.Title().txtHomepage_Click();
  EXPECT_EQ(run.platform.shell, (std::vector<std::string>{"open mailto:author@fixture.example.org",
                                                          "open https://fixture.example.org/"}));
  EXPECT_TRUE(run.boxes.Shown()[1].text.ends_with(" author@fixture.example.org ?"));
}

TEST(TitleWindowTest, EscEndsTheProgram) {
  GameRun run("game_frames");
  run.Start();
  run.Key('A');
  EXPECT_FALSE(run.player->Ended());
  run.Key(27);
  EXPECT_TRUE(run.player->Ended());
}

}  // namespace
}  // namespace sl

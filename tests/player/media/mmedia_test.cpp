// The media object's command strings, word for word, and how it reads the answers.
#include "player/media/mmedia.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "ui/controls/picture_box.h"
#include "ui/fake_platform.h"
#include "ui/form.h"
#include "ui/window_manager.h"
#include "vbscript/builtins/random.h"

namespace sl {
namespace {

class RecordingHost final : public MmediaHost {
 public:
  RecordingHost() : clock({2004, 3, 7, 10, 7, 30, 0}) {}
  std::string SendString(const std::string& command) override {
    sent.push_back(command);
    auto it = answers.find(command);
    return it == answers.end() ? std::string() : it->second;
  }
  std::int64_t WindowHandle(ui::Control&) override { return 65552; }
  bool FileExists(const std::string& path) override { return path.ends_with(".avi"); }
  void DoEvents() override { sent.push_back("<events>"); }
  const Clock& GetClock() override { return clock; }

  VirtualClock clock;
  std::vector<std::string> sent;
  std::map<std::string, std::string> answers;
};

class MmediaTest : public ::testing::Test {
 protected:
  // The alias a video gets: Randomize from the time of day, then Rnd, from the generator's
  // starting state.
  std::string VideoAlias() {
    vbs::RandomState state;
    vbs::Randomize(state, std::nullopt, host_.clock);
    return std::to_string(static_cast<int>(vbs::NextRandom(state) * 50) + 1);
  }

  RecordingHost host_;
  Mmedia media_{host_};
  ui::test::FakePlatform platform_;
  ui::WindowManager windows_{platform_};
  Ref<ui::Form> form_ = ui::Form::Create(windows_, "Game");
  ui::PictureBox& box_ = form_->Add<ui::PictureBox>("PictureBox");
};

TEST_F(MmediaTest, NothingOpenSendsOnlySeekAndStatus) {
  media_.mmPlay();
  media_.mmPause();
  media_.mmStop();
  media_.mmClose();
  EXPECT_EQ(media_.Length(), 0);
  EXPECT_EQ(media_.Position(), 0);
  media_.mmSeek(1500);
  EXPECT_EQ(media_.Status(), "");
  EXPECT_EQ(host_.sent, (std::vector<std::string>{"Seek  to 1500", "Status  mode"}));
}

TEST_F(MmediaTest, OpeningMidiAndWaveUsesTheEndingAndTheMinute) {
  media_.mmOpen("C:\\Music\\intro.mid");
  EXPECT_EQ(media_.Alias(), "mid7");
  media_.SetWait(true);
  media_.mmPlay();
  media_.SetWait(false);
  media_.mmPlay();
  media_.mmPause();
  media_.mmStop();
  media_.mmSeek(12.5f);
  media_.SetPosition(250);
  host_.answers["Status mid7 length"] = "61250";
  host_.answers["Status mid7 position"] = "1500.5 ms";
  host_.answers["Status mid7 mode"] = "playing";
  EXPECT_EQ(media_.Length(), 61250);
  EXPECT_EQ(media_.Position(), 1500.5f);
  EXPECT_EQ(media_.Status(), "playing");
  // The same ending in the same minute: the first device is closed before the second opens.
  media_.mmOpenWave("ding.mid");
  media_.mmClose();
  media_.mmClose();
  EXPECT_EQ(media_.Alias(), "");
  EXPECT_EQ(host_.sent, (std::vector<std::string>{
                            "Open \"C:\\Music\\intro.mid\" ALIAS mid7 TYPE Sequencer wait",
                            "Play mid7 wait",
                            "Play mid7",
                            "Pause mid7",
                            "Stop mid7",
                            "Seek mid7 to 12.5",
                            "Seek mid7 to 250",
                            "Status mid7 length",
                            "Status mid7 position",
                            "Status mid7 mode",
                            "Close mid7",
                            "Open \"ding.mid\" ALIAS mid7 TYPE Waveaudio wait",
                            "Close mid7",
                        }));
}

TEST_F(MmediaTest, WritingTheFileNameOpensIt) {
  host_.clock.AdvanceTo(3 * 60 * 1000);  // 10:10:30
  media_.SetFileName("ab");
  EXPECT_EQ(media_.FileName(), "");  // nothing fills the field
  EXPECT_EQ(host_.sent, (std::vector<std::string>{"Open \"ab\" ALIAS ab10 TYPE Sequencer wait"}));
}

TEST_F(MmediaTest, PlayMovieSendsTwoOrThreeCommands) {
  std::string alias = VideoAlias();
  media_.PlayMovie("C:\\Game\\Frames\\intro.avi", box_, false, 1, 2, 3, 4);
  EXPECT_EQ(media_.Alias(), alias);
  EXPECT_EQ(host_.sent,
            (std::vector<std::string>{"Open \"C:\\Game\\Frames\\intro.avi\" ALIAS " + alias +
                                          " TYPE AviVideo wait parent 65552 style child",
                                      "play " + alias + " window"}));
  host_.sent.clear();
  media_.PlayMovie("x.avi", box_, true, 10, 20, 100, 50);
  EXPECT_EQ(host_.sent,
            (std::vector<std::string>{"Open \"x.avi\" ALIAS " + media_.Alias() +
                                          " TYPE AviVideo wait parent 65552 style child",
                                      "put " + media_.Alias() + " window at 10 20 100 50",
                                      "play " + media_.Alias() + " window"}));
}

TEST_F(MmediaTest, PlayMovieOfAMissingFileSendsNothing) {
  media_.PlayMovie("missing.mpg", box_, true, 0, 0, 10, 10);
  EXPECT_TRUE(host_.sent.empty());
  EXPECT_EQ(media_.Alias(), "");
}

TEST_F(MmediaTest, StopMovieStopsClosesAndLetsEventsRunButKeepsTheAlias) {
  media_.PlayMovie("x.avi", box_, false, 0, 0, 0, 0);
  std::string alias = media_.Alias();
  host_.sent.clear();
  media_.StopMovie();
  EXPECT_EQ(host_.sent, (std::vector<std::string>{"Stop " + alias, "Close " + alias, "<events>"}));
  EXPECT_EQ(media_.Alias(), alias);
  media_.Status();
  media_.mmClose();
  EXPECT_EQ(host_.sent.back(), "Close " + alias);
}

}  // namespace
}  // namespace sl

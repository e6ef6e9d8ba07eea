// The desktop policy: which addresses, files and programs go to the desktop at once, which after
// asking, which never; remembered answers; what the observer hears.
#include "player/desktop/desktop_requests.h"

#include <gtest/gtest.h>

#include "core/path_resolver.h"
#include "core/recording_message_box.h"
#include "player/startup/project.h"
#include "ui/fake_platform.h"

namespace sl {
namespace {

struct Recorder : RequestObserver {
  void ShellRequested(const ShellRequest& r) override {
    log.push_back(r.verb + " " + r.target +
                  (r.asked ? (r.allowed ? " asked:yes" : " asked:no") : "") +
                  (r.refused ? " refused" : ""));
  }
  std::vector<std::string> log;
};

struct DesktopPolicyTest : ::testing::Test {
  ui::test::FakePlatform platform;
  PathResolver paths{"/games/Lighthouse"};
  RecordingMessageBoxService boxes;
  Project project{paths, boxes};
  DesktopRequests desktop{platform, project};
  Recorder recorder;
  DesktopPolicyTest() {
    project.MutableInfo().ProjectName = "Lighthouse";
    project.MutableInfo().GameTitle = "The Lighthouse";
    desktop.SetObserver(&recorder);
  }
};

TEST_F(DesktopPolicyTest, WebAndMailAddressesGoAtOnceOthersAfterAsking) {
  using O = DesktopRequests::Outcome;
  EXPECT_EQ(desktop.OpenAddress("HTTPS://example.org/a?b=1"), O::HandedOver);
  EXPECT_EQ(desktop.OpenAddress("www.example.org"), O::HandedOver);
  EXPECT_EQ(desktop.OpenAddress("mailto:me@example.org?subject=Hi&Attach=%2Fetc%2Fpasswd"),
            O::HandedOver);
  EXPECT_TRUE(boxes.Shown().empty());
  boxes.QueueAnswer(MsgAnswer::No);
  EXPECT_EQ(desktop.OpenAddress("file:///usr/share/applications/x.desktop"), O::Refused);
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text,
            "This game wants to open the address \"file:///usr/share/applications/x.desktop\". "
            "Allow it?");
  EXPECT_EQ(boxes.Shown()[0].buttons, MsgButtons::YesNo);
  EXPECT_EQ(boxes.Shown()[0].defaultButton, 1);
  // The answer is remembered for this game: not asked again.
  EXPECT_EQ(desktop.OpenAddress("file:///usr/share/applications/x.desktop"), O::Refused);
  EXPECT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(platform.shell, (std::vector<std::string>{"open HTTPS://example.org/a?b=1",
                                                      "open http://www.example.org",
                                                      "open mailto:me@example.org?subject=Hi"}));
  EXPECT_EQ(recorder.log, (std::vector<std::string>{
                              "open HTTPS://example.org/a?b=1", "open http://www.example.org",
                              "open mailto:me@example.org?subject=Hi",
                              "open file:///usr/share/applications/x.desktop asked:no refused",
                              "open file:///usr/share/applications/x.desktop refused"}));
}

TEST_F(DesktopPolicyTest, TitleLinksOtherThanWebAndMailAreRefusedWithAMessage) {
  int asked = 0;
  auto yes = [&] {
    ++asked;
    return true;
  };
  EXPECT_EQ(desktop.OpenLink("file:///tmp/x.desktop", yes), DesktopRequests::Outcome::Refused);
  EXPECT_EQ(asked, 0);
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text,
            "The address \"file:///tmp/x.desktop\" is not opened: only web (http, https) and "
            "e-mail (mailto) addresses are.");
  EXPECT_EQ(desktop.OpenLink("mailto:a@b.org", yes), DesktopRequests::Outcome::HandedOver);
  EXPECT_EQ(desktop.OpenLink("https://x.org/", [] { return false; }),
            DesktopRequests::Outcome::Refused);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(platform.shell, std::vector<std::string>{"open mailto:a@b.org"});
}

TEST_F(DesktopPolicyTest, DocumentsOpenAtOnceOtherFilesAndProgramsAfterAsking) {
  using O = DesktopRequests::Outcome;
  EXPECT_EQ(desktop.OpenDocument("/games/Lighthouse/Docs/Manual.PDF"), O::HandedOver);
  EXPECT_EQ(desktop.OpenDocument("/games/Lighthouse/Music/theme.mid"), O::HandedOver);
  EXPECT_TRUE(boxes.Shown().empty());
  boxes.QueueAnswer(MsgAnswer::Yes);
  EXPECT_EQ(desktop.OpenDocument("/games/Lighthouse/run.desktop"), O::HandedOver);
  EXPECT_EQ(boxes.Shown().back().text,
            "This game wants to open the file \"run.desktop\". Allow it?");
  // Programs: asked (the fake desktop cannot start one), then the answer stands.
  boxes.QueueAnswer(MsgAnswer::Yes);
  O outcome = O::HandedOver;
  EXPECT_EQ(desktop.StartProgram("/games/Lighthouse/Setup.exe", outcome), nullptr);
  EXPECT_EQ(outcome, O::Failed);
  EXPECT_EQ(boxes.Shown().back().text,
            "This game wants to start the program \"Setup.exe\". Allow it?");
  EXPECT_EQ(boxes.Shown().size(), 2u);
  desktop.StartProgram("/games/Lighthouse/Setup.exe", outcome);
  EXPECT_EQ(boxes.Shown().size(), 2u);
  // A game's own stored parameters cannot grant a permission: their keys end in "_".
  for (const auto& [key, value] : platform.settings.values) {
    EXPECT_TRUE(key.starts_with("Software|Lighthouse|Allowed ")) << key;
    EXPECT_FALSE(key.ends_with("_")) << key;
  }
}

TEST(DesktopRequestsTest, SchemesAndDocuments) {
  EXPECT_EQ(DesktopRequests::SchemeOf("HTTP://x"), "http");
  EXPECT_EQ(DesktopRequests::SchemeOf("C:\\x"), "");
  EXPECT_EQ(DesktopRequests::SchemeOf("www.x.org"), "");
  EXPECT_EQ(DesktopRequests::SchemeOf("1http://x"), "");
  EXPECT_TRUE(DesktopRequests::IsDocument("a/b.Txt"));
  EXPECT_FALSE(DesktopRequests::IsDocument("a.b/c"));
  EXPECT_FALSE(DesktopRequests::IsDocument("setup.exe"));
  EXPECT_FALSE(DesktopRequests::IsDocument("run.sh"));
}

}  // namespace
}  // namespace sl

// The title window's requests to the desktop in a headless run: always on top while shown, below
// its message boxes and the load dialog, dragged by its body; the drag leaves no control holding
// the mouse.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "backend/headless/answering_message_boxes.h"
#include "backend/headless/event_script.h"
#include "backend/headless/headless_platform.h"
#include "backend/headless/trace.h"
#include "player/player.h"
#include "ui/fake_platform.h"

namespace sl {
namespace {

// Answers boxes as a headless run does and notes each box in the log of desktop requests, so
// the test sees what was asked of the desktop before and after every box.
class LoggingBoxes final : public MessageBoxService {
 public:
  explicit LoggingBoxes(HeadlessPlatform& platform) : platform_(platform), inner_(platform) {}
  MsgAnswer Show(const MessageBoxRequest& request) override {
    TakeRequests();
    MsgAnswer answer = inner_.Show(request);
    log.push_back("msgbox " + request.title + (answer == MsgAnswer::Yes ? " yes" : " no"));
    return answer;
  }
  void TakeRequests() {
    const std::vector<std::string>& all = platform_.DesktopRequests();
    for (; taken_ < all.size(); ++taken_)
      log.push_back(all[taken_]);
  }
  std::vector<std::string> log;

 private:
  HeadlessPlatform& platform_;
  AnsweringMessageBoxService inner_;
  std::size_t taken_ = 0;
};

struct TitleRun {
  explicit TitleRun(const std::string& script) {
    platform.SetScript(ParseEventScript(script, "events.txt"), "events.txt");
  }
  int Run() {
    Player player(platform, boxes, std::string(STORYLOOM_TEST_PROJECTS) + "/game_frames");
    platform.SetGiveUpHandler([&player] { player.Windows().Loop().RequestQuit(); });
    int code = player.Run();
    boxes.TakeRequests();
    return code;
  }

  std::ostringstream out;
  Trace trace{out};
  ui::test::FakeSettings settings;
  HeadlessPlatform platform{trace, settings};
  LoggingBoxes boxes{platform};
};

TEST(TitleWindowDesktopTest, OnTopWhileShownAndBelowItsBoxesAndTheLoadDialog) {
  TitleRun run(
      "control lblButton(1)\n"
      "control Command1\n"  // the load dialog's Cancel
      "answer no\n"
      "control txtEmail\n"
      "answer yes\n"
      "control txtHomepage\n"
      "quit\n");
  EXPECT_EQ(run.Run(), 0);
  EXPECT_EQ(run.boxes.log, (std::vector<std::string>{
                               "topmost frmWelcome",      // shown and activated
                               "not topmost frmWelcome",  // Load
                               "topmost frmWelcome",      // back from the load dialog
                               "not topmost frmWelcome",  // the e-mail link
                               "msgbox Fixture Frames no",
                               "topmost frmWelcome",
                               "not topmost frmWelcome",  // the web link, left below the browser
                               "msgbox Fixture Frames yes",
                           }));
}

TEST(TitleWindowDesktopTest, LeftButtonMovesOverTheBodyAndLabelsDragTheWindow) {
  // Title label at (16, 16) to (304, 64) pixels, the author's row below the version row.
  TitleRun run(
      "move 100 30\n"
      "drag 100 30 160 80\n"
      "drag 30 222 90 260\n"
      "press 200 30 right\n"
      "move 210 40\n"
      "release 210 40 right\n"
      "control lblButton(0)\n"
      "wait 100\n"
      "quit\n");
  EXPECT_EQ(run.Run(), 0);
  // A plain move and a right-button move start nothing.
  EXPECT_EQ(run.boxes.log,
            (std::vector<std::string>{"topmost frmWelcome", "drag frmWelcome", "drag frmWelcome"}));
  // The drag's release never arrives, yet the next click reaches Start.
  EXPECT_NE(run.out.str().find("\"name\":\"Game\",\"shown\":true"), std::string::npos);
}

}  // namespace
}  // namespace sl

// The storyloom program itself, headless, on a fixture game: Start, a frame timer, the menus,
// Ctrl+Q with its question, back to the title window, and the end of the run, read from the
// trace it writes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/headless_run.h"

namespace {

std::vector<std::string> RunGame(const sl::test::TempFolder& dir, const std::string& project,
                                 const std::string& events, int& status) {
  sl::test::HeadlessRun run = sl::test::RunHeadless(dir, project, events);
  status = run.status;
  return run.trace;
}

// The records of the trace that contain every one of `parts`, in order.
std::vector<std::string> With(const std::vector<std::string>& lines,
                              std::initializer_list<const char*> parts) {
  std::vector<std::string> found;
  for (const std::string& l : lines) {
    bool all = true;
    for (const char* p : parts)
      all = all && l.find(p) != std::string::npos;
    if (all) found.push_back(l);
  }
  return found;
}

TEST(StoryloomGameRun, StartTimerMenusQuitAndBackToTheTitle) {
  sl::test::TempFolder dir;
  int status = -1;
  auto trace = RunGame(dir, "game_frames",
                       "control lblButton(0)\n"
                       "wait 1500\n"
                       "dump\n"
                       "key Esc\n"
                       "dump\n"
                       "answer yes\n"
                       "key q ctrl\n"
                       "wait 200\n"
                       "dump\n",
                       status);
  ASSERT_EQ(status, 0);
  EXPECT_EQ(With(trace, {R"("ev":"frame")"}),
            (std::vector<std::string>{R"({"t":0,"ev":"frame","name":"Start"})",
                                      R"({"t":1500,"ev":"frame","name":"Hall"})"}));
  auto states = With(trace, {R"("ev":"state")"});
  ASSERT_EQ(states.size(), 3u);
  EXPECT_NE(states[0].find(R"("frame":"Hall","history":["Start","Hall"])"), std::string::npos);
  EXPECT_NE(states[0].find(R"("menus":false)"), std::string::npos);
  EXPECT_NE(states[0].find(R"("target":"[LAST Visited frame]")"), std::string::npos);
  EXPECT_NE(states[1].find(R"("menus":true)"), std::string::npos);
  EXPECT_NE(states[2].find(R"("windows":["frmWelcome"])"), std::string::npos) << states[2];
  auto boxes = With(trace, {R"("ev":"msgbox")"});
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find(R"("icon":"question","buttons":"yesno","answer":"yes")"),
            std::string::npos);
  EXPECT_EQ(With(trace, {R"("ev":"window","name":"Game","shown":false)"}).size(), 1u);
  EXPECT_EQ(trace.back(), R"({"t":1700,"ev":"exit","code":0})");
}

TEST(StoryloomGameRun, SkippedTitleScreenEndsWithTheGame) {
  sl::test::TempFolder dir;
  int status = -1;
  auto trace =
      RunGame(dir, "game_windowed", "wait 2000\nanswer yes\nmenu mnuExit\nwait 500\n", status);
  ASSERT_EQ(status, 0);
  EXPECT_TRUE(With(trace, {R"("name":"frmWelcome","shown":true)"}).empty());
  EXPECT_EQ(With(trace, {R"("ev":"frame")"}).size(), 2u);
  EXPECT_EQ(trace.back(), R"({"t":2100,"ev":"exit","code":0})");
}

}  // namespace

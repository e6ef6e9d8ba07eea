// The program on the desktop of a private Xvfb: its message boxes are shown and wait for the
// user, who answers them with the keyboard; its trace counts real time.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "sdl/program_process.h"
#include "sdl/x11_user.h"
#include "sdl/xvfb_display.h"
#include "support/temp_folder.h"

namespace sl::sdl {
namespace {

TEST(DesktopRun, AMessageBoxWaitsForTheUsersAnswer) {
  test::XvfbDisplay xvfb;
  if (!xvfb.Installed()) GTEST_SKIP() << "skipped: " << xvfb.Reason();
  ASSERT_TRUE(xvfb.Available()) << xvfb.Reason();
  test::X11User user(nullptr);
  if (!user.Available()) GTEST_SKIP() << "skipped: libXtst is not installed";

  // A project without its information file: the program says so in a box, then ends with
  // the status of a folder that is not a game.
  test::TempFolder temp;
  std::filesystem::path dir = temp.Path();
  std::filesystem::create_directories(dir / "empty" / "Config");
  pid_t pid = test::StartProgram({"--settings", (dir / "settings.ini").string(), "--trace",
                                  (dir / "trace.jsonl").string(), (dir / "empty").string()});
  ASSERT_NE(pid, 0);

  // The box stays until it is answered.
  int early = test::WaitFor(pid, 1500);
  if (early != -1) {
    ADD_FAILURE() << "the program ended without waiting for the box (status " << early << ")";
    return;
  }
  // The box is centred on the screen; the key goes to the window under the pointer.
  user.MoveTo(640, 512);
  user.Key(0xFF0D);  // Return: the OK button
  int status = test::WaitFor(pid, 10000);
  if (status == -1) test::EndProgram(pid);
  EXPECT_EQ(status, 1);  // not a game

  // The desktop trace counts real time: the program ended after the box waited 1.5 s (the
  // clock starts when the desktop opens, a little after the program).
  std::ifstream in(dir / "trace.jsonl");
  std::string line, last;
  while (std::getline(in, line))
    last = line;
  ASSERT_EQ(last.rfind("{\"t\":", 0), 0u) << last;
  EXPECT_NE(last.find("\"ev\":\"exit\""), std::string::npos) << last;
  long t = std::stol(last.substr(5));
  EXPECT_GE(t, 1000) << last;
  EXPECT_LT(t, 60000) << last;
}

}  // namespace
}  // namespace sl::sdl

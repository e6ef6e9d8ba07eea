// The program on the desktop of a private Xvfb: its message boxes are shown and wait for the
// user, who answers them with the keyboard.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "sdl/x11_user.h"
#include "sdl/xvfb_display.h"
#include "support/temp_folder.h"

extern char** environ;

namespace sl::sdl {
namespace {

// Waits up to `ms` for the child to end; its exit status, or -1 while it still runs.
int WaitFor(pid_t pid, int ms) {
  for (int waited = 0;; waited += 50) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
    if (waited >= ms) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

TEST(DesktopRun, AMessageBoxWaitsForTheUsersAnswer) {
  test::XvfbDisplay xvfb;
  if (!xvfb.Installed()) GTEST_SKIP() << "skipped: " << xvfb.Reason();
  ASSERT_TRUE(xvfb.Available()) << xvfb.Reason();
  test::X11User user(nullptr);
  if (!user.Available()) GTEST_SKIP() << "skipped: libXtst is not installed";

  // A project without its information file: the program says so in a box, then ends.
  test::TempFolder temp;
  std::filesystem::path dir = temp.Path();
  std::filesystem::create_directories(dir / "empty" / "Config");
  std::vector<std::string> args = {STORYLOOM_BINARY_DIR "/src/app/storyloom", "--settings",
                                   (dir / "settings.ini").string(), (dir / "empty").string()};
  std::vector<char*> argv;
  for (std::string& a : args)
    argv.push_back(a.data());
  argv.push_back(nullptr);
  // Sanitizer builds: SDL's D-Bus connection leaves blocks no suppression can name, so the
  // program's leak check is off here as it is for this test program.
  const char* asan = std::getenv("ASAN_OPTIONS");
  std::string asanOptions =
      "ASAN_OPTIONS=" + std::string(asan ? asan : "") + (asan ? ":" : "") + "detect_leaks=0";
  std::vector<char*> env;
  for (char** e = environ; *e; ++e) {
    if (std::string_view(*e).starts_with("ASAN_OPTIONS=")) continue;
    env.push_back(*e);
  }
  env.push_back(asanOptions.data());
  env.push_back(nullptr);
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), env.data()), 0);

  // The box stays until it is answered.
  int early = WaitFor(pid, 1500);
  if (early != -1) {
    ADD_FAILURE() << "the program ended without waiting for the box (status " << early << ")";
    return;
  }
  // The box is centred on the screen; the key goes to the window under the pointer.
  user.MoveTo(640, 512);
  user.Key(0xFF0D);  // Return: the OK button
  int status = WaitFor(pid, 10000);
  if (status == -1) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
  EXPECT_EQ(status, 0);
}

}  // namespace
}  // namespace sl::sdl

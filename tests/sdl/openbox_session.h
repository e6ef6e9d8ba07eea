// A window manager on a test's private X display (openbox), for the behaviour only a window
// manager gives: frames around windows, full screen on request, dialog windows. Started after
// XvfbDisplay (it uses $DISPLAY), stopped at the end. When openbox is not installed,
// Installed() is false and the tests that need it skip.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "sdl/xvfb_display.h"

namespace sl::test {

class OpenboxSession {
 public:
  OpenboxSession() {
    const char* program = "/usr/bin/openbox";
    if (access(program, X_OK) != 0) return;
    installed_ = true;
    std::vector<std::string> args = {program, "--sm-disable"};
    std::vector<char*> argv = SpawnArguments(args);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    if (posix_spawn(&pid_, program, &actions, nullptr, argv.data(), environ) != 0) pid_ = 0;
    posix_spawn_file_actions_destroy(&actions);
    // It takes the screen over within a moment.
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
  }
  ~OpenboxSession() { StopChild(pid_); }
  OpenboxSession(const OpenboxSession&) = delete;
  OpenboxSession& operator=(const OpenboxSession&) = delete;

  bool Installed() const { return installed_; }
  bool Running() const { return pid_ > 0; }

 private:
  bool installed_ = false;
  pid_t pid_ = 0;
};

}  // namespace sl::test

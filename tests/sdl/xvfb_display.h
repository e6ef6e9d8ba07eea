// A private X display for tests of the real desktop: starts Xvfb on a free display number
// (chosen by Xvfb itself through -displayfd) and points DISPLAY at it; stops it at the end.
// When Xvfb is not installed, Available() is false and Reason() says so, so tests can skip.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <SDL.h>

#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace sl::test {

// The argument vector of posix_spawn for `args` (which must outlive it).
inline std::vector<char*> SpawnArguments(std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (auto& a : args)
    argv.push_back(a.data());
  argv.push_back(nullptr);
  return argv;
}

// Ends a child process of the test and collects it.
inline void StopChild(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
}

class XvfbDisplay {
 public:
  explicit XvfbDisplay(const std::string& screen = "1280x1024x24") {
    std::string program = FindProgram("Xvfb");
    if (program.empty()) {
      reason_ = "Xvfb is not installed (Debian package xvfb)";
      installed_ = false;
      return;
    }
    int fds[2];
    if (pipe(fds) != 0) {
      reason_ = "no pipe";
      return;
    }
    std::vector<std::string> args = {program,     "-displayfd", std::to_string(fds[1]),
                                     "-screen",   "0",          screen,
                                     "-nolisten", "tcp",        "-noreset"};
    std::vector<char*> argv = SpawnArguments(args);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    int rc = posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (rc != 0) {
      close(fds[0]);
      pid_ = 0;
      reason_ = "Xvfb could not be started";
      return;
    }
    std::string number = ReadLine(fds[0], 15000);
    close(fds[0]);
    if (number.empty()) {
      reason_ = "Xvfb did not report its display";
      return;
    }
    name_ = ":" + number;
    setenv("DISPLAY", name_.c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    // SDL_Quit at the end frees SDL's D-Bus connection, so the leak checker sees no leftovers.
    setenv("SDL_SHUTDOWN_DBUS_ON_QUIT", "1", 1);
#if defined(__SANITIZE_ADDRESS__)
    // The software OpenGL driver leaks blocks the leak checker cannot trace to a library (so
    // no suppression can name them); sanitizer builds draw with SDL's own software renderer.
    setenv("SDL_RENDER_DRIVER", "software", 1);
#endif
    unsetenv("WAYLAND_DISPLAY");
  }
  ~XvfbDisplay() {
    SDL_Quit();
    StopChild(pid_);
  }
  XvfbDisplay(const XvfbDisplay&) = delete;
  XvfbDisplay& operator=(const XvfbDisplay&) = delete;

  bool Available() const {
    return !name_.empty();
  }
  bool Installed() const {
    return installed_;
  }
  const std::string& Reason() const {
    return reason_;
  }
  const std::string& Name() const {
    return name_;
  }

 private:
  static std::string FindProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string dirs = std::string(path ? path : "") + ":/usr/bin:/usr/local/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
      std::size_t end = dirs.find(':', start);
      if (end == std::string::npos) end = dirs.size();
      std::string candidate = dirs.substr(start, end - start) + "/" + name;
      if (end > start && access(candidate.c_str(), X_OK) == 0) return candidate;
      start = end + 1;
    }
    return {};
  }
  static std::string ReadLine(int fd, int timeoutMs) {
    std::string line;
    pollfd p{fd, POLLIN, 0};
    while (poll(&p, 1, timeoutMs) > 0) {
      char c;
      if (read(fd, &c, 1) != 1) break;
      if (c == '\n') return line;
      line.push_back(c);
    }
    return {};
  }

  pid_t pid_ = 0;
  bool installed_ = true;
  std::string name_;
  std::string reason_;
};

}  // namespace sl::test

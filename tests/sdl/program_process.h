// The storyloom program as a child process of a desktop test: started with its arguments (in
// sanitizer builds without the leak check, as SDL's D-Bus connection leaves blocks no
// suppression can name), and waited for with a time limit.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

extern char** environ;

namespace sl::test {

// Starts the built program with `args`; returns its process id, or 0 when it did not start.
inline pid_t StartProgram(std::vector<std::string> args) {
  std::string program = STORYLOOM_BINARY_DIR "/src/app/storyloom";
  std::vector<char*> argv = {program.data()};
  for (std::string& a : args)
    argv.push_back(a.data());
  argv.push_back(nullptr);
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
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), env.data()) != 0) return 0;
  return pid;
}

// Waits up to `ms` for the child to end; its exit status, or -1 while it still runs.
inline int WaitFor(pid_t pid, int ms) {
  for (int waited = 0;; waited += 50) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
    if (waited >= ms) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

// Ends the child at once and collects it.
inline void EndProgram(pid_t pid) {
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

}  // namespace sl::test

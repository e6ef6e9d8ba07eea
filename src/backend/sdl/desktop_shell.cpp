// xdg-open and posix_spawn, polled with waitpid(WNOHANG).
#include "backend/sdl/desktop_shell.h"

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <string>

extern char** environ;

namespace sl::sdl {

namespace {

// Spawns argv[0] (searched in PATH when `searchPath`); 0 on failure.
pid_t Spawn(const std::vector<std::string>& args, bool searchPath) {
  std::vector<char*> argv;
  for (const auto& a : args)
    argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  int rc = searchPath ? posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ)
                      : posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ);
  return rc == 0 ? pid : 0;
}

int ExitCodeOf(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

class SpawnedProcess final : public ui::ChildProcess {
 public:
  SpawnedProcess(pid_t pid, std::shared_ptr<ChildReaper> reaper)
      : pid_(pid), reaper_(std::move(reaper)) {}
  ~SpawnedProcess() override {
    if (!ended_) reaper_->Adopt(pid_);
  }
  bool Running() override {
    Poll();
    return !ended_;
  }
  int ExitCode() override {
    Poll();
    return exitCode_;
  }

 private:
  void Poll() {
    if (ended_) return;
    int status = 0;
    pid_t r = waitpid(pid_, &status, WNOHANG);
    if (r == pid_) {
      ended_ = true;
      exitCode_ = ExitCodeOf(status);
    } else if (r < 0) {
      ended_ = true;  // not our child any more: nothing left to wait for
    }
  }

  pid_t pid_;
  std::shared_ptr<ChildReaper> reaper_;
  bool ended_ = false;
  int exitCode_ = 0;
};

}  // namespace

void ChildReaper::Reap() {
  std::erase_if(pids_, [](pid_t pid) {
    int status = 0;
    return waitpid(pid, &status, WNOHANG) != 0;  // ended (reaped) or not ours any more
  });
}

bool DesktopShell::Open(std::string_view verb, std::string_view target) {
  Reap();
  if (!verb.empty() && verb != "open" && verb != "explore") return false;
  if (target.empty()) return false;
  std::string arg(target);
  // A target that looks like an option would be taken as one by the opener.
  if (arg.front() == '-') arg = "./" + arg;
  pid_t pid = Spawn({opener_, arg}, true);
  if (pid == 0) return false;
  reaper_->Adopt(pid);
  return true;
}

std::unique_ptr<ui::ChildProcess> DesktopShell::StartProgram(std::string_view path) {
  Reap();
  if (path.empty()) return nullptr;
  pid_t pid = Spawn({std::string(path)}, path.find('/') == std::string_view::npos);
  if (pid == 0) return nullptr;
  return std::make_unique<SpawnedProcess>(pid, reaper_);
}

}  // namespace sl::sdl

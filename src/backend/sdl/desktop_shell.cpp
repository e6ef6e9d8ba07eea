// xdg-open and posix_spawn, polled with waitpid(WNOHANG); a started program watched through
// its process file descriptor.
#include "backend/sdl/desktop_shell.h"

#include <poll.h>
#include <spawn.h>
#include <sys/eventfd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <thread>

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

// Waits, on a thread of its own, for a process to end and then calls `notify`; stopped (and
// joined) when it goes. It only waits (the process is reaped by whoever polls it): through the
// process's file descriptor, or where the system has none by looking every 100 ms.
class EndWatcher {
 public:
  EndWatcher(pid_t pid, std::function<void()> notify) : cancel_(eventfd(0, EFD_CLOEXEC)) {
    if (cancel_ < 0) return;
    int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    thread_ = std::thread([this, pid, pidfd, notify = std::move(notify)] {
      if (Watch(pid, pidfd)) notify();
      if (pidfd >= 0) close(pidfd);
    });
  }
  ~EndWatcher() {
    if (cancel_ < 0) return;
    std::uint64_t one = 1;
    if (write(cancel_, &one, sizeof one) < 0) {
      // The thread then ends with the process; joining waits for that.
    }
    if (thread_.joinable()) thread_.join();
    close(cancel_);
  }
  EndWatcher(const EndWatcher&) = delete;
  EndWatcher& operator=(const EndWatcher&) = delete;

 private:
  // True when the process ended, false when cancelled.
  bool Watch(pid_t pid, int pidfd) {
    pollfd fds[2] = {{cancel_, POLLIN, 0}, {pidfd, POLLIN, 0}};
    for (;;) {
      int n = poll(fds, pidfd >= 0 ? 2 : 1, pidfd >= 0 ? -1 : 100);
      if (n < 0 && errno != EINTR) return false;
      if (fds[0].revents) return false;
      if (pidfd >= 0 && fds[1].revents) return true;
      if (pidfd < 0) {
        siginfo_t info{};
        if (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0)
          return true;
        if (info.si_pid == pid) return true;
      }
    }
  }

  int cancel_;
  std::thread thread_;
};

class SpawnedProcess final : public ui::ChildProcess {
 public:
  SpawnedProcess(pid_t pid, std::shared_ptr<ChildReaper> reaper,
                 const std::function<void()>& notify)
      : pid_(pid), reaper_(std::move(reaper)) {
    if (notify) watcher_ = std::make_unique<EndWatcher>(pid, notify);
  }
  ~SpawnedProcess() override {
    watcher_.reset();
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
  std::unique_ptr<EndWatcher> watcher_;
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
  return std::make_unique<SpawnedProcess>(pid, reaper_, notify_);
}

}  // namespace sl::sdl

// Handing documents and addresses to the desktop (xdg-open) and starting programs, without ever
// waiting for them: children are spawned and polled, and those nobody polls any more are reaped
// later so that none is left a zombie. A started program is watched from a thread of its own
// that tells the end notifier when it ends, so that a waiting event loop wakes at once.
#pragma once

#include <sys/types.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/platform.h"

namespace sl::sdl {

// Collects ended children that nobody waits for.
class ChildReaper {
 public:
  void Adopt(pid_t pid) { pids_.push_back(pid); }
  // Reaps the adopted children that have ended; never blocks.
  void Reap();
  std::size_t Pending() const { return pids_.size(); }

 private:
  std::vector<pid_t> pids_;
};

class DesktopShell {
 public:
  DesktopShell() : reaper_(std::make_shared<ChildReaper>()) {}
  // Hands `target` to the desktop's opener for the verb ("open", "explore" or empty; other
  // verbs are refused). False when the opener cannot be started.
  bool Open(std::string_view verb, std::string_view target);
  // Starts the program at `path` with no arguments; nullptr when it cannot be started.
  std::unique_ptr<ui::ChildProcess> StartProgram(std::string_view path);
  // Reaps ended children that are no longer watched; cheap, call it now and then.
  void Reap() { reaper_->Reap(); }
  // Children handed over to the reaper and not yet ended.
  std::size_t Pending() const { return reaper_->Pending(); }
  // The opener program (xdg-open unless changed, e.g. by tests).
  void SetOpener(std::string opener) { opener_ = std::move(opener); }
  // Called, from the watching thread, when a program started here ends while its ChildProcess
  // still exists. Must be safe to call from any thread.
  void SetEndNotifier(std::function<void()> notify) { notify_ = std::move(notify); }

 private:
  std::shared_ptr<ChildReaper> reaper_;
  std::function<void()> notify_;
  std::string opener_ = "xdg-open";
};

}  // namespace sl::sdl

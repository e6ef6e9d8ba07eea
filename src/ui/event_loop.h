// EventLoop: the one loop of the window thread. DoEvents takes the input that is pending, fires
// the timers that are due and repaints what changed; handlers may call it again (re-entrantly),
// which is how long operations and modal windows let events run. The waiting forms sleep
// through the platform until the next input, timer or deadline, so a waiting program uses no CPU
// and a virtual clock jumps straight to the next thing that is due.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

#include "ui/input_event.h"
#include "ui/platform.h"

namespace sl::ui {

class Timer;

constexpr std::int64_t kNoDeadline = std::numeric_limits<std::int64_t>::max();

class EventLoop {
 public:
  // What the loop serves: the window manager that owns the forms. It receives input, repaints
  // the windows that changed, and may ask to be woken at a time of its own (a tool-tip delay).
  class Client {
   public:
    virtual ~Client() = default;
    virtual void HandleInput(const InputEvent& event) = 0;
    virtual void Repaint() = 0;
    virtual std::int64_t NextDeadline() { return kNoDeadline; }
    // Called when the loop passes a deadline the client asked for (before timers fire).
    virtual void DeadlinePassed(std::int64_t /*nowMs*/) {}
  };

  explicit EventLoop(Platform& platform);
  EventLoop(const EventLoop&) = delete;
  EventLoop& operator=(const EventLoop&) = delete;
  ~EventLoop();

  Platform& GetPlatform() const { return platform_; }
  Clock& GetClock() const { return platform_.GetClock(); }
  std::int64_t NowMs() const { return platform_.GetClock().MonotonicMs(); }

  void SetClient(Client* client) { client_ = client; }

  // Dispatches the input pending now, fires the timers due now and repaints; never sleeps.
  void DoEvents();
  // Sleeps until input arrives, a timer falls due or `deadlineMs` passes (whichever is first),
  // then does DoEvents. Returns at once (after DoEvents) when something is already due.
  void DoEventsWait(std::int64_t deadlineMs);
  // DoEventsWait with no deadline of its own: until the next input or timer.
  void WaitEvents() { DoEventsWait(kNoDeadline); }
  // Lets `ms` milliseconds pass, running events meanwhile (at least one DoEvents pass).
  void Sleep(std::int64_t ms);
  // Runs the loop until `done` returns true or the program is quitting (a nested loop for a
  // modal window or a wait).
  void RunUntil(const std::function<bool()>& done);

  // A quit request ends every RunUntil and wait; the program's main loop then ends.
  void RequestQuit() { quitRequested_ = true; }
  bool QuitRequested() const { return quitRequested_; }

  // How deeply DoEvents is nested right now (0 outside it).
  int Depth() const { return depth_; }
  // The time the earliest armed timer falls due, or kNoDeadline.
  std::int64_t NextTimerDue() const;

 private:
  friend class Timer;
  void Register(Timer* timer);
  void Unregister(Timer* timer);
  void FireDueTimers();
  void CheckClientDeadline();

  Platform& platform_;
  Client* client_ = nullptr;
  std::vector<Timer*> timers_;
  int depth_ = 0;
  bool quitRequested_ = false;
};

}  // namespace sl::ui

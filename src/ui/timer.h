// Timer: calls its tick handler every Interval milliseconds while Enabled, on the window thread
// through the EventLoop. Classic rules the game relies on: setting Enabled to True on a timer that
// is already enabled keeps its countdown; disabling and enabling again restarts it; an Interval of
// 0 stops the ticks; a tick never starts while a tick of the same timer is still running (a
// handler that lets events run does not see its own timer again).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace sl::ui {

class EventLoop;

class Timer {
 public:
  explicit Timer(EventLoop& loop);
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  ~Timer();

  // Milliseconds between ticks, 0 to 65535; other values are RuntimeError 380. Changing it on
  // an enabled timer starts a new countdown.
  int Interval() const { return interval_; }
  void SetInterval(std::int64_t ms);

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  // The tick handler. The timer may be destroyed by its own handler.
  void SetHandler(std::function<void()> handler) { handler_ = std::move(handler); }

  // True while the tick handler runs.
  bool Ticking() const { return ticking_; }
  // Ticks so far.
  std::int64_t TickCount() const { return ticks_; }

  // Armed: enabled with a non-zero interval.
  bool Armed() const { return enabled_ && interval_ > 0; }
  // When the next tick is due (clock milliseconds); meaningful only when Armed().
  std::int64_t Due() const { return due_; }

 private:
  friend class EventLoop;
  void Restart();
  void Fire(std::int64_t nowMs);

  EventLoop& loop_;
  std::function<void()> handler_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  std::int64_t due_ = 0;
  std::int64_t ticks_ = 0;
  int interval_ = 0;
  bool enabled_ = true;
  bool ticking_ = false;
};

}  // namespace sl::ui

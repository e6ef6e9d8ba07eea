// Timer countdowns and ticks; see timer.h for the rules.
#include "ui/timer.h"

#include "core/runtime_error.h"
#include "ui/event_loop.h"

namespace sl::ui {

Timer::Timer(EventLoop& loop) : loop_(loop) {
  loop_.Register(this);
}

Timer::~Timer() {
  *alive_ = false;
  loop_.Unregister(this);
}

void Timer::Restart() {
  due_ = loop_.NowMs() + interval_;
}

void Timer::SetInterval(std::int64_t ms) {
  if (ms < 0 || ms > 65535) throw RuntimeError(kErrInvalidPropertyValue);
  interval_ = static_cast<int>(ms);
  Restart();
}

void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;  // enabling an enabled timer keeps its countdown
  enabled_ = enabled;
  if (enabled_) Restart();
}

void Timer::Fire(std::int64_t nowMs) {
  // The next tick is counted from when this one was due, so ticks do not drift; ticks missed
  // while the program was busy are merged into one, as classic timer messages are.
  due_ += interval_;
  if (due_ <= nowMs) due_ = nowMs + interval_;
  ++ticks_;
  if (!handler_) return;
  auto handler = handler_;  // the handler may replace itself or destroy the timer
  std::shared_ptr<bool> alive = alive_;
  ticking_ = true;
  try {
    handler();
  } catch (...) {
    if (*alive) ticking_ = false;
    throw;
  }
  if (*alive) ticking_ = false;
}

}  // namespace sl::ui

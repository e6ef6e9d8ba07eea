// The event loop: input first, then due timers, then repainting, as the classic message queue
// orders them (timer and paint messages come only when no input is waiting).
#include "ui/event_loop.h"

#include <algorithm>
#include <utility>

#include "ui/timer.h"

namespace sl::ui {

EventLoop::EventLoop(Platform& platform) : platform_(platform) {}

EventLoop::~EventLoop() = default;

void EventLoop::Register(Timer* timer) {
  timers_.push_back(timer);
}

void EventLoop::Unregister(Timer* timer) {
  std::erase(timers_, timer);
}

void EventLoop::DoEvents() {
  ++depth_;
  struct DepthGuard {
    int& d;
    ~DepthGuard() { --d; }
  } guard{depth_};

  InputEvent event;
  while (platform_.PollEvent(event)) {
    if (client_) client_->HandleInput(event);
  }
  CheckClientDeadline();
  FireDueTimers();
  if (client_) client_->Repaint();
}

void EventLoop::CheckClientDeadline() {
  if (!client_) return;
  std::int64_t now = NowMs();
  if (client_->NextDeadline() <= now) client_->DeadlinePassed(now);
}

std::int64_t EventLoop::NextTimerDue() const {
  std::int64_t next = kNoDeadline;
  for (const Timer* t : timers_) {
    if (t->Armed() && !t->ticking_) next = std::min(next, t->due_);
  }
  return next;
}

void EventLoop::DoEventsWait(std::int64_t deadlineMs) {
  std::int64_t wake = std::min(deadlineMs, NextTimerDue());
  if (client_) wake = std::min(wake, client_->NextDeadline());
  if (wake > NowMs()) platform_.WaitEvent(wake);
  DoEvents();
}

void EventLoop::Sleep(std::int64_t ms) {
  std::int64_t deadline = NowMs() + std::max<std::int64_t>(ms, 0);
  DoEvents();
  while (NowMs() < deadline && !quitRequested_)
    DoEventsWait(deadline);
}

void EventLoop::RunUntil(const std::function<bool()>& done) {
  while (!quitRequested_ && !done())
    WaitEvents();
}

void EventLoop::FireDueTimers() {
  std::int64_t now = NowMs();
  // Handlers may create, destroy, enable or disable timers (this one included), so the due ones
  // are listed first and each is checked again just before it fires.
  std::vector<std::pair<std::int64_t, Timer*>> due;
  for (Timer* t : timers_) {
    if (t->Armed() && !t->ticking_ && t->due_ <= now) due.emplace_back(t->due_, t);
  }
  std::stable_sort(due.begin(), due.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto& [when, timer] : due) {
    if (std::find(timers_.begin(), timers_.end(), timer) == timers_.end()) continue;
    if (!timer->Armed() || timer->ticking_ || timer->due_ > now) continue;
    timer->Fire(now);
    if (quitRequested_) return;
  }
}

}  // namespace sl::ui

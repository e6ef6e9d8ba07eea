// Timed events: the table beside the TimedEvent timer array.
#include "player/scripting/timed_events.h"

#include "core/runtime_error.h"
#include "core/variant_convert.h"
#include "player/startup/project.h"
#include "ui/control_array.h"
#include "ui/controls/timer_control.h"

namespace sl {

namespace {

constexpr double kMillisecondsPerSecond = 1000;

ui::TimerControl* TimerOf(ui::ControlArray* timers, int index) {
  return timers ? dynamic_cast<ui::TimerControl*>(timers->Find(index)) : nullptr;
}

}  // namespace

std::int16_t TimedEvents::CreateTimedEvent(const Variant& Duration, const std::string& sCode,
                                           bool bRepeatForever) {
  int n = 0;
  try {
    if (ToDouble(Duration) > kLongestDuration || !timers_) return 0;
    n = timers_->UBound() + 1;
    auto& timer = static_cast<ui::TimerControl&>(timers_->Load(n));
    if (table_.size() <= static_cast<std::size_t>(n))
      table_.resize(static_cast<std::size_t>(n) + 1);
    timer.SetInterval(RoundToInteger(ToDouble(Duration) * kMillisecondsPerSecond));
    table_[static_cast<std::size_t>(n)] = Record{true, bRepeatForever, sCode};
    return static_cast<std::int16_t>(n);
  } catch (const RuntimeError& e) {
    project_.ShowError(" Unable to create the timed event #" + std::to_string(n) + ". " +
                       e.Description());
    return 0;
  }
}

void TimedEvents::RemoveTimedEvent(std::int16_t number) {
  try {
    if (number == 0 || !timers_ || number > timers_->UBound()) return;
    if (number < 0) throw RuntimeError(kErrSubscript);
    Disarm(number);
  } catch (const RuntimeError& e) {
    project_.ShowError(" Unable to remove the timed event #" + std::to_string(number) + ". " +
                       e.Description());
  }
}

void TimedEvents::Disarm(int index) {
  if (static_cast<std::size_t>(index) < table_.size())
    table_[static_cast<std::size_t>(index)].active = false;
  if (ui::TimerControl* t = TimerOf(timers_, index)) t->SetEnabled(false);
}

void TimedEvents::ResetTimedEvents() {
  ++generation_;
  table_.assign(1, Record{});
  if (!timers_) return;
  std::vector<int> loaded;
  for (const auto& [index, control] : timers_->Elements()) {
    if (index != 0) loaded.push_back(index);
  }
  for (int index : loaded)
    timers_->Unload(index);
  if (ui::TimerControl* t = TimerOf(timers_, 0)) {
    t->SetEnabled(false);
    t->SetInterval(0);
  }
}

void TimedEvents::StartTimedEvents() {
  if (!timers_) return;
  for (const auto& [index, control] : timers_->Elements()) {
    if (index == 0 || static_cast<std::size_t>(index) >= table_.size()) continue;
    auto* t = dynamic_cast<ui::TimerControl*>(control.get());
    if (t && table_[static_cast<std::size_t>(index)].active && !t->TimerEnabled())
      t->SetEnabled(true);
  }
}

void TimedEvents::PauseTimedEvents() {
  if (!timers_) return;
  for (const auto& [index, control] : timers_->Elements()) {
    if (auto* t = dynamic_cast<ui::TimerControl*>(control.get())) t->SetEnabled(false);
  }
}

std::optional<std::string> TimedEvents::Fire(int index) {
  if (index <= 0 || static_cast<std::size_t>(index) >= table_.size()) return std::nullopt;
  const Record& r = table_[static_cast<std::size_t>(index)];
  if (!r.active || r.code.empty()) return std::nullopt;
  std::string code = r.code;
  if (!r.repeat) Drop(index, generation_);
  return code;
}

void TimedEvents::Drop(int index, std::uint64_t generation) {
  if (generation != generation_) return;
  Disarm(index);
  if (ui::TimerControl* t = TimerOf(timers_, index)) t->SetInterval(0);
}

std::vector<TimedEventState> TimedEvents::States() const {
  std::vector<TimedEventState> states;
  if (!timers_) return states;
  for (const auto& [index, control] : timers_->Elements()) {
    if (index == 0) continue;
    auto* t = dynamic_cast<ui::TimerControl*>(control.get());
    const Record* r = static_cast<std::size_t>(index) < table_.size()
                          ? &table_[static_cast<std::size_t>(index)]
                          : nullptr;
    states.push_back(
        {index, r && r->active, t && t->TimerEnabled(), t ? t->Interval() : 0, r && r->repeat});
  }
  return states;
}

}  // namespace sl

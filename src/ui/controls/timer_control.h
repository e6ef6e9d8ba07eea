// The Timer control: a ui::Timer placed on a form, so that it has a name, an index in a control
// array and script access (Interval, Enabled). Its tick calls the `timer` handler.
#pragma once

#include <memory>

#include "core/dispatch_table.h"
#include "ui/control.h"
#include "ui/timer.h"

namespace sl::ui {

class TimerControl final : public ControlBase<TimerControl> {
 public:
  TimerControl(Form* form, std::string name);

  int Interval() const { return timer_->Interval(); }
  void SetInterval(std::int64_t ms) { timer_->SetInterval(ms); }
  // A timer that is not on a shown form still ticks, as classic timers on hidden forms do.
  bool TimerEnabled() const { return timer_->Enabled(); }
  void SetEnabled(bool enable) override {
    Control::SetEnabled(enable);
    timer_->SetEnabled(enable);
  }
  Timer& Inner() { return *timer_; }

  bool IsWindowed() const override { return false; }
  void Paint(draw::Surface&, draw::Point) override {}
  static const DispatchTable<TimerControl>& Members();

 protected:
  void CopyPropertiesFrom(const Control& source) override;

 private:
  std::unique_ptr<Timer> timer_;
};

}  // namespace sl::ui

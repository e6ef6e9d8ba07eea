// Timer controls.
#include "ui/controls/timer_control.h"

#include "ui/control_members.h"
#include "ui/window_manager.h"

namespace sl::ui {

TimerControl::TimerControl(Form* form, std::string name)
    : ControlBase<TimerControl>(form, ControlKind::Timer, std::move(name)),
      timer_(std::make_unique<Timer>(form->GetManager().Loop())) {
  timer_->SetHandler([this] {
    Ref<Control> keep(this);  // the handler may unload this element
    if (on.timer) on.timer(*this);
  });
}

void TimerControl::CopyPropertiesFrom(const Control& source) {
  const auto& s = static_cast<const TimerControl&>(source);
  timer_->SetEnabled(s.Enabled());
  timer_->SetInterval(s.timer_->Interval());
}

const DispatchTable<TimerControl>& TimerControl::Members() {
  static const DispatchTable<TimerControl> table = [] {
    using T = TimerControl;
    DispatchTable<T> t;
    t.Property("Name", [](T& c) { return Str(c.Name()); });
    t.Property("Index", [](T& c) -> Variant {
      if (c.Index() < 0) throw RuntimeError(kErrNotAnArray, "Object not an array");
      return Int(c.Index());
    });
    t.Property(
        "Interval", [](T& c) { return Long(c.Interval()); },
        [](T& c, const Variant& v) { c.SetInterval(ToLong(v)); });
    t.Property(
        "Enabled", [](T& c) { return Bool(c.TimerEnabled()); },
        [](T& c, const Variant& v) { c.SetEnabled(ToBoolean(v)); });
    t.Property(
        "Tag", [](T& c) { return Str(c.Tag()); },
        [](T& c, const Variant& v) { c.SetTag(ToUtf8(v)); });
    t.Property("Parent", [](T& c) { return Variant(static_cast<Object*>(c.GetForm())); });
    t.Default("Enabled");
    return t;
  }();
  return table;
}

}  // namespace sl::ui

// Timed events: pieces of script code that run after a delay, once or at every tick, while the
// game stays in the current frame. Each event is a member of the game window's `TimedEvent` timer
// array (its number is the member's index; member 0 never runs code) with a record beside it:
// live or not, repeating or not, and its code. Opening a frame drops them all; the rest of the
// player pauses and restarts them around dialogs and frame changes. A restart leaves a running
// countdown alone.
//
// API:
//   TimedEvents events(project);  events.Attach(form.Array("TimedEvent"));
//   std::int16_t n = events.CreateTimedEvent(Variant(20), "Gull.Left = 0", true);  // 0: none
//   events.StartTimedEvents();  events.PauseTimedEvents();  events.ResetTimedEvents();
//   if (auto code = events.Fire(n)) { run it; if it failed: events.Drop(n, generation); }
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/variant.h"
#include "player/game_subsystems.h"

namespace sl {

class Project;
namespace ui {
class ControlArray;
}

class TimedEvents {
 public:
  // Durations above this many seconds create nothing.
  static constexpr double kLongestDuration = 65;

  explicit TimedEvents(Project& project) : project_(project) {}
  void Attach(ui::ControlArray& timers) { timers_ = &timers; }

  // The number of the new event, or 0 when none was created (a failure has been reported).
  std::int16_t CreateTimedEvent(const Variant& Duration, const std::string& sCode,
                                bool bRepeatForever);
  void RemoveTimedEvent(std::int16_t number);
  void ResetTimedEvents();
  void StartTimedEvents();
  void PauseTimedEvents();

  // A tick of member `index`: the code to run, or nothing when the event is not live. A
  // one-shot event is disarmed here, before its code runs, so that it cannot fire twice.
  std::optional<std::string> Fire(int index);
  // Drops an event whose code failed, unless the events were reset since `generation`.
  void Drop(int index, std::uint64_t generation);
  // Counts resets, so that a late Drop cannot reach an event of another frame.
  std::uint64_t Generation() const { return generation_; }

  std::vector<TimedEventState> States() const;

 private:
  struct Record {
    bool active = false;
    bool repeat = false;
    std::string code;
  };
  void Disarm(int index);

  Project& project_;
  ui::ControlArray* timers_ = nullptr;
  std::vector<Record> table_{Record{}};
  std::uint64_t generation_ = 0;
};

}  // namespace sl

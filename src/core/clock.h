// Clock: the only source of time in the program. The desktop uses the system's clocks; headless
// runs use a virtual clock that moves only when the run lets time pass, so they are exact and
// repeatable. Nothing else reads the system time.
#pragma once

#include <cstdint>

#include "core/date_time.h"

namespace sl {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since the clock was made, never going backwards.
  virtual std::int64_t MonotonicMs() const = 0;
  // The local date and time of day.
  virtual CivilTime Now() const = 0;
};

class SystemClock final : public Clock {
 public:
  SystemClock();
  std::int64_t MonotonicMs() const override;
  CivilTime Now() const override;

 private:
  std::int64_t originNs_;
};

class VirtualClock final : public Clock {
 public:
  // Starts at the given local date and time with a monotonic reading of 0.
  explicit VirtualClock(const CivilTime& start);
  std::int64_t MonotonicMs() const override { return elapsedMs_; }
  CivilTime Now() const override;

  // Moves time forward; a target in the past leaves the clock as it is.
  void AdvanceTo(std::int64_t monotonicMs) noexcept;
  void Advance(std::int64_t ms) noexcept { AdvanceTo(elapsedMs_ + ms); }

 private:
  std::int64_t startEpochMs_;
  std::int64_t elapsedMs_ = 0;
};

}  // namespace sl

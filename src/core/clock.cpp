#include "core/clock.h"

#include <chrono>
#include <ctime>

namespace sl {

namespace {
std::int64_t SteadyNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}
}  // namespace

SystemClock::SystemClock() : originNs_(SteadyNs()) {}

std::int64_t SystemClock::MonotonicMs() const {
  return (SteadyNs() - originNs_) / 1'000'000;
}

CivilTime SystemClock::Now() const {
  auto now = std::chrono::system_clock::now();
  std::time_t secs = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&secs, &local);
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
  CivilTime t;
  t.year = local.tm_year + 1900;
  t.month = local.tm_mon + 1;
  t.day = local.tm_mday;
  t.hour = local.tm_hour;
  t.minute = local.tm_min;
  t.second = local.tm_sec;
  t.millisecond = static_cast<int>(((ms % 1000) + 1000) % 1000);
  return t;
}

VirtualClock::VirtualClock(const CivilTime& start) : startEpochMs_(CivilToEpochMs(start)) {}

CivilTime VirtualClock::Now() const {
  return EpochMsToCivil(startEpochMs_ + elapsedMs_);
}

void VirtualClock::AdvanceTo(std::int64_t monotonicMs) noexcept {
  if (monotonicMs > elapsedMs_) elapsedMs_ = monotonicMs;
}

}  // namespace sl

// Runs a script of unknown content in a fresh engine with tight limits, with a WScript object
// that accepts any member. Shared by the fuzz test and the libFuzzer target.
#pragma once

#include <cstdint>
#include <string_view>

#include "vbscript/engine.h"

namespace sl::vbs {

// Accepts every member name and every call.
class AnyObject final : public Object {
 public:
  std::string TypeName() const override { return "Object"; }
  DispId GetIdOfName(std::string_view) override { return 1; }
  Variant Invoke(DispId, std::uint8_t, std::span<Variant>) override { return Variant(); }
};

// A clock that moves one millisecond each time it is read, so time limits end loops quickly.
class SteppingClock final : public Clock {
 public:
  std::int64_t MonotonicMs() const override { return ++now_; }
  CivilTime Now() const override { return CivilTime{2004, 3, 7, 12, 0, 0, 0}; }

 private:
  mutable std::int64_t now_ = 0;
};

// The engine reads its clock about once per thousand steps, so this limit lets a script take
// some eight thousand steps: the seed scripts keep all but a few of their edges, and the
// search does not spend its time in mutated scripts that recurse and fail at every level.
constexpr std::int64_t kFuzzTimeLimitMs = 8;

// True when the script ran to its end, false when it ended with a script error or time-out.
inline bool RunUntrustedScript(std::string_view script) {
  SteppingClock clock;
  Engine engine;
  engine.SetClock(&clock);
  engine.SetTimeLimit(kFuzzTimeLimitMs, &clock);
  engine.SetMaxCallDepth(100);
  engine.SetMemoryLimit(std::size_t{64} << 20);
  engine.AddObject("WScript", Ref<Object>(new AnyObject));
  try {
    engine.AddCode(script, "fuzz");
    return true;
  } catch (const ScriptError&) {
    return false;
  } catch (const ScriptAbort&) {
    return false;
  }
}

}  // namespace sl::vbs

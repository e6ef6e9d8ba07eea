// Decoding in a short-lived child process, for decoders of old formats that have no fuzzing
// history (WMF through libwmf, EMF through libemf2svg): a file that makes such a decoder loop,
// crash or allocate without end costs a child process, never the player.
//
// API:
//   Surface s = DecodeInChildProcess([&] { return RenderSomething(bytes); });
//   // runs the function in a child process limited in CPU time, wall time and memory, and
//   // returns the surface it produced; RuntimeError 481 when the child fails, is stopped by a
//   // limit or hands back anything but a well-formed picture.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>

#include "ui/draw/surface.h"

namespace sl::draw::detail {

struct ChildProcessLimits {
  int cpuSeconds = 2;
  std::chrono::milliseconds wallTime{5000};
  // Address space the child may add to what it inherits.
  std::size_t extraMemoryBytes = std::size_t{768} << 20;
};

// False in builds whose sanitizers reserve more address space than any limit allows: there the
// child runs without a memory limit.
bool ChildMemoryLimited();

// RuntimeError 7 when no child process can be started.
Surface DecodeInChildProcess(const std::function<Surface()>& decode,
                             const ChildProcessLimits& limits = {});

}  // namespace sl::draw::detail

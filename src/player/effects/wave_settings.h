// The settings of a frame's rippling water, as the ".rwe" file beside the frame file keeps
// them: six leading fields the player does not use, the effect's rectangle in pixels of the
// frame picture, the wave parameter, the wave speed and, in newer files, whether the waves run
// backwards.
#pragma once

#include <cstdint>

namespace sl {

class DataFileReader;

struct WaveSettings {
  std::int16_t left = 0;
  std::int16_t top = 0;
  std::int16_t width = 0;
  std::int16_t height = 0;
  std::int16_t waveParameter = 0;
  std::int16_t speed = 0;
  bool reverse = false;
};

// Reads the fields in order; `reverse` only when the file goes on after the speed. Errors of
// the reader (a short file, a field that is no number) pass to the caller.
WaveSettings ReadWaveSettings(DataFileReader& reader);

// The phase of the waves after `elapsedMs` of running, in radians: it grows with the fourth
// power of (speed + 2) / 10, backwards when `reverse` is set.
double WavePhase(const WaveSettings& settings, std::int64_t elapsedMs);

}  // namespace sl

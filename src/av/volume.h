// Volumes in hundredths of a decibel, as media players of the classic desktop take them: 0 is
// full volume, every -2000 is a tenth of the amplitude, and -10000 (or less) is silence.
#pragma once

#include <cmath>
#include <cstdint>

namespace sl::av {

constexpr std::int32_t kVolumeFull = 0;
constexpr std::int32_t kVolumeSilent = -10000;

// The linear gain of a volume: 10 ^ (volume / 2000); 0 at kVolumeSilent and below, 1 above 0.
inline float GainOfVolume(std::int32_t hundredthsDb) {
  if (hundredthsDb <= kVolumeSilent) return 0.0f;
  if (hundredthsDb >= kVolumeFull) return 1.0f;
  return static_cast<float>(std::pow(10.0, hundredthsDb / 2000.0));
}

}  // namespace sl::av

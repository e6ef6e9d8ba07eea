// Reading a ".rwe" file and the wave's phase.
#include "player/effects/wave_settings.h"

#include <cmath>

#include "core/data_file_reader.h"

namespace sl {

namespace {
constexpr int kIgnoredLeadingFields = 6;
}

WaveSettings ReadWaveSettings(DataFileReader& reader) {
  WaveSettings s;
  reader.Skip(kIgnoredLeadingFields);
  s.left = reader.ReadInteger();
  s.top = reader.ReadInteger();
  s.width = reader.ReadInteger();
  s.height = reader.ReadInteger();
  s.waveParameter = reader.ReadInteger();
  s.speed = reader.ReadInteger();
  if (!reader.Eof()) s.reverse = reader.ReadBoolean();
  return s;
}

double WavePhase(const WaveSettings& settings, std::int64_t elapsedMs) {
  double sign = settings.reverse ? -1.0 : 1.0;
  return sign * std::pow((settings.speed + 2) / 10.0, 4) / 300 * static_cast<double>(elapsedMs);
}

}  // namespace sl

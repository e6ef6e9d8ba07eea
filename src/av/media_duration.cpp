// Lengths of media files.
#include "av/media_duration.h"

#include <cmath>

#include "av/ffmpeg_input.h"
#include "av/midi_file.h"
#include "av/video_decoder.h"

namespace sl::av {

std::int64_t MidiDurationMs(std::string_view bytes) {
  std::string why;
  std::optional<MidiFile> midi = ParseMidiFile(
      std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), &why);
  if (!midi) throw MediaError(why);
  return std::llround(midi->seconds * 1000);
}

std::int64_t MediaDurationMs(const std::string& path) {
  MediaInput input(path);
  return input.DurationMs();
}

}  // namespace sl::av

// A sound device's length and sound.
#include "player/media/sound_device.h"

#include <fstream>

#include "av/media_duration.h"
#include "av/video_decoder.h"

namespace sl {

namespace {
// No MIDI file of a game comes near this; a larger file is not read.
constexpr std::streamsize kMaxMidiBytes = 16 << 20;
}  // namespace

SoundDevice::SoundDevice(ui::EventLoop& loop, const std::string& realPath, SoundKind kind,
                         SoundOutput* output)
    : MciDevice(loop, LengthOf(realPath, kind)),
      sound_(output, realPath, DeviceSoundKind::SoundFile) {}

void SoundDevice::PlaybackChanged() {
  sound_.Follow(Mode(), PositionMs());
}

std::int64_t SoundDevice::LengthOf(const std::string& realPath, SoundKind kind) {
  if (kind == SoundKind::Wave) return av::MediaDurationMs(realPath);
  std::ifstream in(realPath, std::ios::binary | std::ios::ate);
  std::streamsize size = in ? static_cast<std::streamsize>(in.tellg()) : -1;
  if (size < 0 || size > kMaxMidiBytes) throw av::MediaError("the MIDI file cannot be read");
  std::string bytes(static_cast<std::size_t>(size), '\0');
  in.seekg(0);
  if (!in.read(bytes.data(), size)) throw av::MediaError("the MIDI file cannot be read");
  return av::MidiDurationMs(bytes);
}

}  // namespace sl

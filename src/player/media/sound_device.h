// SoundDevice: a MIDI sequence (type Sequencer) or wave sound (type Waveaudio) opened by the
// media command interpreter. It keeps its true length, position and mode on the program's
// clock.
#pragma once

#include <string>

#include "player/media/mci_device.h"

namespace sl {

enum class SoundKind { Midi, Wave };

class SoundDevice final : public MciDevice {
 public:
  // Throws av::MediaError when the file is not a sound of that kind.
  SoundDevice(ui::EventLoop& loop, const std::string& realPath, SoundKind kind);

 private:
  static std::int64_t LengthOf(const std::string& realPath, SoundKind kind);
};

}  // namespace sl

// SoundDevice: a MIDI sequence (type Sequencer) or wave sound (type Waveaudio) opened by the
// media command interpreter. It keeps its true length, position and mode on the program's
// clock, and sounds through the run's mixer (when there is a sound device) while it plays.
#pragma once

#include <string>

#include "player/media/device_sound.h"
#include "player/media/mci_device.h"

namespace sl {

enum class SoundKind { Midi, Wave };

class SoundDevice final : public MciDevice {
 public:
  // Throws av::MediaError when the file is not a sound of that kind.
  // `output` may be null: the device then keeps its time without sounding.
  SoundDevice(ui::EventLoop& loop, const std::string& realPath, SoundKind kind,
              SoundOutput* output);

 private:
  static std::int64_t LengthOf(const std::string& realPath, SoundKind kind);
  void PlaybackChanged() override;
  void LevelChanged() override { sound_.SetGain(Gain()); }

  DeviceSound sound_;
};

}  // namespace sl

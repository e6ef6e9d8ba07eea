// SoundOutput: where makers of sound other than the game's sound players (a video's sound
// track, the media command object's MIDI and wave devices) play: the run's mixer on the sound
// device, and the MIDI synthesisers for it. Both are null when the run has no sound device.
#pragma once

#include <memory>

namespace sl {

namespace av {
class Mixer;
class MidiSynths;
}  // namespace av

class SoundOutput {
 public:
  virtual ~SoundOutput() = default;
  // Opens the device with the first call; nullptr without one.
  virtual av::Mixer* Mixer() = 0;
  virtual std::shared_ptr<av::MidiSynths> MidiSynths() = 0;
};

}  // namespace sl

// DeviceSound: what a media device (a MIDI or wave device, a video's sound track) sounds, on
// the run's mixer, kept in step with the device: it starts where the device stands when the
// device plays, holds when it pauses or stops, starts afresh after a seek, and falls silent when
// the device closes. Its level is the device's own (set by the command interface), on top of the
// sound's. Without a sound device (headless runs) it does nothing; the device keeps its time on
// the clock all the same.
//
// API:
//   DeviceSound sound(output, "/game/Areas/Theme.mid", DeviceSoundKind::SoundFile);
//   sound.Follow(MciMode::Playing, 0);        // from the device's PlaybackChanged()
//   sound.Follow(MciMode::Paused, 1500);
//   sound.SetGain(0.5f);                      // "setaudio ... volume to 500"
//   sound.PlayedToMs();                       // where the sound stands, for the picture clock
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "av/mixer.h"
#include "player/media/mci_device.h"

namespace sl {

class SoundOutput;

enum class DeviceSoundKind {
  SoundFile,   // a wave, MP3 or MIDI file
  VideoTrack,  // the sound stream of a video file (none: silence)
};

class DeviceSound {
 public:
  // `output` may be null (no sound at all).
  DeviceSound(SoundOutput* output, std::string realPath, DeviceSoundKind kind);
  ~DeviceSound();
  DeviceSound(const DeviceSound&) = delete;
  DeviceSound& operator=(const DeviceSound&) = delete;

  // The device's new mode and position after a change.
  void Follow(MciMode mode, std::int64_t positionMs);
  // Whether a voice of the mixer plays (or holds) the sound now.
  bool Sounding() const { return voice_ != 0; }
  // The device's level as a linear factor (1 = as recorded), now and for later starts.
  void SetGain(float gain);
  // Where in the file the sound has got to while it plays (its start plus what the mixer has
  // sounded); nullopt when no voice plays it, it is held or it has ended.
  std::optional<std::int64_t> PlayedToMs();

 private:
  void Start(std::int64_t positionMs);
  void Drop();

  SoundOutput* output_;
  std::string path_;
  DeviceSoundKind kind_;
  av::Mixer* mixer_ = nullptr;
  av::VoiceId voice_ = 0;
  std::optional<std::int64_t> heldAt_;  // the device's position when the voice was held
  std::int64_t startedAtMs_ = 0;        // the file position the voice started from
  float gain_ = 1.0f;
};

}  // namespace sl

// MciDevice: one open device of the media command interpreter (a video, a MIDI sequence or a
// wave sound) as far as time goes: its length, a position that moves on the program's clock
// while it plays, and its mode. A playing device stops by itself at its end; a timer of the
// event loop wakes the program then, so waiting for the end costs nothing. Kinds of devices add
// what they show or sound through the hooks.
#pragma once

#include <cstdint>
#include <functional>

#include "ui/draw/geometry.h"
#include "ui/timer.h"

namespace sl {

namespace ui {
class EventLoop;
}

enum class MciMode { Stopped, Playing, Paused };

class MciDevice {
 public:
  MciDevice(ui::EventLoop& loop, std::int64_t lengthMs);
  virtual ~MciDevice();
  MciDevice(const MciDevice&) = delete;
  MciDevice& operator=(const MciDevice&) = delete;

  std::int64_t LengthMs() const { return lengthMs_; }
  // Both notice the end of a playing device first.
  std::int64_t PositionMs();
  MciMode Mode();

  // Plays from the current position (from the start when the device stands at its end).
  void Play();
  void Pause();
  // Stops where it is.
  void Stop();
  // Moves to `ms` (kept within the length) and stops.
  void Seek(std::int64_t ms);

  // Display rectangle of a device with a window ("put ... window at"); others ignore it.
  virtual void PutWindow(const draw::Rect& /*rect*/) {}

  // The sound's level, 0 (silent) to kFullVolume ("setaudio ... volume to N"), and whether the
  // sound is on at all ("setaudio ... off"); devices without sound keep them all the same.
  static constexpr int kFullVolume = 1000;
  int Volume() const { return volume_; }
  void SetVolume(int volume);
  bool AudioOn() const { return audioOn_; }
  void SetAudioOn(bool on);

 protected:
  ui::EventLoop& Loop() const { return loop_; }
  // After every change of mode or position (the device starts, stops, pauses or seeks).
  virtual void PlaybackChanged() {}
  // The device has played to its end by itself (its mode is already Stopped).
  virtual void Ended() {}
  // After the volume or the audio switch changed.
  virtual void LevelChanged() {}
  // The linear gain of the sound for the volume and the switch.
  float Gain() const;
  // Moves a playing device's position to `ms` without stopping it, to follow another clock
  // (its sound as the sound device plays it). No PlaybackChanged follows.
  void Resync(std::int64_t ms);

 private:
  void CheckEnd();
  void ArmEndTimer();
  std::int64_t Now() const;

  ui::EventLoop& loop_;
  std::int64_t lengthMs_;
  MciMode mode_ = MciMode::Stopped;
  std::int64_t position_ = 0;   // where the device stood when it last started or stopped
  std::int64_t startedAt_ = 0;  // clock time of the last start
  ui::Timer endTimer_;
  int volume_ = kFullVolume;
  bool audioOn_ = true;
};

}  // namespace sl

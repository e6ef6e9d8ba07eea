// SoundEngine: the sound output of a run. It opens the platform's sound device with the first
// sound and feeds it from one mixer; it starts sound files of the game (decoded or, for MIDI,
// synthesised) and tells when each has played its true length, measured on the run's clock, so
// that a headless run (no device) and a desktop run end sounds at the same moments. It keeps the
// person's master volume and mute, which live in the per-user settings.
//
// Other makers of sound (a video's sound track, the media command object's MIDI and wave
// devices) play through the same mixer: Mixer() opens the device if needed and returns the
// mixer, or nullptr when there is no device (headless runs, no sound hardware); MidiSynths()
// gives the synthesisers for MIDI files. See av/mixer.h and av/audio_source.h.
//
// API:
//   SoundEngine engine(loop, paths);
//   engine.SetOptions({.mute = true, .soundFont = "/usr/share/sounds/sf2/FluidR3_GM.sf2"});
//   std::unique_ptr<PlayingSound> s =
//       engine.Start("/game/Areas/Sea.wav", 0, -1200, [] { /* played to its end */ });
//   s->SetVolume(-800); s.reset();               // destroying a sound stops it
//   engine.ToggleMute(); engine.SetMasterVolume(80);
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "av/mixer.h"
#include "player/media/sound_output.h"

namespace sl {

class PathResolver;
namespace av {
class MidiSynths;
}
namespace ui {
class EventLoop;
class Timer;
class UserSettings;
}  // namespace ui

// The section of the per-user settings that holds the player's own sound settings.
constexpr const char* kSoundSettingsSection = "Storyloom Player";

struct SoundOptions {
  bool mute = false;      // silent for this run (the saved mute setting is left alone)
  std::string soundFont;  // the General MIDI sound font; empty: the settings' or the system's
};

class SoundEngine;

// A started sound. Destroying it stops the sound, also after its time is over (a file longer
// than it says plays on until then).
class PlayingSound {
 public:
  ~PlayingSound();
  PlayingSound(const PlayingSound&) = delete;
  PlayingSound& operator=(const PlayingSound&) = delete;

  void SetVolume(std::int32_t hundredthsDb);

 private:
  friend class SoundEngine;
  PlayingSound(SoundEngine& engine, av::VoiceId voice);
  void ArmEnd(std::int64_t dueMs, std::function<void()> ended);
  void EndTick();

  SoundEngine& engine_;
  av::VoiceId voice_;
  std::unique_ptr<ui::Timer> endTimer_;
  std::int64_t dueMs_ = 0;
  std::function<void()> ended_;
};

class SoundEngine final : public SoundOutput {
 public:
  SoundEngine(ui::EventLoop& loop, PathResolver& paths);
  ~SoundEngine() override;
  SoundEngine(const SoundEngine&) = delete;
  SoundEngine& operator=(const SoundEngine&) = delete;

  // The command line's choices; call before the first sound.
  void SetOptions(const SoundOptions& options);

  // Starts the game file `path` (resolved inside the game's folders) `plays` times (0 = without
  // end) at `volume` hundredths of a decibel. `ended` is called on the window thread when the
  // last play has lasted its true length; a file that cannot be played ends at once (`ended` is
  // called before Start returns).
  std::unique_ptr<PlayingSound> Start(const std::string& path, int plays, std::int32_t volume,
                                      std::function<void()> ended);

  // The mixer on the sound device, opened with the first call; nullptr without a device.
  av::Mixer* Mixer() override;
  // The MIDI synthesisers for the device's rate; nullptr without a device.
  std::shared_ptr<av::MidiSynths> MidiSynths() override;

  // The person's volume, 0 to 100 per cent, and mute; both are saved in the per-user settings.
  int MasterVolume() const noexcept { return masterVolume_; }
  void SetMasterVolume(int percent);
  bool Muted() const noexcept { return muted_; }
  void SetMuted(bool muted);
  void ToggleMute() { SetMuted(!muted_); }

 private:
  friend class PlayingSound;
  void LoadSettings();
  void ApplyMaster();
  std::optional<double> Length(const std::string& realPath);

  ui::EventLoop& loop_;
  PathResolver& paths_;
  ui::UserSettings& settings_;
  SoundOptions options_;
  std::unique_ptr<av::Mixer> mixer_;
  std::shared_ptr<av::MidiSynths> synths_;
  bool deviceTried_ = false;
  bool midiProblemTold_ = false;
  int masterVolume_ = 100;
  bool muted_ = false;
  std::map<std::string, double> lengths_;  // headless: lengths already read, by real path
};

}  // namespace sl

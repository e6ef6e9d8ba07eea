// MidiSynths: FluidSynth synthesisers with a General MIDI sound font loaded, kept for reuse,
// since loading a sound font takes a noticeable moment. A MIDI sound takes one for as long as
// it plays and gives it back reset. The sound font is the one the person chose, else the first
// General MIDI font of the system that exists (FindSoundFont).
//
// API:
//   auto synths = std::make_shared<av::MidiSynths>(av::FindSoundFont(chosen), 44100);
//   synths->Preload();      // loads the first one on a thread of its own, ready for later
//   std::string why;
//   if (fluid_synth_t* s = synths->Acquire(&why)) { ...; synths->Release(s); }
#pragma once

#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <fluidsynth/types.h>

namespace sl::av {

// `chosen` when that file exists, else the system's General MIDI sound font ("" when none).
std::string FindSoundFont(const std::string& chosen = {});

class MidiSynths {
 public:
  MidiSynths(std::string soundFont, int sampleRate);
  ~MidiSynths();
  MidiSynths(const MidiSynths&) = delete;
  MidiSynths& operator=(const MidiSynths&) = delete;

  const std::string& SoundFont() const noexcept { return soundFont_; }
  int SampleRate() const noexcept { return sampleRate_; }
  // The settings every synthesiser and MIDI file player here is made with.
  fluid_settings_t* Settings() const noexcept { return settings_; }

  // Starts loading one synthesiser in the background, so that the first MIDI sound does not
  // wait for the sound font. Acquire() waits for it rather than loading a second one.
  void Preload();
  // A synthesiser ready to play, or nullptr when the sound font cannot be loaded (`error`).
  fluid_synth_t* Acquire(std::string* error = nullptr);
  // Gives a synthesiser back; it is silenced and reset for the next sound.
  void Release(fluid_synth_t* synth);

 private:
  std::string soundFont_;
  int sampleRate_;
  fluid_settings_t* settings_ = nullptr;
  fluid_synth_t* Load();

  std::mutex mutex_;
  std::vector<fluid_synth_t*> idle_;
  bool fontFailed_ = false;
  std::thread preload_;
};

}  // namespace sl::av

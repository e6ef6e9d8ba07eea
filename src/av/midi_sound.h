// MidiSound: a MIDI file played by a FluidSynth synthesiser as the mixer pulls it, in stereo at
// the synthesisers' rate. When the file's last event has played, the sound ends; the notes
// still sounding then fade out through ReadTail() (at most two seconds), unless the mixer plays
// the file again, in which case they ring on into the next play as they would on a keyboard.
//
// API:
//   std::optional<av::MidiFile> file = av::ReadMidiFile(path);
//   std::unique_ptr<av::MidiSound> s = av::MidiSound::Open(*file, synths, &why);
//   s->Seconds();   // the playing time of one play
#pragma once

#include <fluidsynth/types.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "av/audio_source.h"
#include "av/midi_file.h"

namespace sl::av {

class MidiSynths;

class MidiSound final : public AudioSource {
 public:
  // nullptr when no synthesiser can be had (no sound font): `error` says why.
  static std::unique_ptr<MidiSound> Open(MidiFile file, std::shared_ptr<MidiSynths> synths,
                                         std::string* error = nullptr);
  ~MidiSound() override;
  MidiSound(const MidiSound&) = delete;
  MidiSound& operator=(const MidiSound&) = delete;

  AudioFormat Format() const override;
  int Read(float* out, int frames) override;
  bool Rewind() override;
  // Starts the file again and moves its player to the tick due at `seconds`.
  bool Seek(double seconds) override;
  int ReadTail(float* out, int frames) override;
  double Seconds() const noexcept { return file_.seconds; }

 private:
  MidiSound(MidiFile file, std::shared_ptr<MidiSynths> synths, fluid_synth_t* synth);
  bool StartPlayer();
  void Prime();
  void Render(float* out, int frames);

  MidiFile file_;
  std::shared_ptr<MidiSynths> synths_;
  fluid_synth_t* synth_;
  fluid_player_t* player_ = nullptr;
  std::int64_t length_;        // frames from the start to the last event
  std::int64_t rendered_ = 0;  // frames of this play so far
  int tailFrames_ = 0;
  std::vector<float> primed_;  // the start of the play, rendered when the sound was opened
  std::size_t primedPos_ = 0;
};

}  // namespace sl::av

// Mixer: plays any number of AudioSources at once into one output stream (the sound device).
// Each playing source is a voice with its own gain, play count and pause state; the mixer
// converts every source's sample rate and channel count to the output's, adds the voices, applies
// the master gain and mute, and clips. Gain changes glide over one output buffer, a stopped
// voice fades out over one buffer, a pausing voice fades out over a few milliseconds and a
// resumed one glides back in, so that volume steps, stops and pauses do not click.
//
// Threads: the window thread plays, stops and changes voices; the device's thread calls Mix()
// (through Pull, whose signature is the one ui::AudioOutput::Source has). One lock keeps them
// apart; it is held while the voices are mixed, so a source's Read() must be quick. Sources are
// destroyed on the window thread only: a voice that ended waits until the next call made there.
//
// API:
//   av::Mixer mixer({44100, 2});                      // the output's format
//   av::VoiceId v = mixer.Play(std::move(source), {.plays = 0, .gain = 0.5f});   // 0 = endless
//   mixer.SetGain(v, 0.25f); mixer.SetPaused(v, true); mixer.Stop(v); mixer.Playing(v);
//   mixer.Played(v);                                  // seconds sounded, for a picture clock
//   mixer.SetMasterGain(0.8f); mixer.SetMuted(true);
//   audio.Start(&av::Mixer::Pull, &mixer);            // the device pulls from here on
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "av/audio_source.h"

namespace sl::av {

// A playing source; 0 is no voice.
using VoiceId = std::uint64_t;

struct VoiceOptions {
  int plays = 1;      // how many times the source plays; 0 = again and again without end
  float gain = 1.0f;  // linear factor, 1 = as recorded
  bool paused = false;
};

class Mixer {
 public:
  // `output`: the sample rate and channel count of the stream Mix() writes.
  explicit Mixer(AudioFormat output);
  ~Mixer();
  Mixer(const Mixer&) = delete;
  Mixer& operator=(const Mixer&) = delete;

  AudioFormat Output() const noexcept { return output_; }

  // Starts a voice. A source whose format the mixer cannot convert is refused (returns 0).
  VoiceId Play(std::unique_ptr<AudioSource> source, const VoiceOptions& options = {});
  // Fades the voice out and forgets it. Unknown or ended voices are ignored.
  void Stop(VoiceId voice);
  void StopAll();
  void SetGain(VoiceId voice, float gain);
  void SetPaused(VoiceId voice, bool paused);
  // How long the voice has sounded so far (its output mixed, pauses not counted), in seconds;
  // nullopt once it has ended or was stopped.
  std::optional<double> Played(VoiceId voice);
  // True from Play until the voice has played its last sample or was stopped.
  bool Playing(VoiceId voice);
  // How many voices are playing.
  int VoiceCount();

  // Applied after the voices are added: the person's volume and mute.
  void SetMasterGain(float gain);
  void SetMuted(bool muted);
  float MasterGain();
  bool Muted();

  // Writes the next `frames` frames of the output stream into `out` (interleaved).
  void Mix(float* out, int frames);
  // Mix() for a device callback: `mixer` is the Mixer.
  static void Pull(void* mixer, float* out, int frames);

 private:
  struct Voice;
  Voice* Find(VoiceId voice);
  // Sources of voices that ended are destroyed here, on the caller's (window) thread.
  void Reap();
  void MixVoice(Voice& voice, float* out, int frames);
  int Produce(Voice& voice, int frames);

  const AudioFormat output_;
  std::mutex mutex_;
  std::vector<std::unique_ptr<Voice>> voices_;
  VoiceId nextId_ = 1;
  float masterGain_ = 1.0f;
  float appliedMaster_ = 1.0f;
  bool muted_ = false;
  std::vector<float> input_;  // one read from a source, on the device's thread
};

}  // namespace sl::av

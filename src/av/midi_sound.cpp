// MIDI files through FluidSynth's file player.
#include "av/midi_sound.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "av/midi_synths.h"

namespace sl::av {

namespace {

// The longest release after the last event, in seconds.
constexpr int kMaxTailSeconds = 2;
// Frames rendered on the opening thread: the events at the start of the file (the choice of
// instruments) are handled then, so that the sound font's samples for them are loaded there
// and not on the sound device's thread, where the wait could break up the sound.
constexpr int kPrimeFrames = 64;

}  // namespace

MidiSound::MidiSound(MidiFile file, std::shared_ptr<MidiSynths> synths, fluid_synth_t* synth)
    : file_(std::move(file)),
      synths_(std::move(synths)),
      synth_(synth),
      length_(std::llround(file_.seconds * synths_->SampleRate())) {}

std::unique_ptr<MidiSound> MidiSound::Open(MidiFile file, std::shared_ptr<MidiSynths> synths,
                                           std::string* error) {
  if (!synths) return nullptr;
  fluid_synth_t* synth = synths->Acquire(error);
  if (!synth) return nullptr;
  std::unique_ptr<MidiSound> sound(new MidiSound(std::move(file), std::move(synths), synth));
  if (!sound->StartPlayer()) {
    if (error) *error = "the MIDI file cannot be played";
    return nullptr;
  }
  sound->Prime();
  return sound;
}

MidiSound::~MidiSound() {
  if (player_) delete_fluid_player(player_);
  synths_->Release(synth_);
}

bool MidiSound::StartPlayer() {
  if (player_) delete_fluid_player(player_);
  player_ = new_fluid_player(synth_);
  if (!player_) return false;
  rendered_ = 0;
  tailFrames_ = 0;
  primed_.clear();
  primedPos_ = 0;
  return fluid_player_add_mem(player_, file_.bytes.data(), file_.bytes.size()) == FLUID_OK &&
         fluid_player_play(player_) == FLUID_OK;
}

AudioFormat MidiSound::Format() const {
  return {synths_->SampleRate(), 2};
}

void MidiSound::Render(float* out, int frames) {
  fluid_synth_write_float(synth_, frames, out, 0, 2, out, 1, 2);
}

void MidiSound::Prime() {
  auto n = static_cast<std::size_t>(std::clamp<std::int64_t>(length_, 0, kPrimeFrames));
  primed_.resize(2 * n);
  if (n > 0) Render(primed_.data(), static_cast<int>(n));
  primedPos_ = 0;
}

int MidiSound::Read(float* out, int frames) {
  // The file ends at its last event; the file player itself would go on while notes ring.
  int n = static_cast<int>(std::clamp<std::int64_t>(length_ - rendered_, 0, frames));
  int done = 0;
  if (primedPos_ < primed_.size()) {
    auto take = std::min(primed_.size() - primedPos_, 2 * static_cast<std::size_t>(n));
    std::copy_n(primed_.begin() + static_cast<long>(primedPos_), take, out);
    primedPos_ += take;
    done = static_cast<int>(take / 2);
  }
  if (n > done) Render(out + 2 * static_cast<std::ptrdiff_t>(done), n - done);
  rendered_ += n;
  return n;
}

bool MidiSound::Rewind() {
  return StartPlayer();
}

bool MidiSound::Seek(double seconds) {
  if (!(seconds > 0)) return Rewind();
  if (!StartPlayer()) return false;
  // The file player takes up its file on its first step; only then can it be moved. What that
  // step rendered belongs to the start of the file and is dropped, with the notes it began.
  Prime();
  fluid_synth_all_sounds_off(synth_, -1);
  primed_.clear();
  primedPos_ = 0;
  seconds = std::min(seconds, file_.seconds);
  std::uint64_t tick = MidiTickAt(file_, seconds);
  if (tick > static_cast<std::uint64_t>(std::numeric_limits<int>::max()) ||
      fluid_player_seek(player_, static_cast<int>(tick)) != FLUID_OK) {
    return false;
  }
  rendered_ = std::min<std::int64_t>(length_, std::llround(seconds * synths_->SampleRate()));
  return true;
}

int MidiSound::ReadTail(float* out, int frames) {
  if (tailFrames_ >= kMaxTailSeconds * synths_->SampleRate() ||
      fluid_synth_get_active_voice_count(synth_) == 0) {
    return 0;
  }
  Render(out, frames);
  tailFrames_ += frames;
  return frames;
}

}  // namespace sl::av

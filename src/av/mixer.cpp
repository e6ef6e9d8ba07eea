// The mixer: voices, their conversion to the output format, gains and the master volume.
#include "av/mixer.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>

#include "av/rate_converter.h"

namespace sl::av {

namespace {

// The most frames read from a source at once.
constexpr int kMaxRead = 4096;
// A voice that pauses fades out over this long, so that it does not click.
constexpr int kPauseFadeMs = 5;
constexpr int kMsPerSecond = 1000;

}  // namespace

struct Mixer::Voice {
  VoiceId id = 0;
  std::unique_ptr<AudioSource> source;
  AudioFormat format;
  std::unique_ptr<RateConverter> converter;  // null when the rates agree
  std::vector<float> pending;                // at the output rate, the source's channels
  std::size_t pendingPos = 0;                // samples of `pending` already mixed
  int playsLeft = 1;                         // 0 = endless
  float gain = 1.0f;                         // reached at the end of the last buffer
  float target = 1.0f;
  bool paused = false;
  bool pausing = false;      // fading out over the next few milliseconds, then paused
  bool inTail = false;       // the last play ended; reading what still sounds
  bool sourceEnded = false;  // no more reads; `pending` may still hold the last samples
  bool stopping = false;     // fading out over the next buffer
  bool ended = false;        // waiting for the window thread to destroy it
  std::int64_t framesThisPass = 0;
  std::int64_t framesMixed = 0;  // output frames of this voice mixed so far

  std::size_t Available() const {
    return (pending.size() - pendingPos) / static_cast<std::size_t>(format.channels);
  }
};

Mixer::Mixer(AudioFormat output) : output_(output) {
  if (output.channels < 1 || output.sampleRate < kMinSampleRate ||
      output.sampleRate > kMaxSampleRate) {
    throw std::invalid_argument("mixer output format");
  }
}

Mixer::~Mixer() = default;

Mixer::Voice* Mixer::Find(VoiceId voice) {
  for (auto& v : voices_) {
    if (v->id == voice) return v.get();
  }
  return nullptr;
}

void Mixer::Reap() {
  std::vector<std::unique_ptr<Voice>> dead;
  {
    std::lock_guard lock(mutex_);
    auto firstDead = std::stable_partition(voices_.begin(), voices_.end(),
                                           [](const auto& v) { return !v->ended; });
    std::move(firstDead, voices_.end(), std::back_inserter(dead));
    voices_.erase(firstDead, voices_.end());
  }
  // `dead` goes out of scope here, after the lock is released.
}

VoiceId Mixer::Play(std::unique_ptr<AudioSource> source, const VoiceOptions& options) {
  Reap();
  if (!source) return 0;
  AudioFormat f = source->Format();
  if (f.channels < 1 || f.channels > 2 || f.sampleRate < kMinSampleRate ||
      f.sampleRate > kMaxSampleRate) {
    return 0;
  }
  auto voice = std::make_unique<Voice>();
  voice->format = f;
  if (f.sampleRate != output_.sampleRate) {
    try {
      voice->converter =
          std::make_unique<RateConverter>(f.sampleRate, output_.sampleRate, f.channels);
    } catch (const std::runtime_error&) {
      return 0;
    }
  }
  voice->source = std::move(source);
  voice->playsLeft = std::max(0, options.plays);
  voice->gain = voice->target = std::max(0.0f, options.gain);
  voice->paused = options.paused;
  std::lock_guard lock(mutex_);
  voice->id = nextId_++;
  VoiceId id = voice->id;
  voices_.push_back(std::move(voice));
  return id;
}

void Mixer::Stop(VoiceId voice) {
  Reap();
  std::lock_guard lock(mutex_);
  if (Voice* v = Find(voice)) {
    v->stopping = true;
    // A paused voice makes no sound to fade.
    if (v->paused) v->ended = true;
  }
}

void Mixer::StopAll() {
  Reap();
  std::lock_guard lock(mutex_);
  for (auto& v : voices_) {
    v->stopping = true;
    if (v->paused) v->ended = true;
  }
}

void Mixer::SetGain(VoiceId voice, float gain) {
  Reap();
  std::lock_guard lock(mutex_);
  if (Voice* v = Find(voice)) v->target = std::max(0.0f, gain);
}

void Mixer::SetPaused(VoiceId voice, bool paused) {
  Reap();
  std::lock_guard lock(mutex_);
  Voice* v = Find(voice);
  if (!v) return;
  if (paused) {
    if (!v->paused) v->pausing = true;
    return;
  }
  // Fully paused, the voice stands at gain 0 and glides back up over the next buffer.
  v->paused = false;
  v->pausing = false;
}

std::optional<double> Mixer::Played(VoiceId voice) {
  Reap();
  std::lock_guard lock(mutex_);
  Voice* v = Find(voice);
  if (!v || v->ended || v->stopping) return std::nullopt;
  return static_cast<double>(v->framesMixed) / output_.sampleRate;
}

bool Mixer::Playing(VoiceId voice) {
  Reap();
  std::lock_guard lock(mutex_);
  Voice* v = Find(voice);
  return v && !v->ended && !v->stopping;
}

int Mixer::VoiceCount() {
  Reap();
  std::lock_guard lock(mutex_);
  return static_cast<int>(std::count_if(voices_.begin(), voices_.end(),
                                        [](const auto& v) { return !v->ended && !v->stopping; }));
}

void Mixer::SetMasterGain(float gain) {
  std::lock_guard lock(mutex_);
  masterGain_ = std::clamp(gain, 0.0f, 1.0f);
}

void Mixer::SetMuted(bool muted) {
  std::lock_guard lock(mutex_);
  muted_ = muted;
}

float Mixer::MasterGain() {
  std::lock_guard lock(mutex_);
  return masterGain_;
}

bool Mixer::Muted() {
  std::lock_guard lock(mutex_);
  return muted_;
}

// Makes sure the voice has `frames` frames at the output rate ready, unless its source ends
// first; returns how many it has (at most `frames`).
int Mixer::Produce(Voice& v, int frames) {
  const auto channels = static_cast<std::size_t>(v.format.channels);
  if (v.pendingPos > 0 && v.pendingPos * 2 >= v.pending.size()) {
    v.pending.erase(v.pending.begin(), v.pending.begin() + static_cast<long>(v.pendingPos));
    v.pendingPos = 0;
  }
  while (!v.sourceEnded && v.Available() < static_cast<std::size_t>(frames)) {
    int want = frames - static_cast<int>(v.Available());
    int read = std::clamp(v.converter ? v.converter->InputFor(want) : want, 1, kMaxRead);
    input_.resize(static_cast<std::size_t>(read) * channels);
    int got =
        v.inTail ? v.source->ReadTail(input_.data(), read) : v.source->Read(input_.data(), read);
    got = std::clamp(got, 0, read);
    if (v.converter) {
      v.converter->Convert(input_.data(), got, v.pending);
    } else {
      v.pending.insert(
          v.pending.end(), input_.begin(),
          input_.begin() + static_cast<long>(static_cast<std::size_t>(got) * channels));
    }
    v.framesThisPass += got;
    if (got == read) continue;
    // The source ended: play it again while plays are left (a source that gave nothing in a
    // whole pass would loop for ever, so it ends instead), else play its tail, then stop.
    if (!v.inTail && v.playsLeft != 1 && v.framesThisPass > 0 && v.source->Rewind()) {
      if (v.playsLeft > 1) --v.playsLeft;
      v.framesThisPass = 0;
    } else if (!v.inTail) {
      v.inTail = true;
    } else {
      v.sourceEnded = true;
      if (v.converter) v.converter->Flush(v.pending);
    }
  }
  return static_cast<int>(std::min(v.Available(), static_cast<std::size_t>(frames)));
}

void Mixer::MixVoice(Voice& v, float* out, int frames) {
  // A pausing voice sounds only for its short fade; the rest of the buffer is silence and the
  // source stands where the fade ended.
  bool fadingToPause = v.pausing && !v.stopping;
  int length = fadingToPause
                   ? std::clamp(output_.sampleRate * kPauseFadeMs / kMsPerSecond, 1, frames)
                   : frames;
  int n = Produce(v, length);
  const float* src = v.pending.data() + v.pendingPos;
  const int oc = output_.channels;
  float end = v.stopping || fadingToPause ? 0.0f : v.target;
  float g = v.gain;
  float step = (end - g) / static_cast<float>(length);
  if (v.format.channels == 1) {
    for (int i = 0; i < n; ++i, g += step) {
      float s = src[i] * g;
      float* o = out + static_cast<std::ptrdiff_t>(i) * oc;
      o[0] += s;
      if (oc > 1) o[1] += s;
    }
  } else {
    for (int i = 0; i < n; ++i, g += step) {
      float l = src[2 * i] * g;
      float r = src[2 * i + 1] * g;
      float* o = out + static_cast<std::ptrdiff_t>(i) * oc;
      if (oc == 1) {
        o[0] += 0.5f * (l + r);
      } else {
        o[0] += l;
        o[1] += r;
      }
    }
  }
  v.pendingPos += static_cast<std::size_t>(n) * static_cast<std::size_t>(v.format.channels);
  v.framesMixed += n;
  v.gain = end;
  if (fadingToPause) {
    v.pausing = false;
    v.paused = true;
  }
  if (v.stopping || (n < length && v.sourceEnded)) v.ended = true;
}

void Mixer::Mix(float* out, int frames) {
  if (frames <= 0) return;
  std::size_t samples =
      static_cast<std::size_t>(frames) * static_cast<std::size_t>(output_.channels);
  std::fill(out, out + samples, 0.0f);
  std::lock_guard lock(mutex_);
  for (auto& v : voices_) {
    if (!v->ended && !v->paused) MixVoice(*v, out, frames);
  }
  float target = muted_ ? 0.0f : masterGain_;
  float g = appliedMaster_;
  float step = (target - g) / static_cast<float>(frames);
  for (int i = 0; i < frames; ++i, g += step) {
    float* o = out + static_cast<std::ptrdiff_t>(i) * output_.channels;
    for (int c = 0; c < output_.channels; ++c)
      o[c] = std::clamp(o[c] * g, -1.0f, 1.0f);
  }
  appliedMaster_ = target;
}

void Mixer::Pull(void* mixer, float* out, int frames) {
  static_cast<Mixer*>(mixer)->Mix(out, frames);
}

}  // namespace sl::av

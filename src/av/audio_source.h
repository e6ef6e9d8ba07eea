// AudioSource: what the mixer plays. A source is pulled: the mixer asks it for the next samples
// whenever the sound device needs more, from the device's own thread. A source delivers 32-bit
// float samples in [-1, 1], interleaved, at its own sample rate and with one or two channels;
// the mixer converts the rate and the channel count to the device's.
//
// Contract for implementers:
//   - Format() is fixed for the life of the source and is read before the first Read().
//   - Read(out, frames) writes up to `frames` frames (frames * channels floats) and returns how
//     many it wrote. Fewer than asked means the source has ended; the mixer then plays it again
//     (after Rewind()) or lets it go. A live source that is only waiting for data (a video that
//     decodes ahead) writes silence instead of returning short.
//   - Read() and Rewind() run on the device's thread while the mixer holds its lock; they never
//     block on the window thread and never call back into the mixer. The same holds for
//     ReadTail(), which the mixer calls after the last play until it returns short.
//   - A source is created and destroyed on the window thread (the mixer hands ended sources
//     back there), so its destructor may free whatever it holds.
#pragma once

#include <cstdint>

namespace sl::av {

// The sample rates a source may have: anything a sound file of any age uses.
constexpr int kMinSampleRate = 1000;
constexpr int kMaxSampleRate = 384000;

struct AudioFormat {
  int sampleRate = 44100;  // frames per second
  int channels = 2;        // 1 (mono) or 2 (stereo, left first)
  friend bool operator==(const AudioFormat&, const AudioFormat&) = default;
};

class AudioSource {
 public:
  virtual ~AudioSource() = default;
  virtual AudioFormat Format() const = 0;
  // Fills `out` with up to `frames` frames; returns the number written (short = ended).
  virtual int Read(float* out, int frames) = 0;
  // Goes back to the start for another play; false when the source cannot (it then ends).
  virtual bool Rewind() { return false; }
  // Goes to `seconds` from the start, for a sound that begins part-way (a media device that
  // was moved); called before the source is played. False when the source cannot.
  virtual bool Seek(double seconds) { return seconds <= 0 && Rewind(); }
  // After the last play has ended: what still sounds (the release of synthesised notes), read
  // like Read(); 0 when there is nothing. A sound file has no such tail.
  virtual int ReadTail(float* /*out*/, int /*frames*/) { return 0; }
};

}  // namespace sl::av

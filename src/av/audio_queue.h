// AudioQueue: samples pushed by a producer (a video's sound as it is decoded) and played by the
// mixer through the source Source() makes. The queue holds at most `capacityFrames` frames;
// while it is empty and still open the source plays silence, and once it is closed and drained
// the source ends. Push and Read may run on different threads.
//
// API:
//   auto queue = std::make_shared<av::AudioQueue>(av::AudioFormat{22050, 1}, 22050);
//   av::VoiceId v = mixer.Play(av::AudioQueue::Source(queue));
//   queue->Push(samples, frames);   // returns how many frames fitted
//   queue->Close();                 // the voice ends when the rest has played
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "av/audio_source.h"

namespace sl::av {

class AudioQueue {
 public:
  AudioQueue(AudioFormat format, int capacityFrames);

  AudioFormat Format() const noexcept { return format_; }
  // Appends up to `frames` frames (interleaved); returns how many fitted.
  int Push(const float* samples, int frames);
  // No more samples will come.
  void Close();
  // Forgets the samples not played yet (a seek).
  void Clear();
  int QueuedFrames() const;
  int FreeFrames() const;
  // Frames the mixer has taken so far (since the last Clear): where the sound has got to, for
  // keeping pictures in step with it.
  std::int64_t TakenFrames() const;

  // Takes up to `frames` frames; `*ended` tells whether the queue is closed and now empty.
  int Take(float* out, int frames, bool* ended);

  // A source that plays the queue; it keeps the queue alive.
  static std::unique_ptr<AudioSource> Source(std::shared_ptr<AudioQueue> queue);

 private:
  const AudioFormat format_;
  const std::size_t capacity_;  // frames
  mutable std::mutex mutex_;
  std::vector<float> ring_;
  std::size_t head_ = 0;  // frame where the next Take starts
  std::size_t size_ = 0;  // frames queued
  std::int64_t taken_ = 0;
  bool closed_ = false;
};

}  // namespace sl::av

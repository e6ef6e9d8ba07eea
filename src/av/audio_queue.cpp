// The queue's ring buffer and its source.
#include "av/audio_queue.h"

#include <algorithm>

namespace sl::av {

namespace {

class QueueSource final : public AudioSource {
 public:
  explicit QueueSource(std::shared_ptr<AudioQueue> queue) : queue_(std::move(queue)) {}
  AudioFormat Format() const override { return queue_->Format(); }
  int Read(float* out, int frames) override {
    bool ended = false;
    int got = queue_->Take(out, frames, &ended);
    if (ended) return got;
    // Waiting for the producer: silence keeps the voice going.
    std::fill(out + static_cast<std::ptrdiff_t>(got) * queue_->Format().channels,
              out + static_cast<std::ptrdiff_t>(frames) * queue_->Format().channels, 0.0f);
    return frames;
  }

 private:
  std::shared_ptr<AudioQueue> queue_;
};

}  // namespace

AudioQueue::AudioQueue(AudioFormat format, int capacityFrames)
    : format_(format),
      capacity_(static_cast<std::size_t>(std::max(1, capacityFrames))),
      ring_(capacity_ * static_cast<std::size_t>(std::max(1, format.channels))) {}

int AudioQueue::Push(const float* samples, int frames) {
  std::lock_guard lock(mutex_);
  const auto ch = static_cast<std::size_t>(format_.channels);
  std::size_t n = std::min(static_cast<std::size_t>(std::max(0, frames)), capacity_ - size_);
  std::size_t tail = (head_ + size_) % capacity_;
  for (std::size_t i = 0; i < n; ++i) {
    std::copy_n(samples + i * ch, ch,
                ring_.begin() + static_cast<long>(((tail + i) % capacity_) * ch));
  }
  size_ += n;
  return static_cast<int>(n);
}

void AudioQueue::Close() {
  std::lock_guard lock(mutex_);
  closed_ = true;
}

void AudioQueue::Clear() {
  std::lock_guard lock(mutex_);
  head_ = 0;
  size_ = 0;
  taken_ = 0;
}

std::int64_t AudioQueue::TakenFrames() const {
  std::lock_guard lock(mutex_);
  return taken_;
}

int AudioQueue::QueuedFrames() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(size_);
}

int AudioQueue::FreeFrames() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(capacity_ - size_);
}

int AudioQueue::Take(float* out, int frames, bool* ended) {
  std::lock_guard lock(mutex_);
  const auto ch = static_cast<std::size_t>(format_.channels);
  std::size_t n = std::min(static_cast<std::size_t>(std::max(0, frames)), size_);
  for (std::size_t i = 0; i < n; ++i) {
    std::copy_n(ring_.begin() + static_cast<long>(((head_ + i) % capacity_) * ch), ch,
                out + i * ch);
  }
  head_ = (head_ + n) % capacity_;
  size_ -= n;
  taken_ += static_cast<std::int64_t>(n);
  *ended = closed_ && size_ == 0;
  return static_cast<int>(n);
}

std::unique_ptr<AudioSource> AudioQueue::Source(std::shared_ptr<AudioQueue> queue) {
  return std::make_unique<QueueSource>(std::move(queue));
}

}  // namespace sl::av

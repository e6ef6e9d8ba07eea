// A media device's position, mode and end.
#include "player/media/mci_device.h"

#include <algorithm>

#include "ui/event_loop.h"

namespace sl {

namespace {
// The longest interval a timer takes.
constexpr std::int64_t kLongestTimerMs = 65535;
}  // namespace

MciDevice::MciDevice(ui::EventLoop& loop, std::int64_t lengthMs)
    : loop_(loop), lengthMs_(std::max<std::int64_t>(lengthMs, 0)), endTimer_(loop) {
  endTimer_.SetEnabled(false);
  endTimer_.SetHandler([this] {
    CheckEnd();
    if (mode_ == MciMode::Playing) ArmEndTimer();
  });
}

MciDevice::~MciDevice() = default;

std::int64_t MciDevice::Now() const {
  return loop_.NowMs();
}

std::int64_t MciDevice::PositionMs() {
  CheckEnd();
  if (mode_ != MciMode::Playing) return position_;
  return std::min(lengthMs_, position_ + (Now() - startedAt_));
}

MciMode MciDevice::Mode() {
  CheckEnd();
  return mode_;
}

void MciDevice::Play() {
  CheckEnd();
  if (mode_ == MciMode::Playing) return;
  if (position_ >= lengthMs_) position_ = 0;
  mode_ = MciMode::Playing;
  startedAt_ = Now();
  ArmEndTimer();
  PlaybackChanged();
}

void MciDevice::Pause() {
  if (Mode() != MciMode::Playing) return;
  position_ = PositionMs();
  mode_ = MciMode::Paused;
  endTimer_.SetEnabled(false);
  PlaybackChanged();
}

void MciDevice::Stop() {
  if (Mode() == MciMode::Stopped) return;
  position_ = PositionMs();
  mode_ = MciMode::Stopped;
  endTimer_.SetEnabled(false);
  PlaybackChanged();
}

void MciDevice::Seek(std::int64_t ms) {
  CheckEnd();
  position_ = std::clamp<std::int64_t>(ms, 0, lengthMs_);
  mode_ = MciMode::Stopped;
  endTimer_.SetEnabled(false);
  PlaybackChanged();
}

void MciDevice::SetVolume(int volume) {
  volume_ = std::clamp(volume, 0, kFullVolume);
  LevelChanged();
}

void MciDevice::SetAudioOn(bool on) {
  audioOn_ = on;
  LevelChanged();
}

float MciDevice::Gain() const {
  return audioOn_ ? static_cast<float>(volume_) / kFullVolume : 0.0f;
}

void MciDevice::Resync(std::int64_t ms) {
  if (Mode() != MciMode::Playing) return;
  position_ = std::clamp<std::int64_t>(ms, 0, lengthMs_);
  startedAt_ = Now();
  ArmEndTimer();
}

void MciDevice::CheckEnd() {
  if (mode_ != MciMode::Playing) return;
  if (position_ + (Now() - startedAt_) < lengthMs_) return;
  position_ = lengthMs_;
  mode_ = MciMode::Stopped;
  endTimer_.SetEnabled(false);
  PlaybackChanged();
  Ended();
}

// The timer falls due at the end (or, for a long device, as near to it as a timer reaches, and
// is armed again from there).
void MciDevice::ArmEndTimer() {
  std::int64_t remaining = lengthMs_ - (position_ + (Now() - startedAt_));
  std::int64_t interval = std::clamp<std::int64_t>(remaining, 1, kLongestTimerMs);
  endTimer_.SetEnabled(false);
  endTimer_.SetInterval(interval);
  endTimer_.SetEnabled(true);
}

}  // namespace sl

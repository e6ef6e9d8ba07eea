// A media device's sound on the mixer.
#include "player/media/device_sound.h"

#include <cmath>

#include "av/decoded_sound.h"
#include "av/sound_file.h"
#include "player/media/sound_output.h"

namespace sl {

namespace {
constexpr double kMsPerSecond = 1000.0;
}  // namespace

DeviceSound::DeviceSound(SoundOutput* output, std::string realPath, DeviceSoundKind kind)
    : output_(output), path_(std::move(realPath)), kind_(kind) {}

DeviceSound::~DeviceSound() {
  Drop();
}

void DeviceSound::Follow(MciMode mode, std::int64_t positionMs) {
  if (mode == MciMode::Playing) {
    if (voice_ != 0 && heldAt_ == positionMs && mixer_->Playing(voice_)) {
      mixer_->SetPaused(voice_, false);
      heldAt_.reset();
      return;
    }
    Drop();
    Start(positionMs);
    return;
  }
  if (voice_ == 0) return;
  // A held voice stands where the device was held; a device moved elsewhere starts afresh.
  if (heldAt_ && *heldAt_ != positionMs) {
    Drop();
    return;
  }
  mixer_->SetPaused(voice_, true);
  heldAt_ = positionMs;
}

void DeviceSound::Start(std::int64_t positionMs) {
  if (!output_) return;
  mixer_ = output_->Mixer();
  if (!mixer_) return;
  std::unique_ptr<av::AudioSource> source;
  if (kind_ == DeviceSoundKind::VideoTrack) {
    source = av::DecodedSound::Open(path_);
  } else {
    bool midi = av::IsMidiFile(path_);
    source = av::OpenSoundFile(path_, midi ? output_->MidiSynths() : nullptr).source;
  }
  // A file without sound, or one that cannot go to the device's position, stays silent.
  if (!source) return;
  if (positionMs > 0 && !source->Seek(static_cast<double>(positionMs) / kMsPerSecond)) return;
  voice_ = mixer_->Play(std::move(source), {.plays = 1, .gain = gain_});
  startedAtMs_ = positionMs;
}

void DeviceSound::SetGain(float gain) {
  gain_ = gain;
  if (voice_ != 0 && mixer_) mixer_->SetGain(voice_, gain_);
}

std::optional<std::int64_t> DeviceSound::PlayedToMs() {
  if (voice_ == 0 || !mixer_ || heldAt_) return std::nullopt;
  std::optional<double> played = mixer_->Played(voice_);
  if (!played) return std::nullopt;
  return startedAtMs_ + std::llround(*played * kMsPerSecond);
}

void DeviceSound::Drop() {
  if (voice_ != 0 && mixer_) mixer_->Stop(voice_);
  voice_ = 0;
  heldAt_.reset();
}

}  // namespace sl

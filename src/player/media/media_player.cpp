// The sound players: state, sound output through the engine, observer notifications.
#include "player/media/media_player.h"

#include <string>

#include "core/runtime_error.h"
#include "player/media/sound_engine.h"

namespace sl {

MediaPlayer::MediaPlayer(int index, MediaPlayers& owner) : index_(index), owner_(owner) {}

MediaPlayer::~MediaPlayer() = default;

void MediaPlayer::SetVolume(std::int32_t volume) {
  bool changed = volume_ != volume;
  volume_ = volume;
  if (sound_) sound_->SetVolume(volume);
  if (changed && owner_.Observer()) owner_.Observer()->SoundVolumeChanged(index_, volume);
}

void MediaPlayer::Play() {
  sound_.reset();  // a sound still playing gives way to the new one
  playState_ = kPlayStatePlaying;
  if (owner_.Observer()) owner_.Observer()->SoundPlayed(index_, fileName_, playCount_, volume_);
  if (SoundEngine* engine = owner_.Engine()) {
    sound_ = engine->Start(fileName_, playCount_, volume_, [this] { SoundEnded(); });
  }
}

void MediaPlayer::Stop() {
  sound_.reset();
  playState_ = kPlayStateStopped;
  if (owner_.Observer()) owner_.Observer()->SoundStopped(index_);
}

void MediaPlayer::SoundEnded() {
  playState_ = kPlayStateStopped;
  if (owner_.Observer()) owner_.Observer()->SoundEnded(index_);
}

MediaPlayers::MediaPlayers()
    : players_{MediaPlayer(1, *this), MediaPlayer(2, *this), MediaPlayer(3, *this),
               MediaPlayer(4, *this), MediaPlayer(5, *this), MediaPlayer(6, *this),
               MediaPlayer(7, *this)} {}

MediaPlayers::~MediaPlayers() = default;

MediaPlayer& MediaPlayers::operator()(int index) {
  if (index < 1 || index > kCount) {
    throw RuntimeError(kErrNoArrayElement,
                       "Control array element '" + std::to_string(index) + "' doesn't exist");
  }
  return players_[static_cast<std::size_t>(index - 1)];
}

}  // namespace sl

// The sound players: state and observer notifications (no output yet).
#include "player/media/media_player.h"

#include <string>

#include "core/runtime_error.h"

namespace sl {

void MediaPlayer::SetVolume(std::int32_t volume) {
  bool changed = volume_ != volume;
  volume_ = volume;
  // Only what can be heard is reported: a new volume of a playing sound.
  if (observer_ && changed && Playing()) observer_->SoundVolumeChanged(index_, volume);
}

void MediaPlayer::Play() {
  playState_ = kPlayStatePlaying;
  if (observer_) observer_->SoundPlayed(index_, fileName_, playCount_, volume_);
}

void MediaPlayer::Stop() {
  bool wasPlaying = Playing();
  playState_ = kPlayStateStopped;
  if (observer_ && wasPlaying) observer_->SoundStopped(index_);
}

MediaPlayers::MediaPlayers()
    : players_{MediaPlayer(1, observer_), MediaPlayer(2, observer_), MediaPlayer(3, observer_),
               MediaPlayer(4, observer_), MediaPlayer(5, observer_), MediaPlayer(6, observer_),
               MediaPlayer(7, observer_)} {}

MediaPlayer& MediaPlayers::operator()(int index) {
  if (index < 1 || index > kCount) {
    throw RuntimeError(340, "Control array element '" + std::to_string(index) + "' doesn't exist");
  }
  return players_[static_cast<std::size_t>(index - 1)];
}

}  // namespace sl

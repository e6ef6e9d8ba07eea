// The seven sound players of the game window (the `MPlayer` array, elements 1 to 7): each holds
// a file, a play count (1 = once, 0 = without end), a volume in hundredths of a decibel (0 is
// full volume, -4000 the quietest used) and a play state. Sound output comes later; for now a
// started player reports "playing" until it is stopped. What can be heard is told to an observer
// (the run's trace): every start, the stop of a playing sound, the volume change of a playing
// sound.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace sl {

// What a player reports through its play state: 2 means playing.
constexpr std::int32_t kPlayStatePlaying = 2;
constexpr std::int32_t kPlayStateStopped = 0;

class SoundObserver {
 public:
  virtual ~SoundObserver() = default;
  virtual void SoundPlayed(int player, const std::string& file, int count, int volume) = 0;
  virtual void SoundStopped(int player) = 0;
  virtual void SoundVolumeChanged(int player, int volume) = 0;
};

class MediaPlayer {
 public:
  MediaPlayer(int index, SoundObserver*& observer) : index_(index), observer_(observer) {}

  int Index() const noexcept { return index_; }
  const std::string& FileName() const noexcept { return fileName_; }
  void SetFileName(std::string file) { fileName_ = std::move(file); }
  std::int32_t PlayCount() const noexcept { return playCount_; }
  void SetPlayCount(std::int32_t count) { playCount_ = count; }
  std::int32_t Volume() const noexcept { return volume_; }
  void SetVolume(std::int32_t volume);
  std::int32_t PlayState() const noexcept { return playState_; }
  bool Playing() const noexcept { return playState_ == kPlayStatePlaying; }

  void Play();
  void Stop();

 private:
  int index_;
  SoundObserver*& observer_;
  std::string fileName_;
  std::int32_t playCount_ = 1;
  std::int32_t volume_ = 0;
  std::int32_t playState_ = kPlayStateStopped;
};

// The `MPlayer` array: players 1 to 7.
class MediaPlayers {
 public:
  static constexpr int kCount = 7;
  MediaPlayers();
  MediaPlayers(const MediaPlayers&) = delete;
  MediaPlayers& operator=(const MediaPlayers&) = delete;

  // Player 1 to 7; RuntimeError 340 for another index.
  MediaPlayer& operator()(int index);
  void SetObserver(SoundObserver* observer) { observer_ = observer; }

 private:
  SoundObserver* observer_ = nullptr;
  std::array<MediaPlayer, kCount> players_;
};

}  // namespace sl

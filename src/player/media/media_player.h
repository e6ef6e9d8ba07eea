// The seven sound players of the game window (the `MPlayer` array, elements 1 to 7): each holds
// a file, a play count (1 = once, 0 = without end), a volume in hundredths of a decibel (0 is
// full volume, -4000 the quietest used) and a play state. A started player sounds through the
// run's SoundEngine and reports "playing" until it is stopped or its sound has lasted its true
// length (play count times the file's length), after which it is free again. Without an engine
// (tests of the channel logic) a started player plays until it is stopped.
//
// An observer (the run's trace) hears of every start, every stop (also of a silent player),
// every change of volume (also of a silent player) and every end of a sound.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace sl {

class SoundEngine;
class PlayingSound;

// What a player reports through its play state: 2 means playing.
constexpr std::int32_t kPlayStatePlaying = 2;
constexpr std::int32_t kPlayStateStopped = 0;

class SoundObserver {
 public:
  virtual ~SoundObserver() = default;
  virtual void SoundPlayed(int player, const std::string& file, int count, int volume) = 0;
  virtual void SoundStopped(int player) = 0;
  virtual void SoundVolumeChanged(int player, int volume) = 0;
  // The player's sound has played to its end by itself.
  virtual void SoundEnded(int /*player*/) {}
};

class MediaPlayers;

class MediaPlayer {
 public:
  MediaPlayer(int index, MediaPlayers& owner);
  ~MediaPlayer();
  MediaPlayer(const MediaPlayer&) = delete;
  MediaPlayer& operator=(const MediaPlayer&) = delete;

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
  void SoundEnded();

  int index_;
  MediaPlayers& owner_;
  std::string fileName_;
  std::int32_t playCount_ = 1;
  std::int32_t volume_ = 0;
  std::int32_t playState_ = kPlayStateStopped;
  std::unique_ptr<PlayingSound> sound_;
};

// The `MPlayer` array: players 1 to 7.
class MediaPlayers {
 public:
  static constexpr int kCount = 7;
  MediaPlayers();
  ~MediaPlayers();
  MediaPlayers(const MediaPlayers&) = delete;
  MediaPlayers& operator=(const MediaPlayers&) = delete;

  // Player 1 to 7; RuntimeError 340 for another index.
  MediaPlayer& operator()(int index);
  void SetObserver(SoundObserver* observer) { observer_ = observer; }
  SoundObserver* Observer() const noexcept { return observer_; }
  // Where the players sound; null: nowhere (a started player plays until stopped).
  void SetEngine(SoundEngine* engine) { engine_ = engine; }
  SoundEngine* Engine() const noexcept { return engine_; }

 private:
  SoundObserver* observer_ = nullptr;
  SoundEngine* engine_ = nullptr;
  std::array<MediaPlayer, kCount> players_;
};

}  // namespace sl

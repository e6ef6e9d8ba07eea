// The table of the seven logical sound channels above the media players, and the operations on
// players that frame opening and game reset need now: stopping all players or the wave, MP3
// and WMA ones, asking whether a file plays, and playing a channel block from an open file.
// Pending changes with fades (ApplyChannelChanges, StepFades) come with the sound subsystem.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "player/media/media_player.h"

namespace sl {

class DataFileReader;

struct SoundChannel {
  std::int16_t mode = 0;  // 3 = stop, 4 = change the volume, 0 = none
  std::string file;       // relative to the areas folder; empty = start nothing
  bool fade = false;
  bool loop = false;
  std::int16_t player = 0;          // media player carrying the channel now
  std::int16_t previousPlayer = 0;  // during a cross-fade, the one with the old sound
  double previousVolume = 0;        // levels 0 to 10
  double volume = 0;
  bool keep = false;  // do not restart a file that some player already plays
};

// Player volume of a level 0..10: (level - 10) * 400, ties to even.
std::int32_t LevelToVolume(double level);

class SoundChannels {
 public:
  static constexpr int kChannels = 7;
  static constexpr int kMusicChannel = 6;
  static constexpr int kFrameSoundChannel = 7;

  explicit SoundChannels(MediaPlayers& players);

  // Channel 1..7 (index 0 exists and is never used).
  SoundChannel& Channel(int index);
  MediaPlayer& PlayerOfChannel(int channel);
  MediaPlayers& Players() { return players_; }

  // Stops players 1..7 and gives every channel its own player back.
  void StopAllSounds();
  // Stops every playing player whose file ends in wav, mp3 or wma (MIDI plays on).
  void StopAnyWavOrMP3();
  // True when a playing player has exactly this file (case-sensitive).
  bool IsFilePlaying(const std::string& path);
  // Plays a channel block read from `reader`; `resolve` maps a file name of the block to the
  // path to play (areas folder + name through FindMediaFile).
  void PlaySoundChannels(DataFileReader& reader,
                         const std::function<std::string(const std::string&)>& resolve);

 private:
  MediaPlayers& players_;
  std::array<SoundChannel, kChannels + 1> table_;
};

}  // namespace sl

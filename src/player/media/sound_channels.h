// The table of the seven logical sound channels above the media players and the operations on
// them: playing a channel block from an open file, carrying out the pending changes of the
// table (cut at once, or started for a fade), stepping fades to a point of their progress,
// finding a free player, one MIDI file at a time, stopping all players or the wave, MP3 and WMA
// ones, and asking whether a file plays. The fade clock and the error warning belong to the
// game's sound subsystem (GameSound), which drives these.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "player/media/media_player.h"

namespace sl {

class DataFileReader;

// A file name of a channel (relative to the areas folder) made into the path to play.
using MediaResolver = std::function<std::string(const std::string&)>;

// The pending changes a channel's mode asks for.
constexpr std::int16_t kChannelModeNone = 0;
constexpr std::int16_t kChannelModeStop = 3;
constexpr std::int16_t kChannelModeVolume = 4;

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
  // path to play (areas folder + name through FindMediaFile). An error ends the block and is
  // reported through the error report (the block's sounds already started play on).
  void PlaySoundChannels(DataFileReader& reader, const MediaResolver& resolve);
  // Told the standard error sentence when a channel block cannot be read.
  void SetErrorReport(std::function<void(const std::string& sentence)> report) {
    report_ = std::move(report);
  }

  // Carries out the pending change of every channel: cut changes at once; a faded change
  // starts its new file silent (on a free player when the channel's own one is busy, so that
  // the old sound can fade out) and is finished by StepFades. `exists` tells whether a
  // resolved path is a file. Errors pass to the caller and end the pass.
  void ApplyChannelChanges(const MediaResolver& resolve,
                           const std::function<bool(const std::string&)>& exists);
  // Sets every fading channel to `progress` (0..1) of its fade; 1 or more finishes all fades and
  // returns the channels to idle. Returns whether some channel was fading.
  bool StepFades(double progress);
  // The lowest player 1..7 that is not playing; -1 when all seven play.
  std::int16_t FindFreePlayer();
  // When the channel's file is a MIDI file, stops every player whose file is one.
  void StopOtherMidi(int channel);

 private:
  void ApplyCut(int ch, const MediaResolver& resolve,
                const std::function<bool(const std::string&)>& exists);
  void ApplyFaded(int ch, const MediaResolver& resolve,
                  const std::function<bool(const std::string&)>& exists);
  void StepFade(SoundChannel& c, double progress);

  MediaPlayers& players_;
  std::array<SoundChannel, kChannels + 1> table_;
  std::function<void(const std::string&)> report_;
};

}  // namespace sl

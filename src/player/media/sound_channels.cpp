// Sound channel table and the direct player operations.
#include "player/media/sound_channels.h"

#include <cmath>

#include "core/case_fold.h"
#include "core/data_file_reader.h"
#include "core/runtime_error.h"

namespace sl {

namespace {

bool EndsWithLower(const std::string& name, std::initializer_list<std::string_view> endings) {
  if (name.size() <= 4) return false;
  std::string lower = FoldCase(name);
  for (std::string_view e : endings) {
    if (lower.ends_with(e)) return true;
  }
  return false;
}

}  // namespace

std::int32_t LevelToVolume(double level) {
  return static_cast<std::int32_t>(std::nearbyint((level - 10.0) * 400.0));
}

SoundChannels::SoundChannels(MediaPlayers& players) : players_(players) {
  for (int i = 0; i <= kChannels; ++i)
    table_[static_cast<std::size_t>(i)].player = static_cast<std::int16_t>(i);
}

SoundChannel& SoundChannels::Channel(int index) {
  if (index < 0 || index > kChannels) throw RuntimeError(kErrSubscript);
  return table_[static_cast<std::size_t>(index)];
}

MediaPlayer& SoundChannels::PlayerOfChannel(int channel) {
  return players_(Channel(channel).player);
}

void SoundChannels::StopAllSounds() {
  for (int i = 1; i <= kChannels; ++i) {
    players_(i).Stop();
    table_[static_cast<std::size_t>(i)].player = static_cast<std::int16_t>(i);
  }
}

void SoundChannels::StopAnyWavOrMP3() {
  for (int i = 1; i <= MediaPlayers::kCount; ++i) {
    MediaPlayer& p = players_(i);
    if (p.Playing() && EndsWithLower(p.FileName(), {"wav", "mp3", "wma"})) p.Stop();
  }
}

bool SoundChannels::IsFilePlaying(const std::string& path) {
  for (int i = 1; i <= MediaPlayers::kCount; ++i) {
    MediaPlayer& p = players_(i);
    if (p.Playing() && p.FileName() == path) return true;
  }
  return false;
}

void SoundChannels::PlaySoundChannels(DataFileReader& reader, const MediaResolver& resolve) {
  try {
    reader.Skip(22);
    for (int c = 1; c <= 5; ++c) {
      reader.Skip(1);
      bool stop = reader.ReadBoolean();
      bool play = reader.ReadBoolean();
      std::string file = reader.ReadString();
      double repeat = reader.ReadDouble();
      MediaPlayer& p = PlayerOfChannel(c);
      if (stop) p.Stop();
      if (play && !file.empty()) {
        p.Stop();
        p.SetFileName(resolve(file));
        p.SetPlayCount(repeat == 0 ? 1 : 0);
        p.SetVolume(LevelToVolume(8));
        p.Play();
      }
      if (reader.SeparatorOrEndNext()) break;
    }
  } catch (const RuntimeError&) {
    if (report_) report_(" Unable to load old sound system information.");
  }
}

std::int16_t SoundChannels::FindFreePlayer() {
  for (int i = 1; i <= MediaPlayers::kCount; ++i) {
    if (!players_(i).Playing()) return static_cast<std::int16_t>(i);
  }
  return -1;
}

void SoundChannels::StopOtherMidi(int channel) {
  if (!EndsWithLower(Channel(channel).file, {"mid"})) return;
  for (int i = 1; i <= MediaPlayers::kCount; ++i) {
    MediaPlayer& p = players_(i);
    if (EndsWithLower(p.FileName(), {"mid"})) p.Stop();
  }
}

namespace {

void Start(MediaPlayer& p, const std::string& path, std::int32_t volume, bool loop) {
  p.Stop();
  p.SetFileName(path);
  p.SetVolume(volume);
  p.SetPlayCount(loop ? 0 : 1);
  p.Play();
}

}  // namespace

void SoundChannels::ApplyCut(int ch, const MediaResolver& resolve,
                             const std::function<bool(const std::string&)>& exists) {
  SoundChannel& c = Channel(ch);
  MediaPlayer& p = players_(c.player);
  if (c.mode == kChannelModeStop) p.Stop();
  if (!c.file.empty()) {
    std::string path = resolve(c.file);
    if (!exists(path)) {
      c.file.clear();
    } else if (!(c.keep && IsFilePlaying(path))) {
      StopOtherMidi(ch);
      Start(p, path, LevelToVolume(c.volume), c.loop);
    }
  }
  if (c.mode == kChannelModeVolume) p.SetVolume(LevelToVolume(c.volume));
  c.mode = kChannelModeNone;
  c.file.clear();
  c.previousPlayer = 0;
}

void SoundChannels::ApplyFaded(int ch, const MediaResolver& resolve,
                               const std::function<bool(const std::string&)>& exists) {
  SoundChannel& c = Channel(ch);
  std::string path = c.file.empty() ? std::string() : resolve(c.file);
  if (path.empty() || !exists(path)) {
    c.file.clear();
    return;
  }
  StopOtherMidi(ch);
  MediaPlayer& p = players_(c.player);
  std::int16_t free = p.Playing() ? FindFreePlayer() : -1;
  if (free == -1) {
    c.previousPlayer = 0;
    Start(p, path, LevelToVolume(0), c.loop);
    return;
  }
  // Cross-fade: the new sound starts on the free player, the old one fades out where it is.
  c.previousPlayer = c.player;
  c.player = free;
  Start(players_(free), path, LevelToVolume(0), c.loop);
  for (int i = 1; i <= kChannels; ++i) {
    if (i != ch && Channel(i).player == free) Channel(i).player = c.previousPlayer;
  }
}

void SoundChannels::ApplyChannelChanges(const MediaResolver& resolve,
                                        const std::function<bool(const std::string&)>& exists) {
  for (int ch = 1; ch <= kChannels; ++ch) {
    if (Channel(ch).fade) {
      ApplyFaded(ch, resolve, exists);
    } else {
      ApplyCut(ch, resolve, exists);
    }
  }
}

void SoundChannels::StepFade(SoundChannel& c, double p) {
  MediaPlayer& player = players_(c.player);
  if (p >= 1) {
    if (c.mode == kChannelModeStop) player.Stop();
    if (c.mode == kChannelModeVolume) player.SetVolume(LevelToVolume(c.volume));
    if (!c.file.empty()) {
      player.SetVolume(LevelToVolume(c.volume));
      if (c.previousPlayer != 0) {
        players_(c.previousPlayer).Stop();
        c.previousPlayer = 0;
      }
    }
    c.mode = kChannelModeNone;
    c.file.clear();
    c.previousPlayer = 0;
    c.fade = false;
    return;
  }
  if (c.mode == kChannelModeStop) player.SetVolume(LevelToVolume((1 - p) * c.previousVolume));
  if (c.mode == kChannelModeVolume) {
    player.SetVolume(LevelToVolume(c.previousVolume + p * (c.volume - c.previousVolume)));
  }
  if (!c.file.empty()) {
    player.SetVolume(LevelToVolume(p * c.volume));
    if (c.previousPlayer != 0) {
      players_(c.previousPlayer).SetVolume(LevelToVolume((1 - p) * c.previousVolume));
    }
  }
}

bool SoundChannels::StepFades(double progress) {
  bool fading = false;
  for (int ch = 1; ch <= kChannels; ++ch) {
    SoundChannel& c = Channel(ch);
    if (c.fade) {
      fading = true;
      StepFade(c, progress);
    } else if (progress >= 1) {
      c.mode = kChannelModeNone;
      c.file.clear();
      c.previousPlayer = 0;
    }
  }
  return fading;
}

}  // namespace sl

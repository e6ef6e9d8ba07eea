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
  if (index < 0 || index > kChannels) throw RuntimeError(9);
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

void SoundChannels::PlaySoundChannels(
    DataFileReader& reader, const std::function<std::string(const std::string&)>& resolve) {
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
}

}  // namespace sl

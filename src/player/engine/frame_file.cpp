// Reading the frame file with its end-of-file checkpoints and channel records.
#include "player/engine/frame_file.h"

#include <array>

#include "core/data_file_reader.h"
#include "core/variant.h"
#include "core/variant_convert.h"
#include "player/media/sound_channels.h"

namespace sl {

namespace {

// Numbers of fields 7 and 35 are read as text and take their leading number, so "1.5 s" is 1.5
// and a text without a number is 0.
double ReadLeadingNumber(DataFileReader& reader) {
  return Val(reader.ReadString());
}

void ReadChannelRecords(DataFileReader& reader, FrameFile& frame, SoundChannels& channels) {
  // Slots beyond V keep the previous record's values.
  std::array<Variant, 6> s{};
  for (int i = 1; i <= frame.ChannelRecords; ++i) {
    for (int k = 1; k <= frame.ChannelValues; ++k)
      s[static_cast<std::size_t>(k)] = reader.ReadVariant();
    if (i > SoundChannels::kChannels) continue;  // read and ignored
    SoundChannel& ch = channels.Channel(i);
    bool apply = (ToDouble(s[1]) > 1 && ch.mode < 2) || (ch.file.empty() && !ToUtf8(s[5]).empty());
    if (!apply) continue;
    ch.mode = ToInteger(s[1]);
    ch.fade = ToBoolean(s[2]);
    ch.loop = ToBoolean(s[3]);
    ch.previousVolume = ch.volume;
    ch.volume = ToDouble(s[4]);
    ch.file = ToUtf8(s[5]);
    ch.keep = true;
    if (ch.fade) frame.AnyChannelFades = true;
  }
}

}  // namespace

FrameHeader ReadFrameHeader(DataFileReader& reader) {
  FrameHeader h;
  h.BackgroundKind = reader.ReadInteger();
  h.BackgroundSource = reader.ReadString();
  h.BackgroundTiled = reader.ReadBoolean();
  return h;
}

void ReadFrameFile(DataFileReader& reader, FrameFile& f, SoundChannels& channels) {
  f.header = ReadFrameHeader(reader);
  f.StopMusic = reader.ReadBoolean();
  f.MusicFile = reader.ReadString();
  f.TimerEnabled = reader.ReadBoolean();
  f.TimerDelaySeconds = ReadLeadingNumber(reader);
  f.TimerTarget = reader.ReadString();
  f.VideoFile = reader.ReadString();
  reader.Skip(1);
  if (reader.Eof()) return;
  f.StopAllWaves = reader.ReadBoolean();
  f.StopFrameSoundWhenNone = reader.ReadBoolean();
  f.FrameSound = reader.ReadString();
  if (reader.Eof()) return;
  reader.Skip(3);
  f.VideoOwnSize = reader.ReadBoolean();
  f.VideoInCutSceneArea = reader.ReadBoolean();
  f.VideoLeft = reader.ReadInteger();
  f.VideoTop = reader.ReadInteger();
  f.VideoWidth = reader.ReadInteger();
  f.VideoHeight = reader.ReadInteger();
  if (reader.Eof()) return;
  f.MusicLoops = reader.ReadBoolean();
  if (reader.Eof()) return;
  f.TimerWithTransition = reader.ReadBoolean();
  f.TimerTransitionDuration = reader.ReadLong();
  if (reader.Eof()) return;
  f.TimerTransitionNumber = reader.ReadInteger();
  if (reader.Eof()) return;
  f.RunScript = reader.ReadBoolean();
  f.Script = reader.ReadString();
  if (reader.Eof()) return;
  reader.Skip(6);
  f.FadeDurationMs = ReadLeadingNumber(reader);
  reader.ReadInteger();
  f.ChannelValues = reader.ReadInteger();
  f.ChannelRecords = reader.ReadInteger();
  if (f.ChannelValues > 5) return;
  ReadChannelRecords(reader, f, channels);
  if (reader.Eof()) return;
  f.VideoBeforeFrame = reader.ReadBoolean();
}

}  // namespace sl

// The frame file ("<frame>.fme" in the frames folder): background, music, frame timer, video,
// frame sound, opening script and the frame's sound-channel records. Fields are read strictly
// in order; at fixed points the reader stops when the file has ended, and every later field
// keeps its default, so the files of older editors stay valid.
//
// API:
//   FrameFile f;                             // defaults of a file that ends after field 10
//   ReadFrameFile(reader, f, channels);      // applies channel records 1..7 as they are read;
//                                            // throws RuntimeError (62 when fields 1-10 run out)
//   FrameHeader h = ReadFrameHeader(reader); // fields 1-3 only
#pragma once

#include <cstdint>
#include <string>

namespace sl {

class DataFileReader;
class SoundChannels;

struct FrameHeader {
  std::int16_t BackgroundKind = 0;  // 0 colour, 1 picture, anything else draws nothing
  std::string BackgroundSource;     // colour as a decimal number, or picture file
  bool BackgroundTiled = false;
};

struct FrameFile {
  FrameHeader header;                   // fields 1-3
  bool StopMusic = false;               // 4
  std::string MusicFile;                // 5, relative to the areas folder
  bool TimerEnabled = false;            // 6
  double TimerDelaySeconds = 0;         // 7, leading number of the text
  std::string TimerTarget;              // 8, a frame or "[last visited frame]"
  std::string VideoFile;                // 9, relative to the frames folder
  bool StopAllWaves = false;            // 11
  bool StopFrameSoundWhenNone = false;  // 12
  std::string FrameSound;               // 13, relative to the frames folder
  bool VideoOwnSize = false;            // 17
  bool VideoInCutSceneArea = false;     // 18
  std::int16_t VideoLeft = 0;           // 19-22, pixels of the frame picture
  std::int16_t VideoTop = 0;
  std::int16_t VideoWidth = 0;
  std::int16_t VideoHeight = 0;
  bool MusicLoops = true;                    // 23
  bool TimerWithTransition = false;          // 24
  std::int32_t TimerTransitionDuration = 0;  // 25, ms
  std::int16_t TimerTransitionNumber = 0;    // 26
  bool RunScript = false;                    // 27
  std::string Script;                        // 28, stored text ('|' for '"')
  double FadeDurationMs = 0;                 // 35
  std::int16_t ChannelValues = 0;            // 37, V
  std::int16_t ChannelRecords = 0;           // 38, N
  bool AnyChannelFades = false;              // an applied record has fade on
  bool VideoBeforeFrame = false;             // last field
};

FrameHeader ReadFrameHeader(DataFileReader& reader);
void ReadFrameFile(DataFileReader& reader, FrameFile& frame, SoundChannels& channels);

}  // namespace sl

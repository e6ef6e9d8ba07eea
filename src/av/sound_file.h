// Sound files of any kind a game holds, told apart by their content (not their name): MIDI
// files go to the synthesiser, everything else to the decoder.
//
// API:
//   av::OpenedSound s = av::OpenSoundFile("/game/Areas/Theme.mid", synths);
//   if (s.source) mixer.Play(std::move(s.source), {...});   // s.seconds: one play's length
//   else report s.error
//   std::optional<double> seconds = av::SoundFileLength("/game/Frames/Bell.wav");   // no decoding
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "av/audio_source.h"

namespace sl::av {

class MidiSynths;

struct OpenedSound {
  std::unique_ptr<AudioSource> source;  // null when the file cannot be played
  double seconds = 0;                   // the length of one play
  bool midi = false;
  std::string error;
};

// Whether the file at `path` holds MIDI music.
bool IsMidiFile(const std::string& path);
// Opens a sound for playing. `synths` may be null: MIDI files then fail.
OpenedSound OpenSoundFile(const std::string& path, const std::shared_ptr<MidiSynths>& synths);
// The length of one play in seconds, read from the file without playing it; nullopt when the
// file is not a sound that can be played.
std::optional<double> SoundFileLength(const std::string& path);

}  // namespace sl::av

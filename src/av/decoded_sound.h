// DecodedSound: a sound file (wave of any PCM width, ADPCM and the other wave codecs, MP3, WMA,
// Ogg Vorbis, FLAC and whatever else FFmpeg's libraries read) decoded piece by piece as it
// plays, never whole into memory. Samples come out as floats at the file's own rate, in mono or
// stereo (more channels are mixed down to stereo).
//
// Game files are untrusted: the file is opened as every media file of the player is (MediaInput:
// plain local files, the demuxers of media files only). A broken packet is skipped; too many in a
// row end the sound.
//
// API:
//   std::string why;
//   std::unique_ptr<av::DecodedSound> s = av::DecodedSound::Open("/game/Areas/Sea.wav", &why);
//   s->Format(); s->Read(buffer, frames); s->Rewind(); s->Seek(2.5); s->Duration();
//   std::optional<double> seconds = av::DecodedSoundDuration("/game/Areas/Theme.mp3");
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "av/audio_source.h"

namespace sl::av {

class DecodedSound final : public AudioSource {
 public:
  // Opens `path`; nullptr when it is not a sound these libraries decode (`error` says why).
  static std::unique_ptr<DecodedSound> Open(const std::string& path, std::string* error = nullptr);
  ~DecodedSound() override;
  DecodedSound(const DecodedSound&) = delete;
  DecodedSound& operator=(const DecodedSound&) = delete;

  AudioFormat Format() const override;
  int Read(float* out, int frames) override;
  bool Rewind() override;
  // Goes to the packet at or before `seconds` and drops the samples before that moment.
  bool Seek(double seconds) override;
  // The length of one play in seconds: as the file states it, or, when the file only allows a
  // guess from its bit rate, the end of its last packet (read without decoding).
  double Duration();

 private:
  struct State;
  explicit DecodedSound(std::unique_ptr<State> state);
  bool DecodeMore();
  bool Convert();
  bool CopyFloats();
  bool DropBeforeTarget(std::int64_t timestamp);

  std::unique_ptr<State> s_;
};

// The length of a sound file in seconds (see Duration()), nullopt when it cannot be read.
std::optional<double> DecodedSoundDuration(const std::string& path);

}  // namespace sl::av

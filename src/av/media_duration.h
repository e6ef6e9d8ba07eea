// The length of a media file: any file FFmpeg reads (wave, MP3, WMA, videos), and Standard MIDI
// Files (also in a RIFF "RMID" wrapper), whose length follows from their tempo map.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sl::av {

// Throws MediaError (video_decoder.h) when the file cannot be read.
std::int64_t MediaDurationMs(const std::string& path);
// The length of MIDI file contents; throws MediaError when they are not a MIDI file.
std::int64_t MidiDurationMs(std::string_view bytes);

}  // namespace sl::av

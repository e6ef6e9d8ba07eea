// MidiFile: a Standard MIDI File (formats 0, 1 and 2, also inside a RIFF "RMID" wrapper) read
// and checked completely before anything plays it, with its playing time worked out from its
// tempo changes. A file that does not follow the format is refused, so the synthesiser only
// ever sees well-formed data.
//
// API:
//   std::string why;
//   std::optional<av::MidiFile> midi = av::ReadMidiFile("/game/Areas/Theme.mid", &why);
//   midi->bytes      // the standard MIDI file (without any RIFF wrapper)
//   midi->seconds    // from the start to the last event of the longest track
//   av::MidiTickAt(*midi, 12.5)
//   av::LooksLikeMidi(firstBytes)
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace sl::av {

// Files larger than this are not taken for music.
constexpr std::size_t kMaxMidiFileBytes = 16 * 1024 * 1024;

struct MidiFile {
  std::vector<std::uint8_t> bytes;
  double seconds = 0;
  std::uint16_t division = 0;                                   // as the header gives it
  std::vector<std::pair<std::uint64_t, std::uint32_t>> tempos;  // (tick, microseconds a quarter)
};

// The tick that falls `seconds` after the start of the file.
std::uint64_t MidiTickAt(const MidiFile& file, double seconds);

// Reads and checks `path`; nullopt when it is not a MIDI file we play (`error` says why).
std::optional<MidiFile> ReadMidiFile(const std::string& path, std::string* error = nullptr);
// Checks bytes already in memory.
std::optional<MidiFile> ParseMidiFile(std::span<const std::uint8_t> data,
                                      std::string* error = nullptr);
// Whether a file beginning with these bytes is a MIDI file (standard or RIFF "RMID").
bool LooksLikeMidi(std::span<const std::uint8_t> head);

}  // namespace sl::av

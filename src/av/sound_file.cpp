// Telling MIDI from other sounds and opening either.
#include "av/sound_file.h"

#include <array>
#include <cstdio>
#include <filesystem>

#include "av/decoded_sound.h"
#include "av/midi_file.h"
#include "av/midi_sound.h"

namespace sl::av {

namespace {

// Only plain files are opened: a device or a pipe in a game's folder could block or never end.
bool IsPlainFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

bool IsMidiFile(const std::string& path) {
  if (!IsPlainFile(path)) return false;
  std::array<std::uint8_t, 12> head{};
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::size_t n = std::fread(head.data(), 1, head.size(), f);
  std::fclose(f);
  return LooksLikeMidi(std::span(head.data(), n));
}

OpenedSound OpenSoundFile(const std::string& path, const std::shared_ptr<MidiSynths>& synths) {
  OpenedSound opened;
  if (!IsPlainFile(path)) {
    opened.error = "not a file";
    return opened;
  }
  if (IsMidiFile(path)) {
    opened.midi = true;
    std::optional<MidiFile> file = ReadMidiFile(path, &opened.error);
    if (!file) return opened;
    opened.seconds = file->seconds;
    opened.source = MidiSound::Open(std::move(*file), synths, &opened.error);
    if (!synths && opened.error.empty()) opened.error = "MIDI music is not available";
    return opened;
  }
  std::unique_ptr<DecodedSound> sound = DecodedSound::Open(path, &opened.error);
  if (!sound) return opened;
  opened.seconds = sound->Duration();
  opened.source = std::move(sound);
  return opened;
}

std::optional<double> SoundFileLength(const std::string& path) {
  if (!IsPlainFile(path)) return std::nullopt;
  if (IsMidiFile(path)) {
    std::optional<MidiFile> file = ReadMidiFile(path);
    if (!file) return std::nullopt;
    return file->seconds;
  }
  return DecodedSoundDuration(path);
}

}  // namespace sl::av

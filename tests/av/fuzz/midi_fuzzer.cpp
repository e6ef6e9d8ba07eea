// libFuzzer target of the MIDI file reader: any bytes are refused or read to a finite length.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "av/midi_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::optional<sl::av::MidiFile> f = sl::av::ParseMidiFile(std::span(data, size));
  if (f && !(f->seconds >= 0)) std::abort();
  return 0;
}

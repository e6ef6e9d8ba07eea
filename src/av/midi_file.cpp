// Standard MIDI File reading: chunks, track events with running status, tempo map.
#include "av/midi_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>

#include "core/file_io.h"
#include "core/runtime_error.h"

namespace sl::av {

namespace {

constexpr std::uint32_t kDefaultTempo = 500000;  // microseconds per quarter note (120 bpm)
constexpr std::uint8_t kMetaEvent = 0xFF;
constexpr std::uint8_t kMetaTempo = 0x51;
constexpr std::uint8_t kMetaEndOfTrack = 0x2F;
constexpr std::uint8_t kSysEx = 0xF0;
constexpr std::uint8_t kSysExEscape = 0xF7;

bool Tag(std::span<const std::uint8_t> d, std::size_t at, const char* tag) {
  return d.size() >= at + 4 && std::memcmp(d.data() + at, tag, 4) == 0;
}

std::uint32_t Be32(std::span<const std::uint8_t> d, std::size_t at) {
  return (std::uint32_t{d[at]} << 24) | (std::uint32_t{d[at + 1]} << 16) |
         (std::uint32_t{d[at + 2]} << 8) | d[at + 3];
}

std::uint32_t Le32(std::span<const std::uint8_t> d, std::size_t at) {
  return (std::uint32_t{d[at + 3]} << 24) | (std::uint32_t{d[at + 2]} << 16) |
         (std::uint32_t{d[at + 1]} << 8) | d[at];
}

std::uint16_t Be16(std::span<const std::uint8_t> d, std::size_t at) {
  return static_cast<std::uint16_t>((d[at] << 8) | d[at + 1]);
}

// The standard MIDI data inside a RIFF "RMID" file: its "data" chunk.
std::optional<std::span<const std::uint8_t>> Unwrap(std::span<const std::uint8_t> d) {
  if (!Tag(d, 0, "RIFF")) return d;
  if (!Tag(d, 8, "RMID")) return std::nullopt;
  for (std::size_t at = 12; at + 8 <= d.size();) {
    std::size_t size = Le32(d, at + 4);
    if (size > d.size() - at - 8) return std::nullopt;
    if (Tag(d, at, "data")) return d.subspan(at + 8, size);
    at += 8 + size + (size & 1);
  }
  return std::nullopt;
}

// Reads one track's events; collects its tempo changes and returns the tick of its last event.
class TrackReader {
 public:
  TrackReader(std::span<const std::uint8_t> track,
              std::multimap<std::uint64_t, std::uint32_t>& tempos)
      : d_(track), tempos_(tempos) {}

  bool Read(std::uint64_t& lastTick) {
    std::uint64_t tick = 0;
    std::uint8_t running = 0;
    while (pos_ < d_.size()) {
      std::uint32_t delta = 0;
      if (!VarLen(delta)) return false;
      tick += delta;
      if (pos_ >= d_.size()) return false;
      std::uint8_t status = d_[pos_];
      if (status & 0x80) {
        ++pos_;
      } else if (running != 0) {
        status = running;  // running status: the data byte stays for the event
      } else {
        return false;
      }
      if (status == kMetaEvent) {
        if (pos_ >= d_.size()) return false;
        std::uint8_t type = d_[pos_++];
        std::uint32_t length = 0;
        if (!VarLen(length) || length > d_.size() - pos_) return false;
        if (type == kMetaTempo && length == 3) {
          std::uint32_t t =
              (std::uint32_t{d_[pos_]} << 16) | (std::uint32_t{d_[pos_ + 1]} << 8) | d_[pos_ + 2];
          if (t > 0) tempos_.emplace(tick, t);
        }
        pos_ += length;
        running = 0;
        if (type == kMetaEndOfTrack) break;
      } else if (status == kSysEx || status == kSysExEscape) {
        std::uint32_t length = 0;
        if (!VarLen(length) || length > d_.size() - pos_) return false;
        pos_ += length;
        running = 0;
      } else if (status >= 0xF0) {
        return false;  // system messages other than these have no place in a file
      } else {
        std::size_t data = (status & 0xE0) == 0xC0 ? 1 : 2;
        if (data > d_.size() - pos_) return false;
        for (std::size_t i = 0; i < data; ++i) {
          if (d_[pos_ + i] & 0x80) return false;
        }
        pos_ += data;
        running = status;
      }
    }
    lastTick = tick;
    return true;
  }

 private:
  bool VarLen(std::uint32_t& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
      if (pos_ >= d_.size()) return false;
      std::uint8_t b = d_[pos_++];
      value = (value << 7) | (b & 0x7F);
      if (!(b & 0x80)) return true;
    }
    return false;
  }

  std::span<const std::uint8_t> d_;
  std::multimap<std::uint64_t, std::uint32_t>& tempos_;
  std::size_t pos_ = 0;
};

// SMPTE time: frames per second (a negative byte) times ticks per frame; 0 for metrical time.
double SmpteTicksPerSecond(std::uint16_t division) {
  if (!(division & 0x8000)) return 0;
  int fps = -static_cast<std::int8_t>(division >> 8);
  return static_cast<double>(fps) * (division & 0xFF);
}

double Seconds(std::uint64_t ticks, std::uint16_t division,
               const std::multimap<std::uint64_t, std::uint32_t>& tempos) {
  if (double perSecond = SmpteTicksPerSecond(division); perSecond > 0) {
    return static_cast<double>(ticks) / perSecond;
  }
  double perQuarter = division;
  double seconds = 0;
  std::uint64_t at = 0;
  std::uint32_t tempo = kDefaultTempo;
  for (const auto& [tick, t] : tempos) {
    if (tick >= ticks) break;
    seconds += static_cast<double>(tick - at) * tempo / 1e6 / perQuarter;
    at = tick;
    tempo = t;
  }
  return seconds + static_cast<double>(ticks - at) * tempo / 1e6 / perQuarter;
}

std::optional<MidiFile> Fail(std::string* error, const char* why) {
  if (error) *error = why;
  return std::nullopt;
}

}  // namespace

bool LooksLikeMidi(std::span<const std::uint8_t> head) {
  return Tag(head, 0, "MThd") || (Tag(head, 0, "RIFF") && Tag(head, 8, "RMID"));
}

std::optional<MidiFile> ParseMidiFile(std::span<const std::uint8_t> data, std::string* error) {
  std::optional<std::span<const std::uint8_t>> smf = Unwrap(data);
  if (!smf) return Fail(error, "a RIFF file without MIDI data");
  std::span<const std::uint8_t> d = *smf;
  if (!Tag(d, 0, "MThd") || d.size() < 14) return Fail(error, "not a standard MIDI file");
  std::size_t headerSize = Be32(d, 4);
  if (headerSize < 6 || headerSize > d.size() - 8) return Fail(error, "bad MIDI header");
  std::uint16_t format = Be16(d, 8);
  std::uint16_t tracks = Be16(d, 10);
  std::uint16_t division = Be16(d, 12);
  if (format > 2 || tracks == 0) return Fail(error, "unknown MIDI file format");
  if (division == 0 || ((division & 0x8000) && ((division & 0xFF) == 0 ||
                                                -static_cast<std::int8_t>(division >> 8) <= 0))) {
    return Fail(error, "bad MIDI time division");
  }
  std::multimap<std::uint64_t, std::uint32_t> tempos;
  std::uint64_t lastTick = 0;
  int found = 0;
  for (std::size_t at = 8 + headerSize; at + 8 <= d.size() && found < tracks;) {
    std::size_t size = Be32(d, at + 4);
    if (size > d.size() - at - 8) return Fail(error, "a MIDI track runs past the end of the file");
    if (Tag(d, at, "MTrk")) {
      std::uint64_t end = 0;
      TrackReader reader(d.subspan(at + 8, size), tempos);
      if (!reader.Read(end)) return Fail(error, "a MIDI track does not read");
      // The synthesiser plays the tracks of every format side by side.
      lastTick = std::max(lastTick, end);
      ++found;
    }
    at += 8 + size;
  }
  if (found == 0) return Fail(error, "a MIDI file without tracks");
  MidiFile file;
  file.bytes.assign(d.begin(), d.end());
  file.seconds = Seconds(lastTick, division, tempos);
  file.division = division;
  file.tempos.assign(tempos.begin(), tempos.end());
  return file;
}

std::uint64_t MidiTickAt(const MidiFile& file, double seconds) {
  if (!(seconds > 0) || file.division == 0) return 0;
  if (double perSecond = SmpteTicksPerSecond(file.division); perSecond > 0) {
    return static_cast<std::uint64_t>(std::llround(seconds * perSecond));
  }
  double perQuarter = file.division;
  double at = 0;  // seconds at tick `tick`
  std::uint64_t tick = 0;
  std::uint32_t tempo = kDefaultTempo;
  for (const auto& [change, t] : file.tempos) {
    double next = at + static_cast<double>(change - tick) * tempo / 1e6 / perQuarter;
    if (next >= seconds) break;
    at = next;
    tick = change;
    tempo = t;
  }
  return tick + static_cast<std::uint64_t>(std::llround((seconds - at) * 1e6 * perQuarter / tempo));
}

std::optional<MidiFile> ReadMidiFile(const std::string& path, std::string* error) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return Fail(error, "cannot open the file");
  auto size = std::filesystem::file_size(path, ec);
  if (ec) return Fail(error, "cannot open the file");
  if (size > kMaxMidiFileBytes) return Fail(error, "too large for a MIDI file");
  std::string bytes;
  try {
    bytes = ReadWholeFile(path);
  } catch (const RuntimeError&) {
    return Fail(error, "cannot read the file");
  }
  return ParseMidiFile(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
                       error);
}

}  // namespace sl::av

// Lengths of media files.
#include "av/media_duration.h"

#include <algorithm>
#include <map>

#include "av/ffmpeg_input.h"
#include "av/video_decoder.h"

namespace sl::av {

namespace {

// Microseconds per quarter note until a file sets its tempo (120 beats a minute).
constexpr std::uint32_t kDefaultTempo = 500000;
constexpr std::uint8_t kMetaEvent = 0xFF;
constexpr std::uint8_t kSetTempo = 0x51;
constexpr std::uint8_t kEndOfTrack = 0x2F;

class Bytes {
 public:
  explicit Bytes(std::string_view data) : data_(data) {}
  bool AtEnd() const { return pos_ >= data_.size(); }
  std::size_t Pos() const { return pos_; }
  std::uint8_t U8() {
    if (pos_ >= data_.size()) throw MediaError("the MIDI file is cut short");
    return static_cast<std::uint8_t>(data_[pos_++]);
  }
  std::uint32_t BigEndian(int count) {
    std::uint32_t v = 0;
    for (int i = 0; i < count; ++i)
      v = v << 8 | U8();
    return v;
  }
  std::uint32_t VariableLength() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
      std::uint8_t b = U8();
      v = v << 7 | (b & 0x7F);
      if (!(b & 0x80)) return v;
    }
    throw MediaError("the MIDI file holds a bad number");
  }
  void Skip(std::size_t count) {
    if (count > data_.size() - pos_) throw MediaError("the MIDI file is cut short");
    pos_ += count;
  }
  std::string_view Take(std::size_t count) {
    std::size_t start = pos_;
    Skip(count);
    return data_.substr(start, count);
  }

 private:
  std::string_view data_;
  std::size_t pos_ = 0;
};

// The Standard MIDI File inside a RIFF "RMID" file's "data" chunk, or the bytes themselves.
std::string_view Unwrap(std::string_view bytes) {
  if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "RMID")
    return bytes;
  Bytes b(bytes);
  b.Skip(12);
  while (!b.AtEnd()) {
    std::string_view id = b.Take(4);
    std::uint32_t size =
        b.U8() | b.U8() << 8 | b.U8() << 16 | static_cast<std::uint32_t>(b.U8()) << 24;
    if (id == "data") return b.Take(std::min<std::size_t>(size, bytes.size() - b.Pos()));
    b.Skip(size + (size & 1));
  }
  throw MediaError("the RIFF file holds no MIDI data");
}

// Reads one track: its tempo changes go into `tempos` (tick -> microseconds per quarter);
// returns the tick of its last event.
std::uint64_t ReadTrack(std::string_view track, std::map<std::uint64_t, std::uint32_t>& tempos) {
  Bytes b(track);
  std::uint64_t tick = 0;
  std::uint8_t running = 0;
  while (!b.AtEnd()) {
    tick += b.VariableLength();
    std::uint8_t status = b.U8();
    if (status == kMetaEvent) {
      std::uint8_t type = b.U8();
      std::string_view data = b.Take(b.VariableLength());
      if (type == kSetTempo && data.size() == 3) {
        tempos[tick] = static_cast<std::uint8_t>(data[0]) << 16 |
                       static_cast<std::uint8_t>(data[1]) << 8 | static_cast<std::uint8_t>(data[2]);
      }
      if (type == kEndOfTrack) break;
    } else if (status == 0xF0 || status == 0xF7) {
      b.Skip(b.VariableLength());
    } else {
      int dataBytes = 0;
      if (status < 0x80) {  // running status: this byte is the first data byte
        if (!running) throw MediaError("the MIDI file holds a bad event");
        status = running;
        dataBytes = -1;
      }
      running = status;
      std::uint8_t kind = status & 0xF0;
      dataBytes += (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
      b.Skip(static_cast<std::size_t>(dataBytes));
    }
  }
  return tick;
}

}  // namespace

std::int64_t MidiDurationMs(std::string_view bytes) {
  Bytes b(Unwrap(bytes));
  if (b.Take(4) != "MThd") throw MediaError("not a MIDI file");
  std::uint32_t headerSize = b.BigEndian(4);
  if (headerSize < 6) throw MediaError("not a MIDI file");
  b.Skip(2);  // format
  std::uint32_t tracks = b.BigEndian(2);
  std::uint32_t division = b.BigEndian(2);
  b.Skip(headerSize - 6);
  std::map<std::uint64_t, std::uint32_t> tempos;
  std::uint64_t endTick = 0;
  for (std::uint32_t t = 0; t < tracks && !b.AtEnd(); ++t) {
    std::string_view id = b.Take(4);
    std::string_view data = b.Take(b.BigEndian(4));
    if (id == "MTrk") endTick = std::max(endTick, ReadTrack(data, tempos));
  }
  if (division & 0x8000) {  // SMPTE: frames a second and ticks a frame
    int fps = -static_cast<std::int8_t>(division >> 8);
    int ticksPerFrame = static_cast<int>(division & 0xFF);
    if (fps <= 0 || ticksPerFrame <= 0) throw MediaError("the MIDI file's timing is bad");
    return static_cast<std::int64_t>(endTick * 1000 /
                                     (static_cast<std::uint64_t>(fps) * ticksPerFrame));
  }
  if (division == 0) throw MediaError("the MIDI file's timing is bad");
  double us = 0;
  std::uint64_t tick = 0;
  std::uint32_t tempo = kDefaultTempo;
  for (const auto& [at, value] : tempos) {
    if (at >= endTick) break;
    us += static_cast<double>(at - tick) * tempo / division;
    tick = at;
    tempo = value;
  }
  us += static_cast<double>(endTick - tick) * tempo / division;
  return static_cast<std::int64_t>(us / 1000 + 0.5);
}

std::int64_t MediaDurationMs(const std::string& path) {
  MediaInput input(path);
  return input.DurationMs();
}

}  // namespace sl::av

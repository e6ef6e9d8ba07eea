// Sound fixtures made by the tests themselves: tones as float samples, 16-bit PCM wave files
// and small Standard MIDI Files, plus level measurements of decoded or mixed samples.
#pragma once

#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace sl::test {

constexpr double kPi = 3.14159265358979323846;

// `seconds` of a sine of `hz` at `amplitude`, interleaved over `channels` (the right channel,
// when there is one, at half the amplitude so that channels can be told apart).
inline std::vector<float> Tone(int rate, int channels, double seconds, double hz,
                               double amplitude = 0.5) {
  auto frames = static_cast<std::size_t>(std::lround(seconds * rate));
  std::vector<float> out;
  out.reserve(frames * static_cast<std::size_t>(channels));
  for (std::size_t i = 0; i < frames; ++i) {
    double v = amplitude * std::sin(2 * kPi * hz * static_cast<double>(i) / rate);
    for (int c = 0; c < channels; ++c)
      out.push_back(static_cast<float>(c == 0 ? v : v / 2));
  }
  return out;
}

inline void PutLe(std::string& s, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i)
    s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// A 16-bit PCM wave file of interleaved samples.
inline void WriteWav16(const std::string& path, int rate, int channels,
                       const std::vector<float>& samples) {
  std::string data;
  for (float v : samples) {
    auto s = static_cast<std::int16_t>(std::lround(std::fmax(-1.0f, std::fmin(1.0f, v)) * 32767));
    PutLe(data, static_cast<std::uint16_t>(s), 2);
  }
  std::string f = "RIFF";
  PutLe(f, static_cast<std::uint32_t>(36 + data.size()), 4);
  f += "WAVEfmt ";
  PutLe(f, 16, 4);
  PutLe(f, 1, 2);  // PCM
  PutLe(f, static_cast<std::uint32_t>(channels), 2);
  PutLe(f, static_cast<std::uint32_t>(rate), 4);
  PutLe(f, static_cast<std::uint32_t>(rate * channels * 2), 4);
  PutLe(f, static_cast<std::uint32_t>(channels * 2), 2);
  PutLe(f, 16, 2);
  f += "data";
  PutLe(f, static_cast<std::uint32_t>(data.size()), 4);
  f += data;
  std::ofstream(path, std::ios::binary) << f;
}

// A Standard MIDI File under construction: tracks of events with delta times.
class MidiWriter {
 public:
  explicit MidiWriter(int division = 480) : division_(division) {}

  // Starts a new track; events go to the last track started.
  void Track() { tracks_.emplace_back(); }
  void Event(std::uint32_t delta, std::initializer_list<std::uint8_t> bytes) {
    VarLen(delta);
    for (std::uint8_t b : bytes)
      tracks_.back().push_back(static_cast<char>(b));
  }
  void Tempo(std::uint32_t delta, std::uint32_t microsPerQuarter) {
    Event(delta, {0xFF, 0x51, 0x03, static_cast<std::uint8_t>(microsPerQuarter >> 16),
                  static_cast<std::uint8_t>(microsPerQuarter >> 8),
                  static_cast<std::uint8_t>(microsPerQuarter)});
  }
  void Note(std::uint32_t delta, int channel, int key, std::uint32_t length, int velocity = 100) {
    auto ch = static_cast<std::uint8_t>(channel);
    Event(delta, {static_cast<std::uint8_t>(0x90 | ch), static_cast<std::uint8_t>(key),
                  static_cast<std::uint8_t>(velocity)});
    Event(length, {static_cast<std::uint8_t>(0x80 | ch), static_cast<std::uint8_t>(key), 64});
  }
  void EndOfTrack(std::uint32_t delta = 0) { Event(delta, {0xFF, 0x2F, 0x00}); }

  std::string Bytes(int format = 1) const {
    std::string f = "MThd";
    PutBe(f, 6, 4);
    PutBe(f, static_cast<std::uint32_t>(format), 2);
    PutBe(f, static_cast<std::uint32_t>(tracks_.size()), 2);
    PutBe(f, static_cast<std::uint32_t>(division_), 2);
    for (const std::string& t : tracks_) {
      f += "MTrk";
      PutBe(f, static_cast<std::uint32_t>(t.size()), 4);
      f += t;
    }
    return f;
  }
  void Save(const std::string& path, int format = 1) const {
    std::ofstream(path, std::ios::binary) << Bytes(format);
  }

 private:
  static void PutBe(std::string& s, std::uint32_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
      s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  }
  void VarLen(std::uint32_t v) {
    char buf[5];
    int n = 0;
    buf[n++] = static_cast<char>(v & 0x7F);
    while (v >>= 7)
      buf[n++] = static_cast<char>(0x80 | (v & 0x7F));
    while (n > 0)
      tracks_.back().push_back(buf[--n]);
  }

  int division_;
  std::vector<std::string> tracks_;
};

// A tune of `notes` quarter notes at 120 beats a minute (half a second each) on a piano.
inline MidiWriter Melody(int notes) {
  MidiWriter m;
  m.Track();
  m.Tempo(0, 500000);
  m.Event(0, {0xC0, 0});
  for (int i = 0; i < notes; ++i)
    m.Note(0, 0, 60 + (i * 4) % 12, 480);
  m.EndOfTrack();
  return m;
}

// Root mean square of one channel of interleaved samples.
inline double Rms(const std::vector<float>& samples, int channels = 1, int channel = 0,
                  std::size_t from = 0, std::size_t to = SIZE_MAX) {
  double sum = 0;
  std::size_t n = 0;
  for (std::size_t i = from; i < samples.size() / static_cast<std::size_t>(channels) && i < to;
       ++i) {
    double v = samples[i * static_cast<std::size_t>(channels) + static_cast<std::size_t>(channel)];
    sum += v * v;
    ++n;
  }
  return n ? std::sqrt(sum / static_cast<double>(n)) : 0;
}

// The frequency of a tone in one channel, from its rising zero crossings.
inline double Frequency(const std::vector<float>& samples, int rate, int channels = 1,
                        int channel = 0) {
  std::size_t frames = samples.size() / static_cast<std::size_t>(channels);
  auto at = [&](std::size_t i) {
    return samples[i * static_cast<std::size_t>(channels) + static_cast<std::size_t>(channel)];
  };
  std::size_t first = 0, last = 0;
  int crossings = 0;
  for (std::size_t i = 1; i < frames; ++i) {
    if (at(i - 1) < 0 && at(i) >= 0) {
      if (crossings == 0) first = i;
      last = i;
      ++crossings;
    }
  }
  if (crossings < 2) return 0;
  return (crossings - 1) * static_cast<double>(rate) / static_cast<double>(last - first);
}

}  // namespace sl::test

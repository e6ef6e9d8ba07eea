// Decoding and mixing: seven looping sound files of the formats games use (wave at three widths
// and rates, ADPCM, MP3, WMA, Ogg Vorbis) and the demo's MIDI tune through FluidSynth, mixed
// into 44.1 kHz stereo in device-sized buffers. The counter `x_realtime` says how many seconds
// of sound one second of CPU makes (the aim is at least 100). Single formats and MIDI alone are
// measured too, to show where the time goes.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>

#include "../tests/support/sound_encoder.h"
#include "../tests/support/sound_fixtures.h"
#include "../tests/support/temp_folder.h"
#include "av/midi_synths.h"
#include "av/mixer.h"
#include "av/sound_file.h"

namespace {

constexpr int kRate = 44100;
constexpr int kBuffer = 1024;  // frames per device callback
constexpr double kSecondsMixed = 10;

struct Fixture {
  const char* name;
  const char* container;
  const char* codec;
  int rate;
  int channels;
};

constexpr Fixture kFixtures[] = {
    {"s16.wav", "wav", "pcm_s16le", 44100, 2},      {"u8.wav", "wav", "pcm_u8", 11025, 1},
    {"s16m.wav", "wav", "pcm_s16le", 22050, 1},     {"adpcm.wav", "wav", "adpcm_ms", 22050, 1},
    {"music.mp3", "mp3", "libmp3lame", 44100, 2},   {"voice.wma", "asf", "wmav2", 22050, 1},
    {"ambience.ogg", "ogg", "libvorbis", 44100, 2},
};

// Eight seconds of each fixture, made once.
class Files {
 public:
  static Files& Get() {
    static Files files;
    return files;
  }
  std::string Path(const std::string& name) const { return dir_ / name; }
  std::string Tune() const { return STORYLOOM_SOURCE_DIR "/examples/demo/Areas/Tune.mid"; }
  const std::string& Error() const { return error_; }

 private:
  Files() {
    for (const Fixture& f : kFixtures) {
      std::vector<float> tone = sl::test::Tone(f.rate, f.channels, 8.0, 330, 0.3);
      std::string why = sl::test::EncodeSoundFile(dir_ / f.name, f.container, f.codec, f.rate,
                                                  f.channels, tone, 128000);
      if (!why.empty()) error_ = std::string(f.name) + ": " + why;
    }
  }
  sl::test::TempFolder dir_;
  std::string error_;
};

std::shared_ptr<sl::av::MidiSynths> Synths() {
  static auto synths = std::make_shared<sl::av::MidiSynths>(sl::av::FindSoundFont(), kRate);
  return synths;
}

// Mixes kSecondsMixed of every voice; the sources are opened anew each time, as a game does.
void MixFor(benchmark::State& state, const std::vector<std::string>& paths) {
  if (!Files::Get().Error().empty()) {
    state.SkipWithError(Files::Get().Error().c_str());
    return;
  }
  std::vector<float> out(2 * kBuffer);
  for (auto _ : state) {
    sl::av::Mixer mixer({kRate, 2});
    for (const std::string& path : paths) {
      sl::av::OpenedSound s = sl::av::OpenSoundFile(path, Synths());
      if (!s.source) {
        state.SkipWithError((path + ": " + s.error).c_str());
        return;
      }
      mixer.Play(std::move(s.source), {.plays = 0, .gain = 0.3f});
    }
    for (int done = 0; done < kSecondsMixed * kRate; done += kBuffer)
      mixer.Mix(out.data(), kBuffer);
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["x_realtime"] = benchmark::Counter(
      kSecondsMixed * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_SevenPlayersAndMidi(benchmark::State& state) {
  std::vector<std::string> paths;
  for (const Fixture& f : kFixtures)
    paths.push_back(Files::Get().Path(f.name));
  paths.push_back(Files::Get().Tune());
  MixFor(state, paths);
}
BENCHMARK(BM_SevenPlayersAndMidi)->Unit(benchmark::kMillisecond);

void BM_SevenPlayers(benchmark::State& state) {
  std::vector<std::string> paths;
  for (const Fixture& f : kFixtures)
    paths.push_back(Files::Get().Path(f.name));
  MixFor(state, paths);
}
BENCHMARK(BM_SevenPlayers)->Unit(benchmark::kMillisecond);

void BM_MidiAlone(benchmark::State& state) {
  MixFor(state, {Files::Get().Tune()});
}
BENCHMARK(BM_MidiAlone)->Unit(benchmark::kMillisecond);

void BM_OneFormat(benchmark::State& state) {
  const Fixture& f = kFixtures[state.range(0)];
  state.SetLabel(f.name);
  MixFor(state, {Files::Get().Path(f.name)});
}
BENCHMARK(BM_OneFormat)->DenseRange(0, std::size(kFixtures) - 1)->Unit(benchmark::kMillisecond);

}  // namespace

// The desktop player with sound, on a private Xvfb with SDL's disk audio driver writing to
// /dev/null (the device is paced in real time as a sound card would be):
//   BM_DesktopCpuWhileMusicPlays: a generated game of one still frame (a plain colour, no
//     animation, no effect) whose music loops for 10 s: MIDI (argument 0) or a wave file (1);
//     the counter `cpu_percent` is the share of one core the whole program used (aim: under
//     3 %), `peak` the loudest sample the device then received (the music is not silent).
//   BM_ClickToSound: a click on a hotspot whose action plays a sound, to the first sound of it
//     handed to the device; `latency_ms` is that time, `device_buffer_ms` what the device's own
//     buffer adds before it is heard (aim: together under 50 ms).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "../tests/sdl/xvfb_display.h"
#include "../tests/support/cpu_time.h"
#include "../tests/support/sound_fixtures.h"
#include "../tests/support/temp_folder.h"
#include "../tests/ui/fake_platform.h"
#include "backend/sdl/sdl_platform.h"
#include "core/recording_message_box.h"
#include "player/player.h"

namespace {

using sl::test::CpuSeconds;

// A private display and a sound device that plays into nothing at the pace of a real one.
struct Desktop {
  Desktop() {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
  }
  bool Ready(benchmark::State& state) {
    if (!xvfb.Available()) {
      state.SkipWithError(xvfb.Reason().c_str());
      return false;
    }
    return true;
  }
  sl::test::XvfbDisplay xvfb;
};

enum class Music { Midi, Wave };

// A game of one frame, "Still", on a black background, whose music (in the areas folder)
// starts with the frame and repeats without end. Its project information is the sound
// fixture's, opening on this frame.
void WriteStillGame(const sl::test::TempFolder& dir, Music music) {
  std::ifstream in(STORYLOOM_SOURCE_DIR "/tests/projects/sound_game/Config/General");
  std::stringstream general;
  general << in.rdbuf();
  std::string info = general.str();
  info.replace(info.find("\"Quay\""), 6, "\"Still\"");
  dir.Write("Config/General", info);
  dir.Write("Config/Variables", "\"Vars\"\r\n\"***\"\r\n");
  std::string file = music == Music::Midi ? "music.mid" : "music.wav";
  dir.Write("Frames/Still.fme",
            "0,\"0\",#FALSE#\r\n#FALSE#,\"" + file +
                "\"\r\n#FALSE#,\"0\",\"\"\r\n\"\",0\r\n#FALSE#,#FALSE#,\"\"\r\n0,0,0\r\n"
                "#FALSE#,#FALSE#,0,0,0,0\r\n#TRUE#\r\n#FALSE#,0\r\n0\r\n#FALSE#,\"\"\r\n"
                "0,0,0,0,0,0\r\n\"0\",0\r\n5,0\r\n#FALSE#\r\n");
  dir.Write("Areas/.keep", "");
  if (music == Music::Midi) {
    sl::test::Melody(16).Save(dir / "Areas/music.mid");  // 8 s
  } else {
    sl::test::WriteWav16(dir / "Areas/music.wav", 44100, 2, sl::test::Tone(44100, 2, 3.0, 220));
  }
}

// Passes the mixer's output on to the device and notes when the first sound comes out and how
// loud it gets.
struct Probe {
  sl::av::Mixer* mixer = nullptr;
  std::atomic<std::int64_t> firstSoundNs{0};
  std::atomic<float> peak{0};
  static void Pull(void* self, float* out, int frames) {
    auto* p = static_cast<Probe*>(self);
    p->mixer->Mix(out, frames);
    float peak = p->peak;
    for (int i = 0; i < frames * p->mixer->Output().channels; ++i) {
      peak = std::max(peak, std::abs(out[i]));
      if (out[i] != 0 && p->firstSoundNs == 0) {
        p->firstSoundNs = std::chrono::steady_clock::now().time_since_epoch().count();
      }
    }
    p->peak = peak;
  }
};

void BM_DesktopCpuWhileMusicPlays(benchmark::State& state) {
  Desktop desktop;
  if (!desktop.Ready(state)) return;
  sl::test::TempFolder game;
  WriteStillGame(game, static_cast<Music>(state.range(0)));
  for (auto _ : state) {
    sl::ui::test::FakeSettings settings;
    sl::sdl::SdlPlatform platform(settings);
    sl::RecordingMessageBoxService boxes;
    sl::Player player(platform, boxes, game.Path());
    player.Start();
    // The fixture's project skips the title screen; were it shown, Start would open the game.
    if (!player.GetGame()) player.Title().ClickButton(0);
    sl::ui::EventLoop& loop = player.Windows().Loop();
    loop.Sleep(1000);  // settled
    double cpu = CpuSeconds();
    auto t0 = std::chrono::steady_clock::now();
    loop.Sleep(10000);
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    state.counters["cpu_percent"] = 100 * (CpuSeconds() - cpu) / wall;
    sl::Game* g = player.GetGame();
    if (!g || !g->Channels().PlayerOfChannel(sl::SoundChannels::kMusicChannel).Playing()) {
      state.SkipWithError("the music did not play");
      break;
    }
    // What the device received was music, not silence.
    Probe probe;
    probe.mixer = player.Sound().Mixer();
    sl::ui::AudioOutput* audio = platform.Audio();
    if (!probe.mixer || !audio) {
      state.SkipWithError("no sound device");
      break;
    }
    audio->Start(&Probe::Pull, &probe);
    loop.Sleep(500);
    audio->Stop();
    state.counters["peak"] = probe.peak.load();
    if (probe.peak < 0.01f) state.SkipWithError("the music was silent");
  }
}
BENCHMARK(BM_DesktopCpuWhileMusicPlays)
    ->ArgName("wave")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

void BM_ClickToSound(benchmark::State& state) {
  Desktop desktop;
  if (!desktop.Ready(state)) return;
  sl::ui::test::FakeSettings settings;
  sl::sdl::SdlPlatform platform(settings);
  sl::RecordingMessageBoxService boxes;
  // One frame whose first hotspot plays a short wave file on the hotspot-sound player.
  sl::Player player(platform, boxes, STORYLOOM_SOURCE_DIR "/tests/projects/sound_game");
  player.Start();
  sl::ui::EventLoop& loop = player.Windows().Loop();
  sl::av::Mixer* mixer = player.Sound().Mixer();  // the device is open, as after a first sound
  sl::ui::AudioOutput* audio = platform.Audio();
  if (!mixer || !audio) {
    state.SkipWithError("no sound device");
    return;
  }
  Probe probe;
  probe.mixer = mixer;
  audio->Start(&Probe::Pull, &probe);
  loop.Sleep(200);
  double total = 0;
  for (auto _ : state) {
    player.GetGame()->Channels().StopAllSounds();
    loop.Sleep(100);  // the stopped sound has faded out
    probe.firstSoundNs = 0;
    // A click on the hotspot, as the event script's "control Area(1)" makes it.
    sl::ui::InputEvent click;
    click.kind = sl::ui::InputKind::ControlAction;
    click.target = "Area(1)";
    auto t0 = std::chrono::steady_clock::now();
    player.Windows().HandleInput(click);
    while (probe.firstSoundNs == 0 &&
           std::chrono::steady_clock::now() - t0 < std::chrono::seconds(2))
      loop.DoEventsWait(loop.NowMs() + 1);
    if (probe.firstSoundNs == 0) {
      state.SkipWithError("the click made no sound");
      break;
    }
    total += static_cast<double>(probe.firstSoundNs - t0.time_since_epoch().count()) / 1e6;
  }
  audio->Stop();
  state.counters["latency_ms"] = total / static_cast<double>(state.iterations());
  state.counters["device_buffer_ms"] = 1000.0 * 1024 / audio->SampleRate();
}
BENCHMARK(BM_ClickToSound)->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace

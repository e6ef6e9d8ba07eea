// The desktop player with sound, on a private Xvfb with SDL's disk audio driver writing to
// /dev/null (the device is paced in real time as a sound card would be):
//   BM_DesktopCpuWhileMusicPlays: the demo's harbour with its sea loop playing for 10 s; the
//     counter `cpu_percent` is the share of one core the whole program used (aim: under 3 %).
//   BM_ClickToSound: a click on a hotspot whose action plays a sound, to the first sound of it
//     handed to the device; `latency_ms` is that time, `device_buffer_ms` what the device's own
//     buffer adds before it is heard (aim: together under 50 ms).
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdlib>

#include "../tests/sdl/xvfb_display.h"
#include "../tests/support/cpu_time.h"
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

void BM_DesktopCpuWhileMusicPlays(benchmark::State& state) {
  Desktop desktop;
  if (!desktop.Ready(state)) return;
  for (auto _ : state) {
    sl::ui::test::FakeSettings settings;
    sl::sdl::SdlPlatform platform(settings);
    sl::RecordingMessageBoxService boxes;
    sl::Player player(platform, boxes, STORYLOOM_SOURCE_DIR "/examples/demo");
    player.Start();
    player.Title().ClickButton(0);  // the harbour: the sea loop plays
    sl::ui::EventLoop& loop = player.Windows().Loop();
    loop.Sleep(1000);  // settled
    double cpu = CpuSeconds();
    auto t0 = std::chrono::steady_clock::now();
    loop.Sleep(10000);
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    state.counters["cpu_percent"] = 100 * (CpuSeconds() - cpu) / wall;
    if (!player.GetGame()->MPlayer()(6).Playing()) state.SkipWithError("the sea did not play");
  }
}
BENCHMARK(BM_DesktopCpuWhileMusicPlays)->Iterations(1)->Unit(benchmark::kSecond);

// Passes the mixer's output on to the device and notes when the first sound comes out.
struct Probe {
  sl::av::Mixer* mixer = nullptr;
  std::atomic<std::int64_t> firstSoundNs{0};
  static void Pull(void* self, float* out, int frames) {
    auto* p = static_cast<Probe*>(self);
    p->mixer->Mix(out, frames);
    for (int i = 0; i < frames * p->mixer->Output().channels; ++i) {
      if (out[i] != 0 && p->firstSoundNs == 0) {
        p->firstSoundNs = std::chrono::steady_clock::now().time_since_epoch().count();
        break;
      }
    }
  }
};

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

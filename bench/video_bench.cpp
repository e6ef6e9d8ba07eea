// Video playback costs. DecodeAndScale: decoding every picture of a 640 x 480 video of 4 s at
// 15 pictures a second and converting each to RGBA at its own size and stretched to 800 x 600,
// on one core, per codec; the `x_real_time` counter says how many times faster than real time
// that is. DesktopCpu: the share of a core the program uses while such a video plays at its
// own speed in a window of the desktop (needs a display; run under xvfb-run on a machine
// without one).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "av/video_decoder.h"
#ifndef STORYLOOM_NO_SDL
#include "backend/sdl/sdl_platform.h"
#endif
#include "player/media/mci_interpreter.h"
#include "support/temp_folder.h"
#include "support/test_video.h"
#include "ui/controls/picture_box.h"
#include "ui/fake_platform.h"
#include "ui/form.h"
#include "ui/window_manager.h"

namespace sl {
namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kFps = 15;
constexpr int kFrames = 60;

// A moving scene: bands of colour sliding right, a square crossing down.
test::Rgb Scene(int k, int x, int y) {
  auto band = static_cast<std::uint8_t>(((x + 6 * k) / 40) * 37);
  bool square = x > 200 + 2 * k && x < 300 + 2 * k && y > 5 * k && y < 5 * k + 100;
  if (square) return {250, 240, 40};
  return {band, static_cast<std::uint8_t>(y / 2), static_cast<std::uint8_t>(255 - band)};
}

// The videos written for a run, removed at its end.
struct VideoFiles {
  sl::test::TempFolder folder;
  std::map<std::string, std::string> byCodec;
};

// The video of a codec, written once per run into the temporary folder.
const std::string& VideoFile(const std::string& codec) {
  static VideoFiles videos;
  std::map<std::string, std::string>& files = videos.byCodec;
  auto it = files.find(codec);
  if (it != files.end()) return it->second;
  std::string path = videos.folder / ("storyloom-bench-" + codec + ".avi");
  test::TestVideo v;
  v.width = kWidth;
  v.height = kHeight;
  v.fps = kFps;
  v.frames = kFrames;
  v.codec = codec;
  v.pixel = Scene;
  test::WriteTestVideo(path, v);
  return files[codec] = path;
}

void DecodeAndScale(benchmark::State& state, const std::string& codec, int outWidth,
                    int outHeight) {
  const std::string& file = VideoFile(codec);
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(outWidth) * outHeight * 4);
  std::int64_t pictures = 0;
  for (auto _ : state) {
    av::VideoDecoder video(file);
    for (;;) {
      video.ConvertFrame(rgba.data(), outWidth * 4, outWidth, outHeight);
      ++pictures;
      std::optional<std::int64_t> next = video.NextFrameMs();
      if (!next) break;
      video.AdvanceTo(*next);
    }
    benchmark::DoNotOptimize(rgba.data());
  }
  state.SetItemsProcessed(pictures);
  double videoSeconds = static_cast<double>(kFrames) / kFps;
  state.counters["x_real_time"] = benchmark::Counter(
      videoSeconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_DecodeAndScale(benchmark::State& state, const char* codec) {
  DecodeAndScale(state, codec, kWidth, kHeight);
}
void BM_DecodeAndStretch(benchmark::State& state, const char* codec) {
  DecodeAndScale(state, codec, 800, 600);
}
BENCHMARK_CAPTURE(BM_DecodeAndScale, mpeg4, "mpeg4")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DecodeAndScale, msvideo1, "msvideo1")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DecodeAndScale, mjpeg, "mjpeg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DecodeAndScale, wmv2, "wmv2")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DecodeAndStretch, mpeg4, "mpeg4")->Unit(benchmark::kMillisecond);

#ifndef STORYLOOM_NO_SDL
double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Plays the MPEG-4 video at its own speed in a 640 x 480 window: decoding on the clock,
// composing the window and presenting it, as the game does.
void BM_DesktopCpu(benchmark::State& state) {
  std::string why;
  if (!sdl::DesktopAvailable(why)) {
    state.SkipWithError(("no desktop: " + why).c_str());
    return;
  }
  const std::string& file = VideoFile("mpeg4");
  ui::test::FakeSettings settings;
  sdl::SdlPlatform platform(settings);
  ui::WindowManager windows(platform);
  ui::EventLoop& loop = windows.Loop();
  Ref<ui::Form> form = ui::Form::Create(windows, "Game");
  form->SetBorderStyle(ui::BorderStyle::None);
  form->Move(0, 0, kWidth * 15, kHeight * 15);
  auto& box = form->Add<ui::PictureBox>("PictureBox");
  box.SetBorderStyle(0);
  box.Move(0, 0, kWidth * 15, kHeight * 15);
  form->Show(false);
  loop.Sleep(500);  // the window appears
  MciInterpreter mci(
      loop, [](const std::string& p) { return std::optional<std::string>(p); }, VideoPacing::Live);
  double cpu = 0;
  double wall = 0;
  for (auto _ : state) {
    mci.SendString("Open \"" + file + "\" ALIAS 1 TYPE AviVideo wait parent " +
                   std::to_string(mci.WindowHandle(box)) + " style child");
    double cpu0 = CpuSeconds();
    std::int64_t t0 = loop.NowMs();
    mci.SendString("play 1 window");
    loop.RunUntil([&] { return mci.SendString("Status 1 mode") != "playing"; });
    cpu += CpuSeconds() - cpu0;
    wall += static_cast<double>(loop.NowMs() - t0) / 1000;
    mci.SendString("Close 1");
  }
  state.counters["cpu_share_percent"] = 100 * cpu / wall;
}
BENCHMARK(BM_DesktopCpu)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();
#endif

}  // namespace
}  // namespace sl

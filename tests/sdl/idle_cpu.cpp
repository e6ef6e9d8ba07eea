// Measures the CPU time the desktop costs while the program waits: 10 seconds of an idle window,
// 10 seconds with a 100 ms timer, then 10 seconds with a 100 ms timer that repaints a small part
// of the window on every tick (a presented frame each time).
// Prints user + system time and the share of one core for each. Run it on a display (for
// example under xvfb-run -s "-screen 0 1280x1024x24"); optional argument: seconds per phase.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "backend/sdl/sdl_platform.h"
#include "support/cpu_time.h"
#include "ui/draw/surface.h"
#include "ui/event_loop.h"
#include "ui/fake_platform.h"
#include "ui/timer.h"

namespace {

using sl::test::CpuSeconds;

struct Phase {
  double cpu;
  double wall;
  std::int64_t sleeps;
};

Phase Measure(sl::sdl::SdlPlatform& platform, sl::ui::EventLoop& loop, std::int64_t ms) {
  double cpu0 = CpuSeconds();
  std::int64_t t0 = loop.NowMs();
  std::int64_t s0 = platform.SleepCount();
  loop.Sleep(ms);
  return {CpuSeconds() - cpu0, static_cast<double>(loop.NowMs() - t0) / 1000,
          platform.SleepCount() - s0};
}

void Report(const char* what, const Phase& p, std::int64_t ticks) {
  std::printf("%-28s cpu %.3f s over %.1f s = %.3f%% of a core, %lld sleeps, %lld ticks\n", what,
              p.cpu, p.wall, 100.0 * p.cpu / p.wall, static_cast<long long>(p.sleeps),
              static_cast<long long>(ticks));
}

}  // namespace

int main(int argc, char** argv) {
  std::int64_t ms = argc > 1 ? std::atoll(argv[1]) * 1000 : 10000;
  std::string why;
  if (!sl::sdl::DesktopAvailable(why)) {
    std::fprintf(stderr, "sdl_idle_cpu: %s\n", why.c_str());
    return 1;
  }
  sl::ui::test::FakeSettings settings;
  sl::sdl::SdlPlatform platform(settings);
  sl::ui::EventLoop loop(platform);
  sl::ui::WindowSpec spec;
  spec.name = "frmWelcome";
  spec.title = "Idle";
  spec.left = 312;
  spec.top = 234;
  spec.width = 400;
  spec.height = 300;
  spec.frame = sl::ui::WindowFrame::None;
  spec.topMost = true;
  sl::ui::WindowId window = platform.CreateWindow(spec);
  sl::draw::Surface frame(400, 300, sl::draw::OpaquePixel(30, 60, 90));
  auto present = [&] {
    platform.Present(window,
                     {reinterpret_cast<const std::uint8_t*>(frame.Row(0)), 400, 300, 400 * 4, 0});
  };
  present();
  platform.ShowWindow(window, true);
  loop.Sleep(500);  // let the window appear

  Report("idle window", Measure(platform, loop, ms), 0);

  sl::ui::Timer timer(loop);
  timer.SetHandler([] {});
  timer.SetInterval(100);
  timer.SetEnabled(true);
  Phase quiet = Measure(platform, loop, ms);
  Report("100 ms timer", quiet, timer.TickCount());

  timer.SetEnabled(false);
  int n = 0;
  timer.SetHandler([&] {
    frame.FillRect({(n++ % 40) * 10, 0, 10, 10}, sl::draw::OpaquePixel(200, 200, 0));
    present();
  });
  timer.SetInterval(100);
  timer.SetEnabled(true);
  std::int64_t ticks0 = timer.TickCount();
  Phase p = Measure(platform, loop, ms);
  Report("100 ms timer, repainting", p, timer.TickCount() - ticks0);
  return 0;
}

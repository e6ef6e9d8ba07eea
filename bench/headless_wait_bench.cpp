// A headless run that lets 10 virtual minutes pass with a 100 ms timer ticking: the cost of the
// virtual clock's waits (6000 ticks), which must stay far below a second of CPU.
#include <benchmark/benchmark.h>

#include <optional>
#include <string>

#include "backend/headless/headless_platform.h"
#include "ui/event_loop.h"
#include "ui/timer.h"

namespace {

class NoSettings final : public sl::ui::UserSettings {
 public:
  std::optional<std::string> Get(std::string_view, std::string_view, std::string_view) override {
    return std::nullopt;
  }
  void Save(std::string_view, std::string_view, std::string_view, std::string_view) override {}
  void Delete(std::string_view, std::string_view, std::string_view) override {}
};

class QuitClient final : public sl::ui::EventLoop::Client {
 public:
  explicit QuitClient(sl::ui::EventLoop& loop) : loop_(loop) {}
  void HandleInput(const sl::ui::InputEvent& e) override {
    if (e.kind == sl::ui::InputKind::Quit) loop_.RequestQuit();
  }
  void Repaint() override {}

 private:
  sl::ui::EventLoop& loop_;
};

void BM_TenVirtualMinutesWithA100msTimer(benchmark::State& state) {
  auto script = sl::ParseEventScript("wait 600000\n", "bench");
  std::int64_t ticks = 0;
  for (auto _ : state) {
    sl::Trace trace;
    NoSettings settings;
    sl::HeadlessPlatform platform(trace, settings);
    platform.SetScript(script, "bench");
    sl::ui::EventLoop loop(platform);
    QuitClient client(loop);
    loop.SetClient(&client);
    sl::ui::Timer timer(loop);
    timer.SetInterval(100);
    timer.SetEnabled(true);
    loop.RunUntil([] { return false; });
    ticks = timer.TickCount();
    loop.SetClient(nullptr);
  }
  state.counters["ticks"] = static_cast<double>(ticks);
}
BENCHMARK(BM_TenVirtualMinutesWithA100msTimer)->Unit(benchmark::kMillisecond);

}  // namespace

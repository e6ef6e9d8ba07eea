// Composing a game-sized form: a 1024 x 768 form with a stretched background picture, 100
// images (a third of them with transparent parts, as transparent GIFs have) and 50 transparent
// labels. Reports composites per second on one core.
#include <benchmark/benchmark.h>

#include <string>

#include "core/clock.h"
#include "ui/controls/image.h"
#include "ui/controls/label.h"
#include "ui/form.h"
#include "ui/platform.h"
#include "ui/window_manager.h"

namespace sl::ui {
namespace {

class NullPlatform final : public Platform {
 public:
  Clock& GetClock() override { return clock_; }
  Size DisplaySize() const override { return {1024, 768}; }
  bool SetDisplaySize(Size) override { return false; }
  WindowId CreateWindow(const WindowSpec&) override { return ++next_; }
  void DestroyWindow(WindowId) override {}
  void ShowWindow(WindowId, bool) override {}
  void UpdateWindow(WindowId, const WindowSpec&) override {}
  void ActivateWindow(WindowId) override {}
  void Present(WindowId, const FrameView&) override {}
  bool PollEvent(InputEvent&) override { return false; }
  void WaitEvent(std::int64_t) override {}
  void SetCursor(int, const CursorImage*) override {}
  AudioOutput* Audio() override { return nullptr; }
  UserSettings& Settings() override { std::abort(); }
  bool ShellOpen(std::string_view, std::string_view) override { return false; }
  std::unique_ptr<ChildProcess> StartProgram(std::string_view) override { return nullptr; }

 private:
  VirtualClock clock_{CivilTime{2004, 3, 7, 12, 0, 0, 0}};
  WindowId next_ = 0;
};

draw::Picture Gradient(int w, int h, bool transparentHoles) {
  draw::Surface s(w, h);
  for (int y = 0; y < h; ++y) {
    draw::Pixel* row = s.MutableRow(y);
    for (int x = 0; x < w; ++x) {
      bool hole = transparentHoles && ((x / 4 + y / 4) % 3 == 0);
      row[x] = hole ? draw::kTransparent
                    : draw::OpaquePixel(static_cast<std::uint8_t>(x * 255 / w),
                                        static_cast<std::uint8_t>(y * 255 / h), 90);
    }
  }
  s.UpdateOpacity();
  return draw::Picture(std::move(s));
}

void BM_ComposeGameForm(benchmark::State& state) {
  NullPlatform platform;
  WindowManager wm(platform);
  Ref<Form> form = Form::Create(wm, "Game");
  form->SetBorderStyle(BorderStyle::None);
  form->Move(0, 0, 1024 * 15, 768 * 15);
  auto& back = form->Add<Image>("Background");
  back.SetStretch(true);
  back.Move(0, 0, 1024 * 15, 768 * 15);
  back.SetPicture(Gradient(640, 480, false));
  draw::Picture opaque = Gradient(48, 48, false), holes = Gradient(64, 40, true);
  for (int i = 0; i < 100; ++i) {
    auto& img = form->Add<Image>("Area" + std::to_string(i));
    img.Move((i % 10) * 100 * 15.0, (i / 10) * 75 * 15.0, 0, 0);
    img.SetPicture(i % 3 == 0 ? holes : opaque);
  }
  for (int i = 0; i < 50; ++i) {
    auto& l = form->Add<Label>("Text" + std::to_string(i));
    l.SetBackStyle(0);
    l.SetForeColor(0xFFFFFF);
    l.Move((i % 5) * 200 * 15.0, (i / 5) * 76 * 15.0 + 600, 180 * 15.0, 40 * 15.0);
    l.SetCaption("The keeper's key lies under stone " + std::to_string(i));
  }
  form->Show();
  for (auto _ : state) {
    form->MarkDirty();
    benchmark::DoNotOptimize(wm.Compose(*form).Row(0));
  }
  state.counters["composites/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  form->Unload();
  wm.RemoveForm(form.get());
}
BENCHMARK(BM_ComposeGameForm)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sl::ui

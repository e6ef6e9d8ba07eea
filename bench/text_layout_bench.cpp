// Texts of any length: wrapping a caption of short words (every word on one line, long lines,
// short lines), and composing a form with a label of a million characters or of 100,000 lines,
// of which only what shows is drawn.
#include <benchmark/benchmark.h>

#include "../tests/ui/fake_platform.h"
#include "ui/controls/label.h"
#include "ui/draw/font.h"
#include "ui/draw/text_layout.h"
#include "ui/form.h"
#include "ui/window_manager.h"

namespace {

std::string ShortWords(std::size_t bytes) {
  std::string text;
  for (int i = 0; text.size() < bytes; ++i)
    text += i % 7 ? "ab " : "word ";
  return text;
}

void BM_WrapShortWords(benchmark::State& state) {
  sl::draw::FontSystem fonts;
  sl::draw::Font font = fonts.Get(sl::draw::FontSpec{});
  std::string text = ShortWords(static_cast<std::size_t>(state.range(0)));
  int width = static_cast<int>(state.range(1));
  for (auto _ : state)
    benchmark::DoNotOptimize(sl::draw::LayoutText(font, text, {width}));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_WrapShortWords)
    ->Args({20000, 1 << 30})
    ->Args({20000, 2000})
    ->Args({20000, 100})
    ->Args({1000000, 1 << 30})
    ->Unit(benchmark::kMillisecond);

// A label sized to a caption of `range(0)` bytes of text, in lines of `range(1)` bytes, set and
// composed into a 640 x 480 form.
void BM_ComposeHugeLabel(benchmark::State& state) {
  sl::ui::test::FakePlatform platform;
  sl::ui::WindowManager wm(platform);
  sl::Ref<sl::ui::Form> form = sl::ui::Form::Create(wm, "frmBench");
  form->Move(0, 0, 640 * 15, 480 * 15);
  form->Show();
  auto& label = form->Add<sl::ui::Label>("Huge");
  label.SetAutoSize(true);
  std::string text;
  auto line = static_cast<std::size_t>(state.range(1));
  while (text.size() < static_cast<std::size_t>(state.range(0))) {
    text += ShortWords(line);
    text += "\r\n";
  }
  int round = 0;
  for (auto _ : state) {
    label.SetCaption(text + std::to_string(round++ % 2));
    benchmark::DoNotOptimize(wm.Compose(*form).Width());
  }
  form->Unload();
  wm.RemoveForm(form.get());
}
BENCHMARK(BM_ComposeHugeLabel)
    ->Args({1000000, 1000000})
    ->Args({2000000, 18})
    ->Unit(benchmark::kMillisecond);

}  // namespace

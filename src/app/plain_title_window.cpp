// The plain title window (see plain_title_window.h).
#include "app/plain_title_window.h"

#include <vector>

namespace sl {

PlainTitleWindow::PlainTitleWindow(ui::Platform& platform, const std::string& gameTitle)
    : platform_(platform) {
  ui::Size display = platform.DisplaySize();
  ui::WindowSpec spec;
  spec.name = "frmWelcome";
  spec.title = gameTitle;
  spec.width = kWidth;
  spec.height = kHeight;
  spec.left = (display.width - kWidth) / 2;
  spec.top = (display.height - kHeight) / 2;
  spec.frame = ui::WindowFrame::Fixed;
  window_ = platform.CreateWindow(spec);
  platform.ShowWindow(window_, true);
  platform.ActivateWindow(window_);

  // The classic face colour of a form, opaque.
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kWidth) * kHeight * 4);
  for (std::size_t i = 0; i < pixels.size(); i += 4) {
    pixels[i] = pixels[i + 1] = pixels[i + 2] = 0xC0;
    pixels[i + 3] = 0xFF;
  }
  platform.Present(window_, {pixels.data(), kWidth, kHeight, kWidth * 4, 0});
}

PlainTitleWindow::~PlainTitleWindow() {
  platform_.DestroyWindow(window_);
}

}  // namespace sl

// The title window as a plain window with the game's title as its caption, shown while the
// program runs: the stand-in until the real title window with its scheme and buttons.
#pragma once

#include <string>

#include "ui/platform.h"

namespace sl {

class PlainTitleWindow {
 public:
  PlainTitleWindow(ui::Platform& platform, const std::string& gameTitle);
  ~PlainTitleWindow();
  PlainTitleWindow(const PlainTitleWindow&) = delete;
  PlainTitleWindow& operator=(const PlainTitleWindow&) = delete;

  static constexpr int kWidth = 480;
  static constexpr int kHeight = 360;

 private:
  ui::Platform& platform_;
  ui::WindowId window_ = 0;
};

}  // namespace sl

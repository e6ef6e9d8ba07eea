// The title window as a plain form: the game's title as caption and as a centred label, shown
// while the program runs. The stand-in until the real title window with its scheme and buttons.
#pragma once

#include <string>

#include "core/ref_counted.h"
#include "ui/form.h"
#include "ui/window_manager.h"

namespace sl {

class PlainTitleWindow {
 public:
  PlainTitleWindow(ui::WindowManager& windows, const std::string& gameTitle);
  ~PlainTitleWindow();
  PlainTitleWindow(const PlainTitleWindow&) = delete;
  PlainTitleWindow& operator=(const PlainTitleWindow&) = delete;

  void Show() { form_->Show(); }

  static constexpr int kWidthPixels = 480;
  static constexpr int kHeightPixels = 360;

 private:
  ui::WindowManager& windows_;
  Ref<ui::Form> form_;
};

}  // namespace sl

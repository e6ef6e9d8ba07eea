// Switching and restoring the virtual display size.
#include "player/display/resolutions.h"

#include "core/message_box.h"
#include "core/runtime_error.h"
#include "player/startup/interface_texts.h"
#include "ui/event_loop.h"
#include "ui/platform.h"

namespace sl {

ResolutionSize ResolutionOfCode(int code) {
  switch (code) {
    case 1:
      return {640, 480};
    case 2:
      return {800, 600};
    case 3:
      return {1024, 768};
    default:
      return {};
  }
}

Resolutions::Resolutions(ui::Platform& platform, ui::EventLoop& loop, MessageBoxService& messages,
                         const InterfaceTexts& texts)
    : platform_(platform), loop_(loop), messages_(messages), texts_(texts) {}

std::int32_t Resolutions::ScreenWidth() const {
  return platform_.DisplaySize().width;
}
std::int32_t Resolutions::ScreenHeight() const {
  return platform_.DisplaySize().height;
}

void Resolutions::SaveDisplayMode() {
  savedWidth_ = ScreenWidth();
  savedHeight_ = ScreenHeight();
}

bool Resolutions::ApplyDisplayMode(std::int32_t width, std::int32_t height,
                                   bool /*withFrequency*/) {
  // The virtual display has no refresh rate of its own: restoring the size
  // restores everything.
  loop_.DoEvents();
  bool changed = platform_.SetDisplaySize({width, height});
  loop_.DoEvents();
  if (!changed) {
    MessageBoxRequest box;
    box.title = texts_[29];
    box.text = texts_.ErrorLead() + " Unable to change display resolution. Mode not supported.";
    box.icon = MsgIcon::Critical;
    messages_.Show(box);
  }
  return changed;
}

void Resolutions::ChangeResolutionTo(int code) {
  ResolutionSize target = ResolutionOfCode(code);
  if (target.width == 0) return;
  try {
    // Only the width is compared, as the classic player does.
    if (ScreenWidth() == target.width) return;
    ApplyDisplayMode(target.width, target.height, false);
    loop_.Sleep(1000);
    if (recenter_) recenter_();
  } catch (const RuntimeError& e) {
    MessageBoxRequest box;
    box.title = texts_[29];
    box.text = texts_.ErrorLead() + " Error changing display resolution. " + e.Description();
    box.icon = MsgIcon::Critical;
    messages_.Show(box);
  }
}

void Resolutions::RestoreDisplayMode() {
  if (savedWidth_ <= 0 || savedHeight_ <= 0) return;
  if (ScreenWidth() != savedWidth_ || ScreenHeight() != savedHeight_) {
    ApplyDisplayMode(savedWidth_, savedHeight_, true);
  }
}

}  // namespace sl

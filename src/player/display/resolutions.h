// The display resolution: the size of the (virtual) display that the game sees, switched to the
// project's size when the game asks for it and restored when the game window closes. The real
// display mode of the user's screen is never changed; the desktop backend scales the virtual
// display onto it. Also the start-up font check: the player draws every font itself at 96 DPI,
// so the system's large-fonts setting does not apply and the check always answers "small".
//
// API:
//   Resolutions res(platform, messages, texts);
//   res.SaveDisplayMode();              // at start-up
//   res.ChangeResolutionTo(2);          // 1 = 640x480, 2 = 800x600, 3 = 1024x768
//   res.ScreenWidth(), res.ScreenHeight()
//   res.RestoreDisplayMode();           // at exit: only when the size differs from the saved one
#pragma once

#include <cstdint>
#include <functional>

#include "player/startup/startup_hooks.h"

namespace sl {

class InterfaceTexts;
class MessageBoxService;
namespace ui {
class Platform;
class EventLoop;
}  // namespace ui

class Resolutions final : public DisplayChecks {
 public:
  Resolutions(ui::Platform& platform, ui::EventLoop& loop, MessageBoxService& messages,
              const InterfaceTexts& texts);

  std::int32_t ScreenWidth() const;
  std::int32_t ScreenHeight() const;

  void SaveDisplayMode();
  // Changes the display; an unsupported size is reported. Returns whether it changed.
  bool ApplyDisplayMode(std::int32_t width, std::int32_t height, bool withFrequency);
  void ChangeResolutionTo(int code);
  void RestoreDisplayMode();
  static bool IsSmallFonts() { return true; }

  // Re-centres the game window after a switch (set by the game window while it is loaded).
  void SetRecenter(std::function<void()> recenter) { recenter_ = std::move(recenter); }

  std::int32_t SavedScreenWidth() const noexcept { return savedWidth_; }
  std::int32_t SavedScreenHeight() const noexcept { return savedHeight_; }

  // DisplayChecks
  void RecordDisplaySettings() override { SaveDisplayMode(); }
  bool UsesLargeFonts() override { return !IsSmallFonts(); }

 private:
  ui::Platform& platform_;
  ui::EventLoop& loop_;
  MessageBoxService& messages_;
  const InterfaceTexts& texts_;
  std::function<void()> recenter_;
  std::int32_t savedWidth_ = 0;
  std::int32_t savedHeight_ = 0;
};

// Width and height of a resolution code; {0, 0} for codes other than 1, 2, 3.
struct ResolutionSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
};
ResolutionSize ResolutionOfCode(int code);

}  // namespace sl

// The desktop Platform over SDL2: every window of the runtime is a real window, its finished
// frames shown scaled (aspect kept, whole-number factors where they fit, sharp pixels,
// letterboxed); the virtual display the game sees is laid onto the real desktop, never changing
// the real display mode; input comes back in classic codes and in frame pixels; waiting sleeps in
// SDL_WaitEventTimeout until the next event or deadline.
//
// Window behaviour: a borderless window covering the whole virtual display is shown full screen;
// Alt+Enter and F11 toggle full screen for the window that has the keyboard, F12 saves a
// screenshot of it and tells the runtime where it went (InputKind::Notice); none of these keys
// reaches the program. A topMost window stays above the others; while a modal window is shown,
// the other windows take no input and the modal one is raised when they are clicked; a window can
// be dragged by its body through BeginWindowDrag; a window the user moved is reported back
// (InputKind::WindowMoved) so the runtime's position follows it.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "backend/sdl/desktop_shell.h"
#include "backend/sdl/presentation.h"
#include "backend/sdl/sdl_cursors.h"
#include "core/clock.h"
#include "ui/draw/surface.h"
#include "ui/platform.h"

union SDL_Event;
struct SDL_KeyboardEvent;

namespace sl::sdl {

class SdlAudio;

struct SdlOptions {
  ui::Size display{1024, 768};  // the virtual display the game sees
  // The game window (the window named kGameWindowName) in full screen or a window whatever
  // its frame asks for; nullopt: as its frame asks (borderless covering the display: full).
  std::optional<bool> gameFullscreen{};
  ui::ScaleMode scale = ui::ScaleMode::Auto;
  // Told when the person playing switches the game window with Alt+Enter or F11.
  std::function<void(bool fullscreen)> fullscreenChosen{};
};

// The window whose full-screen state is the person playing's choice.
constexpr const char* kGameWindowName = "Game";

// Whether a desktop can be opened at all; when not, `why` says what is missing.
bool DesktopAvailable(std::string& why);

class SdlPlatform final : public ui::Platform {
 public:
  // Opens the desktop; throws std::runtime_error saying why when it cannot. `settings` must
  // outlive the platform.
  SdlPlatform(ui::UserSettings& settings, const SdlOptions& options = {});
  ~SdlPlatform() override;
  SdlPlatform(const SdlPlatform&) = delete;
  SdlPlatform& operator=(const SdlPlatform&) = delete;

  Clock& GetClock() override { return clock_; }
  ui::Size DisplaySize() const override { return display_; }
  bool SetDisplaySize(ui::Size size) override;
  // Paced by the refresh rate of the desktop's first display.
  std::int64_t NextRefreshMs(std::int64_t afterMs) override;

  ui::WindowId CreateWindow(const ui::WindowSpec& spec) override;
  void DestroyWindow(ui::WindowId window) override;
  void ShowWindow(ui::WindowId window, bool shown) override;
  void UpdateWindow(ui::WindowId window, const ui::WindowSpec& spec) override;
  void ActivateWindow(ui::WindowId window) override;
  void BeginWindowDrag(ui::WindowId window) override;
  void Present(ui::WindowId window, const ui::FrameView& frame) override;

  bool PollEvent(ui::InputEvent& event) override;
  void WaitEvent(std::int64_t deadlineMs) override;

  void SetCursor(int pointer, const ui::CursorImage* custom) override;
  ui::AudioOutput* Audio() override;
  ui::UserSettings& Settings() override { return settings_; }

  bool ShellOpen(std::string_view verb, std::string_view target) override;
  std::unique_ptr<ui::ChildProcess> StartProgram(std::string_view path) override;

  // ---- Beyond the Platform interface: tests, measurements, the command line ----
  // Renders the window's last frame again and reads the pixels shown in its drawable back;
  // empty when the window is unknown or has no frame yet.
  draw::Surface ReadBack(ui::WindowId window);
  // Where the last frame of a window was shown inside its drawable.
  Placement PlacementOf(ui::WindowId window) const;
  bool IsFullscreen(ui::WindowId window) const;
  // Switches a window between full screen and its window, as Alt+Enter does.
  void ToggleFullscreen(ui::WindowId window);
  // SDL's id of a window (for tests that push SDL events); 0 when unknown.
  std::uint32_t NativeId(ui::WindowId window) const;
  // How the virtual display lies on the real desktop.
  const DesktopMapping& Desktop() const { return desktop_; }
  // How often WaitEvent has gone to sleep.
  std::int64_t SleepCount() const { return sleeps_; }

 private:
  struct Window;

  Window* Find(ui::WindowId id) const;
  Window* FindNative(std::uint32_t sdlId) const;
  void UpdateDesktop();
  PixelRect WindowedRect(const ui::WindowSpec& spec) const;
  void ApplyMode(Window& w);
  bool WantsFullscreen(const Window& w) const;
  std::optional<PixelPoint> PointerOnFrame(const Window& w) const;
  void KeepPointerOn(const Window& w, PixelPoint framePixel, PixelRect clientRect);
  bool CreateRenderer(Window& w);
  bool UploadFrame(Window& w);
  void Render(Window& w, draw::Surface* readBack = nullptr);
  void Pump();
  void Translate(const SDL_Event& ev);
  void HandleWindowEvent(const SDL_Event& ev);
  void ReportMove(Window& w, int realX, int realY);
  void HandleKey(const SDL_KeyboardEvent& key, bool down);
  void TakeScreenshot(Window& w);
  bool Blocked(const Window* w) const;
  void RaiseModal();
  void ContinueDrag();
  void EndDrag();
  void Push(ui::InputEvent event) { pending_.push_back(std::move(event)); }
  void UpdateCursorScale(const Window* w);

  SystemClock clock_;
  ui::UserSettings& settings_;
  ui::Size display_;
  std::optional<bool> gameFullscreen_;
  ui::ScaleMode scale_;
  std::function<void(bool)> fullscreenChosen_;
  DesktopMapping desktop_;
  int refreshHz_ = 0;
  std::map<ui::WindowId, std::unique_ptr<Window>> windows_;
  ui::WindowId nextId_ = 1;
  std::vector<ui::WindowId> modalStack_;  // shown modal windows, the top one last
  std::deque<ui::InputEvent> pending_;
  CursorSet cursors_;
  DesktopShell shell_;
  std::unique_ptr<SdlAudio> audio_;
  bool audioTried_ = false;
  int swallowedScancode_ = -1;  // key up of a swallowed key down (Alt+Enter, F11)
  std::int64_t sleeps_ = 0;
  std::uint32_t programEnded_ = static_cast<std::uint32_t>(-1);  // SDL event: a program ended
  bool woken_ = false;  // a started program ended since WaitEvent began

  struct Drag {
    ui::WindowId window = 0;
    int startMouseX = 0, startMouseY = 0;
    int startWindowX = 0, startWindowY = 0;
  };
  std::optional<Drag> drag_;
};

}  // namespace sl::sdl

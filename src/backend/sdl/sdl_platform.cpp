// The desktop Platform: windows, presentation, display, pointer, sound, settings, shell.
#include "backend/sdl/sdl_platform.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "backend/sdl/screenshot_file.h"
#include "backend/sdl/sdl_audio.h"
#include "backend/sdl/sdl_window.h"
#include "core/runtime_error.h"
#include "ui/draw/png_io.h"

namespace sl::sdl {

namespace {

constexpr const char* kWindowClass = "storyloom";
constexpr const char* kApplicationName = "Storyloom";
// How often a window back from full screen is put back in its place when the window manager
// lands it elsewhere.
constexpr int kSettleTries = 4;

}  // namespace

bool DesktopAvailable(std::string& why) {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  const char* driver = std::getenv("SDL_VIDEODRIVER");
  if ((x11 && *x11) || (wayland && *wayland) || (driver && *driver)) return true;
  why = "no display to open a window on (neither DISPLAY nor WAYLAND_DISPLAY is set)";
  return false;
}

SdlPlatform::SdlPlatform(ui::UserSettings& settings, const SdlOptions& options)
    : settings_(settings),
      display_(options.display),
      gameFullscreen_(options.gameFullscreen),
      scale_(options.scale),
      fullscreenChosen_(options.fullscreenChosen) {
  // The program decides what closing its last window means; a click that activates a window
  // is also a click; a full-screen window stays when another window takes the focus.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  // Task bars and window switchers group the windows under the program's class, whatever the
  // executable is called; read when the video subsystem starts.
  setenv("SDL_VIDEO_X11_WMCLASS", kWindowClass, 0);
  setenv("SDL_VIDEO_WAYLAND_WMCLASS", kWindowClass, 0);
  SDL_SetHint(SDL_HINT_APP_NAME, kApplicationName);
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
    throw std::runtime_error(std::string("cannot open the display: ") + SDL_GetError());
  UpdateDesktop();
  // A started program's end wakes WaitEvent, so that waiting for it costs nothing.
  programEnded_ = SDL_RegisterEvents(1);
  if (programEnded_ != static_cast<std::uint32_t>(-1)) {
    shell_.SetEndNotifier([type = programEnded_] {
      SDL_Event e{};
      e.type = type;
      SDL_PushEvent(&e);
    });
  }
}

SdlPlatform::~SdlPlatform() {
  EndDrag();
  audio_.reset();
  windows_.clear();
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

SdlPlatform::Window* SdlPlatform::Find(ui::WindowId id) const {
  auto it = windows_.find(id);
  return it == windows_.end() ? nullptr : it->second.get();
}

SdlPlatform::Window* SdlPlatform::FindNative(std::uint32_t sdlId) const {
  for (const auto& [id, w] : windows_) {
    if (SDL_GetWindowID(w->window) == sdlId) return w.get();
  }
  return nullptr;
}

void SdlPlatform::UpdateDesktop() {
  SDL_Rect r{0, 0, 0, 0};
  if (SDL_GetDisplayUsableBounds(0, &r) != 0 || r.w <= 0 || r.h <= 0) SDL_GetDisplayBounds(0, &r);
  desktop_ = MapDisplay(display_, {r.x, r.y, r.w, r.h});
  SDL_DisplayMode mode;
  refreshHz_ = SDL_GetCurrentDisplayMode(0, &mode) == 0 ? mode.refresh_rate : 0;
}

std::int64_t SdlPlatform::NextRefreshMs(std::int64_t afterMs) {
  // An unknown rate (0) counts as 60 Hz.
  return RefreshAfter(afterMs, refreshHz_);
}

bool SdlPlatform::SetDisplaySize(ui::Size size) {
  constexpr int kMax = 16384;
  if (size.width <= 0 || size.height <= 0 || size.width > kMax || size.height > kMax) return false;
  display_ = size;
  UpdateDesktop();
  for (auto& [id, w] : windows_) {
    w->userChoice.reset();
    ApplyMode(*w);
  }
  return true;
}

PixelRect SdlPlatform::WindowedRect(const ui::WindowSpec& spec) const {
  ui::Size client{std::max(spec.width, 1), std::max(spec.height, 1)};
  return desktop_.ToReal(spec.left, spec.top, client.width, client.height);
}

ui::WindowId SdlPlatform::CreateWindow(const ui::WindowSpec& spec) {
  auto w = std::make_unique<Window>();
  w->id = nextId_++;
  w->spec = spec;
  Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI;
  if (spec.frame == ui::WindowFrame::None) flags |= SDL_WINDOW_BORDERLESS;
  if (spec.frame == ui::WindowFrame::Fixed || spec.frame == ui::WindowFrame::Sizable)
    flags |= SDL_WINDOW_RESIZABLE;
  if (spec.topMost) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
  PixelRect r = WindowedRect(spec);
  // Message boxes and dialogs are dialog windows to the window manager: no minimise or
  // maximise buttons, kept above the window they belong to.
  bool dialog = spec.frame == ui::WindowFrame::Dialog;
  if (dialog) SDL_SetHint(SDL_HINT_X11_WINDOW_TYPE, "_NET_WM_WINDOW_TYPE_DIALOG");
  w->window = SDL_CreateWindow(spec.title.c_str(), r.x, r.y, r.w, r.h, flags);
  // The renderer may make the window again (for OpenGL): the type must still be asked for then.
  bool drawable = w->window && CreateRenderer(*w);
  if (dialog) SDL_SetHint(SDL_HINT_X11_WINDOW_TYPE, "");
  if (!w->window)
    throw std::runtime_error(std::string("cannot create a window: ") + SDL_GetError());
  if (!drawable)
    throw std::runtime_error(std::string("cannot draw in a window: ") + SDL_GetError());
  ui::WindowId id = w->id;
  windows_[id] = std::move(w);
  ApplyMode(*windows_[id]);
  return id;
}

bool SdlPlatform::CreateRenderer(Window& w) {
  if (w.texture) SDL_DestroyTexture(w.texture);
  w.texture = nullptr;
  if (w.renderer) SDL_DestroyRenderer(w.renderer);
  w.renderer = SDL_CreateRenderer(w.window, -1, 0);
  if (!w.renderer) w.renderer = SDL_CreateRenderer(w.window, -1, SDL_RENDERER_SOFTWARE);
  if (!w.renderer) return false;
  return !w.HasFrame() || UploadFrame(w);
}

bool SdlPlatform::UploadFrame(Window& w) {
  if (w.texture && (w.textureWidth != w.frameWidth || w.textureHeight != w.frameHeight)) {
    SDL_DestroyTexture(w.texture);
    w.texture = nullptr;
  }
  if (!w.texture) {
    w.texture = SDL_CreateTexture(w.renderer, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STREAMING,
                                  w.frameWidth, w.frameHeight);
    if (!w.texture) return false;
    SDL_SetTextureBlendMode(w.texture, SDL_BLENDMODE_NONE);
    SDL_SetTextureScaleMode(w.texture, SDL_ScaleModeNearest);
    w.textureWidth = w.frameWidth;
    w.textureHeight = w.frameHeight;
  }
  return SDL_UpdateTexture(w.texture, nullptr, w.pixels.data(), w.frameWidth * 4) == 0;
}

void SdlPlatform::DestroyWindow(ui::WindowId window) {
  if (drag_ && drag_->window == window) EndDrag();
  std::erase(modalStack_, window);
  windows_.erase(window);
}

void SdlPlatform::ShowWindow(ui::WindowId window, bool shown) {
  Window* w = Find(window);
  if (!w || w->shown == shown) return;
  w->shown = shown;
  std::erase(modalStack_, window);
  if (shown) {
    if (w->spec.modal) {
      // The owner is the window that had the input: the modal below, else the focused one.
      Window* owner = !modalStack_.empty() ? Find(modalStack_.back())
                                           : FindNative(SDL_GetWindowID(SDL_GetKeyboardFocus()));
      if (owner && owner != w) SDL_SetWindowModalFor(w->window, owner->window);
      modalStack_.push_back(window);
    }
    SDL_ShowWindow(w->window);
    if (w->spec.modal) SDL_RaiseWindow(w->window);
    Render(*w);
  } else {
    if (drag_ && drag_->window == window) EndDrag();
    SDL_HideWindow(w->window);
    if (!modalStack_.empty()) RaiseModal();
  }
}

void SdlPlatform::UpdateWindow(ui::WindowId window, const ui::WindowSpec& spec) {
  Window* w = Find(window);
  if (!w) return;
  bool wasCovering = CoversDisplay(w->spec, display_);
  ui::WindowSpec old = w->spec;
  w->spec = spec;
  w->spec.name = old.name;
  if (w->movedFrom && spec.left == w->movedFrom->x && spec.top == w->movedFrom->y) {
    // Sent before the runtime learnt of the user's move: the window stays where it was put.
    w->spec.left = old.left;
    w->spec.top = old.top;
  } else {
    w->movedFrom.reset();
  }
  if (spec.title != old.title) SDL_SetWindowTitle(w->window, spec.title.c_str());
  SDL_SetWindowResizable(
      w->window, (spec.frame == ui::WindowFrame::Fixed || spec.frame == ui::WindowFrame::Sizable)
                     ? SDL_TRUE
                     : SDL_FALSE);
  if (spec.topMost != old.topMost)
    SDL_SetWindowAlwaysOnTop(w->window, spec.topMost ? SDL_TRUE : SDL_FALSE);
  if (CoversDisplay(spec, display_) != wasCovering) w->userChoice.reset();
  bool moved = w->spec.left != old.left || w->spec.top != old.top || spec.width != old.width ||
               spec.height != old.height || spec.frame != old.frame;
  if (moved || w->fullscreen != WantsFullscreen(*w))
    ApplyMode(*w);
  else
    Render(*w);
}

bool SdlPlatform::WantsFullscreen(const Window& w) const {
  if (w.spec.modal || w.spec.frame == ui::WindowFrame::Dialog) return false;
  if (gameFullscreen_ && w.spec.name == kGameWindowName) return *gameFullscreen_;
  return w.userChoice.value_or(CoversDisplay(w.spec, display_));
}

std::optional<PixelPoint> SdlPlatform::PointerOnFrame(const Window& w) const {
  if (!w.shown || !w.HasFrame()) return std::nullopt;
  int gx = 0, gy = 0, wx = 0, wy = 0, ww = 0, wh = 0;
  SDL_GetGlobalMouseState(&gx, &gy);
  SDL_GetWindowPosition(w.window, &wx, &wy);
  SDL_GetWindowSize(w.window, &ww, &wh);
  if (gx < wx || gy < wy || gx >= wx + ww || gy >= wy + wh) return std::nullopt;
  int dw = 0, dh = 0;
  SDL_GetRendererOutputSize(w.renderer, &dw, &dh);
  PixelPoint p = WindowToFrame({gx - wx, gy - wy}, {ww, wh}, {dw, dh}, w.placement);
  if (p.x < 0 || p.y < 0 || p.x >= w.frameWidth || p.y >= w.frameHeight) return std::nullopt;
  return p;
}

// Puts the pointer back over the same game pixel once the window covers `clientRect` (real
// pixels of the desktop), whether or not the window system has finished moving it.
void SdlPlatform::KeepPointerOn(const Window& w, PixelPoint framePixel, PixelRect clientRect) {
  Placement p = FitFrame(w.ClientSize(), {clientRect.w, clientRect.h}, scale_);
  PixelPoint at = FrameToTarget(framePixel, p);
  SDL_WarpMouseGlobal(clientRect.x + at.x, clientRect.y + at.y);
}

void SdlPlatform::ApplyMode(Window& w) {
  bool covering = CoversDisplay(w.spec, display_);
  bool full = WantsFullscreen(w);
  std::optional<PixelPoint> pointer;
  std::optional<PixelRect> target;
  if (full != w.fullscreen) {
    pointer = PointerOnFrame(w);
    if (full) {
      // Where the window stands now is where it comes back to.
      if (w.shown) {
        PixelRect now;
        SDL_GetWindowPosition(w.window, &now.x, &now.y);
        SDL_GetWindowSize(w.window, &now.w, &now.h);
        w.restore = now;
        w.restoreFor = WindowedRect(w.spec);
      }
      // Cover the monitor as a plain window first: without a window manager to honour the
      // full-screen request (a bare X server), the window keeps this size.
      int index = std::max(0, SDL_GetWindowDisplayIndex(w.window));
      SDL_Rect b{0, 0, 0, 0};
      if (SDL_GetDisplayBounds(index, &b) == 0 && b.w > 0 && b.h > 0) {
        SDL_SetWindowBordered(w.window, SDL_FALSE);
        SDL_SetWindowPosition(w.window, b.x, b.y);
        SDL_SetWindowSize(w.window, b.w, b.h);
        target = PixelRect{b.x, b.y, b.w, b.h};
      }
    }
    SDL_SetWindowFullscreen(w.window, full ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    w.fullscreen = full;
  }
  if (!full) {
    // A borderless window the user took out of full screen gets a frame, so it can be moved.
    bool bordered = w.spec.frame != ui::WindowFrame::None || covering;
    SDL_SetWindowBordered(w.window, bordered ? SDL_TRUE : SDL_FALSE);
    PixelRect r = WindowedRect(w.spec);
    if (w.restore && w.restoreFor == r) r = *w.restore;
    if (w.restore) {
      w.settleAt = PixelPoint{r.x, r.y};
      w.settleTries = kSettleTries;
    }
    w.restore.reset();
    SDL_SetWindowSize(w.window, r.w, r.h);
    SDL_SetWindowPosition(w.window, r.x, r.y);
    target = r;
  }
  Render(w);
  if (pointer && target) KeepPointerOn(w, *pointer, *target);
}

void SdlPlatform::ToggleFullscreen(ui::WindowId window) {
  Window* w = Find(window);
  if (!w) return;
  bool full = !w->fullscreen;
  if (w->spec.name == kGameWindowName) {
    gameFullscreen_ = full;
    if (fullscreenChosen_) fullscreenChosen_(full);
  }
  w->userChoice = full;
  ApplyMode(*w);
  UpdateCursorScale(w);
}

bool SdlPlatform::IsFullscreen(ui::WindowId window) const {
  const Window* w = Find(window);
  return w && w->fullscreen;
}

void SdlPlatform::ActivateWindow(ui::WindowId window) {
  Window* w = Find(window);
  if (w && w->shown) SDL_RaiseWindow(w->window);
}

void SdlPlatform::Present(ui::WindowId window, const ui::FrameView& frame) {
  Window* w = Find(window);
  if (!w || !frame.rgba || frame.width <= 0 || frame.height <= 0) return;
  std::size_t row = static_cast<std::size_t>(frame.width) * 4;
  w->pixels.resize(row * frame.height);
  for (int y = 0; y < frame.height; ++y) {
    std::memcpy(w->pixels.data() + row * y,
                frame.rgba + static_cast<std::ptrdiff_t>(y) * frame.stride, row);
  }
  w->frameWidth = frame.width;
  w->frameHeight = frame.height;
  UploadFrame(*w);
  Render(*w);
}

void SdlPlatform::Render(Window& w, draw::Surface* readBack) {
  int dw = 0, dh = 0;
  if (SDL_GetRendererOutputSize(w.renderer, &dw, &dh) != 0) return;
  if (w.outputSize != ui::Size{dw, dh}) {
    // Some OpenGL drivers (software ones on X servers without direct rendering) keep the old
    // buffer size after a resize; a new renderer gets buffers of the current size.
    if (w.outputSize.width > 0 && !CreateRenderer(w)) return;
    w.outputSize = {dw, dh};
  }
  w.placement = FitFrame(w.ClientSize(), {dw, dh}, scale_);
  if (w.texture)
    SDL_SetTextureScaleMode(
        w.texture, Filtered(w.placement, scale_) ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  // The renderer learns of size changes through window events; a window made full screen
  // before they arrive would still be drawn with its old viewport.
  SDL_RenderSetViewport(w.renderer, nullptr);
  SDL_SetRenderDrawColor(w.renderer, 0, 0, 0, 255);
  SDL_RenderClear(w.renderer);
  if (w.texture && w.HasFrame()) {
    const PixelRect& d = w.placement.dest;
    SDL_Rect dest{d.x, d.y, d.w, d.h};
    SDL_RenderCopy(w.renderer, w.texture, nullptr, &dest);
  }
  if (readBack && dw > 0 && dh > 0) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(dw) * dh * 4);
    if (SDL_RenderReadPixels(w.renderer, nullptr, SDL_PIXELFORMAT_RGBA32, bytes.data(), dw * 4) ==
        0) {
      // Frames are opaque; the drawable may have no alpha channel to read.
      for (std::size_t i = 3; i < bytes.size(); i += 4)
        bytes[i] = 255;
      *readBack = draw::Surface::FromStraightRgba(bytes.data(), dw, dh, dw * 4);
    }
  }
  SDL_RenderPresent(w.renderer);
}

draw::Surface SdlPlatform::ReadBack(ui::WindowId window) {
  draw::Surface out;
  Window* w = Find(window);
  if (w && w->HasFrame()) Render(*w, &out);
  return out;
}

Placement SdlPlatform::PlacementOf(ui::WindowId window) const {
  const Window* w = Find(window);
  return w ? w->placement : Placement{};
}

std::uint32_t SdlPlatform::NativeId(ui::WindowId window) const {
  const Window* w = Find(window);
  return w ? SDL_GetWindowID(w->window) : 0;
}

void SdlPlatform::TakeScreenshot(Window& w) {
  if (!w.HasFrame()) return;
  // The game's own pixels, at the game's size: what the window shows, without the scaling.
  std::filesystem::path folder =
      ScreenshotFolder([](const char* name) { return std::getenv(name); });
  ui::InputEvent notice;
  notice.kind = ui::InputKind::Notice;
  notice.window = w.id;
  if (folder.empty()) {
    notice.text = "Screenshot not saved: no home folder to put it in";
  } else {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    std::filesystem::path file = NewScreenshotPath(folder, clock_.Now());
    try {
      draw::SavePng(draw::Surface::FromStraightRgba(w.pixels.data(), w.frameWidth, w.frameHeight,
                                                    w.frameWidth * 4),
                    file);
      notice.text = "Screenshot saved to " + file.string();
    } catch (const RuntimeError&) {
      notice.text = "Screenshot not saved: cannot write " + file.string();
    }
  }
  std::fprintf(stderr, "storyloom: %s\n", notice.text.c_str());
  Push(std::move(notice));
}

void SdlPlatform::SetCursor(int pointer, const ui::CursorImage* custom) {
  cursors_.Set(pointer, custom);
}

void SdlPlatform::UpdateCursorScale(const Window* w) {
  if (w) cursors_.SetScale(w->placement.scale);
}

ui::AudioOutput* SdlPlatform::Audio() {
  if (!audioTried_) {
    audioTried_ = true;
    std::string why;
    audio_ = SdlAudio::Open(why);
    if (!audio_) {
      std::fprintf(stderr, "storyloom: no sound device (%s); the game plays on without sound\n",
                   why.c_str());
    }
  }
  return audio_.get();
}

bool SdlPlatform::ShellOpen(std::string_view verb, std::string_view target) {
  return shell_.Open(verb, target);
}

std::unique_ptr<ui::ChildProcess> SdlPlatform::StartProgram(std::string_view path) {
  return shell_.StartProgram(path);
}

}  // namespace sl::sdl

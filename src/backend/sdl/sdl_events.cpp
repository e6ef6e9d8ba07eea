// The desktop Platform's input: SDL events translated to InputEvents (classic codes, frame
// pixels), modal windows taking the input, the body drag of borderless windows, the full-screen
// keys, and waiting without spinning.
#include <algorithm>
#include <climits>

#include "backend/sdl/key_map.h"
#include "backend/sdl/sdl_platform.h"
#include "backend/sdl/sdl_window.h"

namespace sl::sdl {

namespace {

// Frame pixels of a pointer position in a window's coordinates.
PixelPoint ToFrame(SDL_Window* window, const Placement& placement, int x, int y) {
  int ww = 0, wh = 0, dw = 0, dh = 0;
  SDL_GetWindowSize(window, &ww, &wh);
  // The renderer's output is the drawable: larger than the window on high-density displays.
  if (SDL_Renderer* renderer = SDL_GetRenderer(window))
    SDL_GetRendererOutputSize(renderer, &dw, &dh);
  return WindowToFrame({x, y}, {ww, wh}, {dw, dh}, placement);
}

bool IsFullscreenKey(const SDL_Keysym& k) {
  bool altEnter = (k.sym == SDLK_RETURN || k.sym == SDLK_KP_ENTER) && (k.mod & KMOD_ALT) &&
                  !(k.mod & (KMOD_CTRL | KMOD_SHIFT | KMOD_GUI));
  bool f11 = k.scancode == SDL_SCANCODE_F11 && !(k.mod & (KMOD_CTRL | KMOD_ALT | KMOD_SHIFT));
  return altEnter || f11;
}

bool IsScreenshotKey(const SDL_Keysym& k) {
  return k.scancode == SDL_SCANCODE_F12 &&
         !(k.mod & (KMOD_CTRL | KMOD_ALT | KMOD_SHIFT | KMOD_GUI));
}

}  // namespace

bool SdlPlatform::PollEvent(ui::InputEvent& event) {
  Pump();
  if (pending_.empty()) return false;
  event = std::move(pending_.front());
  pending_.pop_front();
  if (event.kind == ui::InputKind::WindowMoved) {
    // The runtime takes the position now; what it asks for from here on is meant.
    bool more = std::any_of(pending_.begin(), pending_.end(), [&](const ui::InputEvent& e) {
      return e.kind == ui::InputKind::WindowMoved && e.window == event.window;
    });
    Window* w = Find(event.window);
    if (w && !more) w->movedFrom.reset();
  }
  return true;
}

void SdlPlatform::WaitEvent(std::int64_t deadlineMs) {
  shell_.Reap();
  woken_ = false;
  while (pending_.empty()) {
    Pump();
    if (!pending_.empty() || woken_) return;
    std::int64_t left = deadlineMs - clock_.MonotonicMs();
    if (left <= 0) return;
    SDL_Event ev;
    ++sleeps_;
    // SDL sleeps in the window system's event wait (poll on its connection), not in a loop.
    int got =
        left >= INT_MAX ? SDL_WaitEvent(&ev) : SDL_WaitEventTimeout(&ev, static_cast<int>(left));
    if (got == 1) Translate(ev);
    if (woken_) return;
  }
}

void SdlPlatform::Pump() {
  SDL_Event ev;
  while (SDL_PollEvent(&ev))
    Translate(ev);
}

bool SdlPlatform::Blocked(const Window* w) const {
  return w && !modalStack_.empty() && modalStack_.back() != w->id;
}

void SdlPlatform::RaiseModal() {
  if (modalStack_.empty()) return;
  if (Window* m = Find(modalStack_.back())) SDL_RaiseWindow(m->window);
}

void SdlPlatform::Translate(const SDL_Event& ev) {
  if (ev.type == programEnded_) {
    woken_ = true;
    return;
  }
  switch (ev.type) {
    case SDL_QUIT: {
      ui::InputEvent e;
      e.kind = ui::InputKind::Quit;
      Push(e);
      break;
    }
    case SDL_WINDOWEVENT:
      HandleWindowEvent(ev);
      break;
    case SDL_MOUSEMOTION: {
      if (drag_) {
        ContinueDrag();
        break;
      }
      Window* w = FindNative(ev.motion.windowID);
      if (!w || Blocked(w)) break;
      UpdateCursorScale(w);
      PixelPoint p = ToFrame(w->window, w->placement, ev.motion.x, ev.motion.y);
      ui::InputEvent e;
      e.kind = ui::InputKind::MouseMove;
      e.window = w->id;
      e.x = p.x;
      e.y = p.y;
      e.button = ClassicButtons(ev.motion.state);
      e.shift = ClassicShift(SDL_GetModState());
      Push(e);
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      bool down = ev.type == SDL_MOUSEBUTTONDOWN;
      if (drag_) {
        // The press that started a body drag ends with it; its release is not delivered,
        // as after a caption drag.
        if (!down && ev.button.button == SDL_BUTTON_LEFT) EndDrag();
        break;
      }
      Window* w = FindNative(ev.button.windowID);
      if (!w) break;
      if (Blocked(w)) {
        if (down) RaiseModal();
        break;
      }
      int button = ClassicButton(ev.button.button);
      if (button == 0) break;
      PixelPoint p = ToFrame(w->window, w->placement, ev.button.x, ev.button.y);
      ui::InputEvent e;
      e.kind = down ? ui::InputKind::MouseDown : ui::InputKind::MouseUp;
      e.window = w->id;
      e.x = p.x;
      e.y = p.y;
      e.button = button;
      // SDL counts on (3 for a triple click); the classic runtime pairs presses into doubles.
      e.clicks = (down && ev.button.clicks >= 2 && ev.button.clicks % 2 == 0) ? 2 : 1;
      e.shift = ClassicShift(SDL_GetModState());
      Push(e);
      break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      HandleKey(ev.key, ev.type == SDL_KEYDOWN);
      break;
    case SDL_TEXTINPUT: {
      Window* w = FindNative(ev.text.windowID);
      if (Blocked(w) || ev.text.text[0] == '\0') break;
      ui::InputEvent e;
      e.kind = ui::InputKind::Text;
      e.window = w ? w->id : 0;
      e.text = ev.text.text;
      Push(e);
      break;
    }
    case SDL_DISPLAYEVENT:
      UpdateDesktop();
      break;
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
      for (auto& [id, w] : windows_) {
        if (w->texture) SDL_DestroyTexture(w->texture);
        w->texture = nullptr;
        if (w->HasFrame() && UploadFrame(*w)) Render(*w);
      }
      break;
    default:
      break;
  }
}

void SdlPlatform::HandleKey(const SDL_KeyboardEvent& key, bool down) {
  Window* w = FindNative(key.windowID);
  if (Blocked(w)) {
    if (down) RaiseModal();
    return;
  }
  if (down && IsFullscreenKey(key.keysym)) {
    if (!key.repeat && w && !w->spec.modal && w->spec.frame != ui::WindowFrame::Dialog &&
        (w->spec.frame != ui::WindowFrame::None || CoversDisplay(w->spec, display_)))
      ToggleFullscreen(w->id);
    swallowedScancode_ = key.keysym.scancode;
    return;
  }
  if (down && w && IsScreenshotKey(key.keysym)) {
    if (!key.repeat) TakeScreenshot(*w);
    swallowedScancode_ = key.keysym.scancode;
    return;
  }
  if (!down && key.keysym.scancode == swallowedScancode_) {
    swallowedScancode_ = -1;
    return;
  }
  int code = ClassicKeyCode(key.keysym.sym, key.keysym.scancode);
  if (code == 0) return;
  ui::InputEvent e;
  e.kind = down ? ui::InputKind::KeyDown : ui::InputKind::KeyUp;
  e.window = w ? w->id : 0;
  e.keyCode = code;
  e.shift = ClassicShift(key.keysym.mod);
  Push(e);
}

void SdlPlatform::HandleWindowEvent(const SDL_Event& ev) {
  Window* w = FindNative(ev.window.windowID);
  if (!w) return;
  switch (ev.window.event) {
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
      Render(*w);
      UpdateCursorScale(w);
      break;
    case SDL_WINDOWEVENT_ENTER:
      UpdateCursorScale(w);
      break;
    case SDL_WINDOWEVENT_MOVED:
      if (w->settleAt && !w->fullscreen) {
        PixelPoint at{ev.window.data1, ev.window.data2};
        if (at == *w->settleAt || w->settleTries-- <= 0) {
          w->settleAt.reset();
        } else {
          SDL_SetWindowPosition(w->window, w->settleAt->x, w->settleAt->y);
          break;
        }
      }
      ReportMove(*w, ev.window.data1, ev.window.data2);
      break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      if (Blocked(w)) RaiseModal();
      break;
    case SDL_WINDOWEVENT_CLOSE: {
      if (Blocked(w)) {
        RaiseModal();
        break;
      }
      ui::InputEvent e;
      e.kind = ui::InputKind::CloseWindow;
      e.window = w->id;
      Push(e);
      break;
    }
    default:
      break;
  }
}

// A window that now stands elsewhere than the runtime put it (the user dragged it by its body
// or its caption, or the window manager placed it) gives its new position back to the runtime.
void SdlPlatform::ReportMove(Window& w, int realX, int realY) {
  if (!w.shown || w.fullscreen) return;
  PixelRect placed = WindowedRect(w.spec);
  if (placed.x == realX && placed.y == realY) return;
  PixelPoint at = desktop_.ToVirtual(realX, realY);
  if (at.x == w.spec.left && at.y == w.spec.top) return;
  if (!w.movedFrom) w.movedFrom = PixelPoint{w.spec.left, w.spec.top};
  w.spec.left = at.x;
  w.spec.top = at.y;
  ui::InputEvent e;
  e.kind = ui::InputKind::WindowMoved;
  e.window = w.id;
  e.x = at.x;
  e.y = at.y;
  Push(e);
}

void SdlPlatform::BeginWindowDrag(ui::WindowId window) {
  Window* w = Find(window);
  if (!w || !w->shown || w->fullscreen || Blocked(w)) return;
  Drag d;
  Uint32 buttons = SDL_GetGlobalMouseState(&d.startMouseX, &d.startMouseY);
  if (!(buttons & SDL_BUTTON_LMASK)) return;
  d.window = window;
  SDL_GetWindowPosition(w->window, &d.startWindowX, &d.startWindowY);
  drag_ = d;
  SDL_CaptureMouse(SDL_TRUE);
}

void SdlPlatform::ContinueDrag() {
  Window* w = drag_ ? Find(drag_->window) : nullptr;
  int x = 0, y = 0;
  Uint32 buttons = SDL_GetGlobalMouseState(&x, &y);
  if (!w || !(buttons & SDL_BUTTON_LMASK)) {
    EndDrag();
    return;
  }
  SDL_SetWindowPosition(w->window, drag_->startWindowX + x - drag_->startMouseX,
                        drag_->startWindowY + y - drag_->startMouseY);
  // SDL reports no move of its own making.
  int realX = 0, realY = 0;
  SDL_GetWindowPosition(w->window, &realX, &realY);
  ReportMove(*w, realX, realY);
}

void SdlPlatform::EndDrag() {
  if (!drag_) return;
  drag_.reset();
  SDL_CaptureMouse(SDL_FALSE);
}

}  // namespace sl::sdl

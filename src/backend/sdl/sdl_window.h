// One real window of the desktop Platform: the SDL window, its renderer and texture, the last
// frame presented (kept so the window can be drawn again when exposed or resized) and its
// full-screen state.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "backend/sdl/presentation.h"
#include "backend/sdl/sdl_platform.h"

namespace sl::sdl {

struct SdlPlatform::Window {
  ui::WindowId id = 0;
  ui::WindowSpec spec;
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  int textureWidth = 0;
  int textureHeight = 0;
  std::vector<std::uint8_t> pixels;  // last frame, rows packed, bytes R, G, B, A
  int frameWidth = 0;
  int frameHeight = 0;
  Placement placement;
  ui::Size outputSize;  // the drawable size the renderer last drew at
  bool shown = false;
  bool fullscreen = false;         // the state the window is in
  std::optional<bool> userChoice;  // full screen chosen with Alt+Enter / F11
  // Where the window stood (client area, real pixels) when it went full screen, and the place
  // its spec gave it then: it comes back exactly there unless the runtime moved it meanwhile.
  std::optional<PixelRect> restore;
  PixelRect restoreFor;
  // Where a window back from full screen must stand: until the window manager has put its frame
  // back, a move lands it off by the frame's size, so the first moves reported are corrected.
  std::optional<PixelPoint> settleAt;
  int settleTries = 0;
  // Where the runtime had the window before the user moved it: until the runtime has taken the
  // new position, a spec still naming the old one must not move the window back.
  std::optional<PixelPoint> movedFrom;

  ~Window() {
    if (texture) SDL_DestroyTexture(texture);
    if (renderer) SDL_DestroyRenderer(renderer);
    if (window) SDL_DestroyWindow(window);
  }
  bool HasFrame() const { return frameWidth > 0 && frameHeight > 0; }
  ui::Size ClientSize() const {
    if (spec.width > 0 && spec.height > 0) return {spec.width, spec.height};
    return {frameWidth, frameHeight};
  }
};

}  // namespace sl::sdl

// System and custom cursors.
#include "backend/sdl/sdl_cursors.h"

#include <algorithm>
#include <cmath>

namespace sl::sdl {

SDL_SystemCursor SystemCursorFor(int pointer) {
  switch (pointer) {
    case 2:
      return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case 3:
      return SDL_SYSTEM_CURSOR_IBEAM;
    case 5:
    case 15:
      return SDL_SYSTEM_CURSOR_SIZEALL;
    case 6:
      return SDL_SYSTEM_CURSOR_SIZENESW;
    case 7:
      return SDL_SYSTEM_CURSOR_SIZENS;
    case 8:
      return SDL_SYSTEM_CURSOR_SIZENWSE;
    case 9:
      return SDL_SYSTEM_CURSOR_SIZEWE;
    case 11:
      return SDL_SYSTEM_CURSOR_WAIT;
    case 12:
      return SDL_SYSTEM_CURSOR_NO;
    case 13:
      return SDL_SYSTEM_CURSOR_WAITARROW;
    default:  // 0 default, 1 arrow, 4 icon, 10 up arrow, 14 arrow and question mark
      return SDL_SYSTEM_CURSOR_ARROW;
  }
}

ui::CursorImage ScaleCursorImage(const ui::CursorImage& image, double scale) {
  ui::CursorImage out;
  if (image.width <= 0 || image.height <= 0 ||
      image.rgba.size() < static_cast<std::size_t>(image.width) * image.height * 4)
    return out;
  if (!(scale > 0)) scale = 1;
  out.width = std::max(1, static_cast<int>(std::lround(image.width * scale)));
  out.height = std::max(1, static_cast<int>(std::lround(image.height * scale)));
  out.hotX = std::clamp(static_cast<int>(std::floor(image.hotX * scale)), 0, out.width - 1);
  out.hotY = std::clamp(static_cast<int>(std::floor(image.hotY * scale)), 0, out.height - 1);
  out.rgba.resize(static_cast<std::size_t>(out.width) * out.height * 4);
  for (int y = 0; y < out.height; ++y) {
    int sy = std::min(image.height - 1, static_cast<int>((y + 0.5) * image.height / out.height));
    for (int x = 0; x < out.width; ++x) {
      int sx = std::min(image.width - 1, static_cast<int>((x + 0.5) * image.width / out.width));
      auto src = image.rgba.begin() + (static_cast<std::ptrdiff_t>(sy) * image.width + sx) * 4;
      std::copy(src, src + 4,
                out.rgba.begin() + (static_cast<std::ptrdiff_t>(y) * out.width + x) * 4);
    }
  }
  return out;
}

CursorSet::~CursorSet() {
  FreeCustom();
  for (SDL_Cursor* c : system_) {
    if (c) SDL_FreeCursor(c);
  }
}

void CursorSet::FreeCustom() {
  if (custom_) SDL_FreeCursor(custom_);
  custom_ = nullptr;
}

void CursorSet::Set(int pointer, const ui::CursorImage* custom) {
  bool changed = pointer != pointer_;
  pointer_ = pointer;
  if (pointer == 99 && custom) {
    bool same = hasImage_ && custom->width == image_.width && custom->height == image_.height &&
                custom->hotX == image_.hotX && custom->hotY == image_.hotY &&
                custom->rgba == image_.rgba;
    if (!same) {
      image_ = *custom;
      hasImage_ = true;
      FreeCustom();
      changed = true;
    }
  }
  if (changed) Apply();
}

void CursorSet::SetScale(double scale) {
  if (!(scale > 0) || scale == scale_) return;
  scale_ = scale;
  if (pointer_ == 99 && hasImage_) Apply();
}

void CursorSet::Apply() {
  if (pointer_ == 99 && hasImage_) {
    if (!custom_ || customScale_ != scale_) {
      ui::CursorImage scaled = ScaleCursorImage(image_, scale_);
      SDL_Surface* surface = scaled.width > 0 ? SDL_CreateRGBSurfaceWithFormatFrom(
                                                    scaled.rgba.data(), scaled.width, scaled.height,
                                                    32, scaled.width * 4, SDL_PIXELFORMAT_RGBA32)
                                              : nullptr;
      SDL_Cursor* made =
          surface ? SDL_CreateColorCursor(surface, scaled.hotX, scaled.hotY) : nullptr;
      if (surface) SDL_FreeSurface(surface);
      if (made) {
        SDL_SetCursor(made);
        FreeCustom();
        custom_ = made;
        customScale_ = scale_;
        return;
      }
    } else {
      SDL_SetCursor(custom_);
      return;
    }
  }
  // A custom pointer without a usable image shows the default pointer.
  SDL_SystemCursor id = pointer_ == 99 ? SDL_SYSTEM_CURSOR_ARROW : SystemCursorFor(pointer_);
  if (!system_[id]) system_[id] = SDL_CreateSystemCursor(id);
  if (system_[id]) SDL_SetCursor(system_[id]);
}

}  // namespace sl::sdl

// Mouse pointers on the desktop: the classic pointer numbers shown as the system's cursors, and
// custom colour cursors built from a CursorImage, scaled with the display so that a cursor keeps
// its size relative to the game's pixels, its hot spot scaled along.
#pragma once

#include <SDL.h>

#include <array>

#include "ui/platform.h"

namespace sl::sdl {

// The system cursor for a classic pointer number (99 and unknown numbers give the arrow).
SDL_SystemCursor SystemCursorFor(int pointer);

// A CursorImage scaled by nearest-neighbour sampling, hot spot included.
ui::CursorImage ScaleCursorImage(const ui::CursorImage& image, double scale);

class CursorSet {
 public:
  CursorSet() = default;
  ~CursorSet();
  CursorSet(const CursorSet&) = delete;
  CursorSet& operator=(const CursorSet&) = delete;

  // Shows a pointer (see Platform::SetCursor); the custom image is copied.
  void Set(int pointer, const ui::CursorImage* custom);
  // Screen pixels per game pixel where the pointer is; a custom cursor is rebuilt at it.
  void SetScale(double scale);

 private:
  void Apply();
  void FreeCustom();

  std::array<SDL_Cursor*, SDL_NUM_SYSTEM_CURSORS> system_{};
  SDL_Cursor* custom_ = nullptr;
  double customScale_ = 0;
  ui::CursorImage image_;
  bool hasImage_ = false;
  int pointer_ = 0;
  double scale_ = 1;
};

}  // namespace sl::sdl

// Keys, shift state and mouse buttons of SDL translated to the classic codes the window runtime
// uses: letters are their capital's code, digits theirs, Esc 27, Enter 13, F1-F12 112-123,
// arrows 37-40; Shift 1, Ctrl 2, Alt 4; left button 1, right 2, middle 4.
#pragma once

#include <cstdint>

namespace sl::sdl {

// The classic key code of an SDL key (its SDL_Keycode and SDL_Scancode), or 0 when the key has
// none. Letters and digits follow the keyboard layout (the key code); other keys their position.
int ClassicKeyCode(std::int32_t sdlKeycode, int sdlScancode);
// The shift state (Shift 1 | Ctrl 2 | Alt 4) of SDL's key modifiers (SDL_Keymod).
int ClassicShift(unsigned sdlKeymod);
// The classic button of an SDL button number, or 0 for buttons without one.
int ClassicButton(int sdlButton);
// The classic buttons held for SDL's button state mask.
int ClassicButtons(std::uint32_t sdlButtonState);

}  // namespace sl::sdl

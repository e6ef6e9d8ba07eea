// Translation of SDL keys, modifiers and buttons to classic codes.
#include "backend/sdl/key_map.h"

#include <SDL.h>

#include "ui/input_event.h"

namespace sl::sdl {

namespace {

struct ScancodeEntry {
  SDL_Scancode scan;
  int code;
};

// Keys that keep their place whatever the layout says, with the classic (US layout) codes.
constexpr ScancodeEntry kByScancode[] = {
    {SDL_SCANCODE_BACKSPACE, ui::kKeyBackspace},
    {SDL_SCANCODE_TAB, ui::kKeyTab},
    {SDL_SCANCODE_RETURN, ui::kKeyReturn},
    {SDL_SCANCODE_KP_ENTER, ui::kKeyReturn},
    {SDL_SCANCODE_LSHIFT, ui::kKeyShift},
    {SDL_SCANCODE_RSHIFT, ui::kKeyShift},
    {SDL_SCANCODE_LCTRL, ui::kKeyControl},
    {SDL_SCANCODE_RCTRL, ui::kKeyControl},
    {SDL_SCANCODE_LALT, ui::kKeyMenu},
    {SDL_SCANCODE_RALT, ui::kKeyMenu},
    {SDL_SCANCODE_PAUSE, 19},
    {SDL_SCANCODE_CAPSLOCK, 20},
    {SDL_SCANCODE_ESCAPE, ui::kKeyEscape},
    {SDL_SCANCODE_SPACE, ui::kKeySpace},
    {SDL_SCANCODE_PAGEUP, ui::kKeyPageUp},
    {SDL_SCANCODE_PAGEDOWN, ui::kKeyPageDown},
    {SDL_SCANCODE_END, ui::kKeyEnd},
    {SDL_SCANCODE_HOME, ui::kKeyHome},
    {SDL_SCANCODE_LEFT, ui::kKeyLeft},
    {SDL_SCANCODE_UP, ui::kKeyUp},
    {SDL_SCANCODE_RIGHT, ui::kKeyRight},
    {SDL_SCANCODE_DOWN, ui::kKeyDown},
    {SDL_SCANCODE_PRINTSCREEN, 44},
    {SDL_SCANCODE_INSERT, ui::kKeyInsert},
    {SDL_SCANCODE_DELETE, ui::kKeyDelete},
    {SDL_SCANCODE_LGUI, 91},
    {SDL_SCANCODE_RGUI, 92},
    {SDL_SCANCODE_APPLICATION, 93},
    {SDL_SCANCODE_KP_MULTIPLY, 106},
    {SDL_SCANCODE_KP_PLUS, 107},
    {SDL_SCANCODE_KP_MINUS, 109},
    {SDL_SCANCODE_KP_PERIOD, 110},
    {SDL_SCANCODE_KP_DIVIDE, 111},
    {SDL_SCANCODE_NUMLOCKCLEAR, 144},
    {SDL_SCANCODE_SCROLLLOCK, 145},
    {SDL_SCANCODE_SEMICOLON, 186},
    {SDL_SCANCODE_EQUALS, 187},
    {SDL_SCANCODE_COMMA, 188},
    {SDL_SCANCODE_MINUS, 189},
    {SDL_SCANCODE_PERIOD, 190},
    {SDL_SCANCODE_SLASH, 191},
    {SDL_SCANCODE_GRAVE, 192},
    {SDL_SCANCODE_LEFTBRACKET, 219},
    {SDL_SCANCODE_BACKSLASH, 220},
    {SDL_SCANCODE_RIGHTBRACKET, 221},
    {SDL_SCANCODE_APOSTROPHE, 222},
};

}  // namespace

int ClassicKeyCode(std::int32_t sdlKeycode, int sdlScancode) {
  if (sdlKeycode >= SDLK_a && sdlKeycode <= SDLK_z) return 'A' + (sdlKeycode - SDLK_a);
  if (sdlKeycode >= SDLK_0 && sdlKeycode <= SDLK_9) return '0' + (sdlKeycode - SDLK_0);
  auto scan = static_cast<SDL_Scancode>(sdlScancode);
  if (scan >= SDL_SCANCODE_F1 && scan <= SDL_SCANCODE_F12)
    return ui::kKeyF1 + (scan - SDL_SCANCODE_F1);
  if (scan >= SDL_SCANCODE_F13 && scan <= SDL_SCANCODE_F24)
    return ui::kKeyF1 + 12 + (scan - SDL_SCANCODE_F13);
  // Number pad digits (with Num Lock on SDL reports them as keypad keys): 96 to 105.
  if (scan >= SDL_SCANCODE_KP_1 && scan <= SDL_SCANCODE_KP_9)
    return 97 + (scan - SDL_SCANCODE_KP_1);
  if (scan == SDL_SCANCODE_KP_0) return 96;
  // Letters and digits of layouts whose key codes are not Latin fall back to the key position.
  if (scan >= SDL_SCANCODE_A && scan <= SDL_SCANCODE_Z) return 'A' + (scan - SDL_SCANCODE_A);
  if (scan >= SDL_SCANCODE_1 && scan <= SDL_SCANCODE_9) return '1' + (scan - SDL_SCANCODE_1);
  if (scan == SDL_SCANCODE_0) return '0';
  for (const auto& e : kByScancode) {
    if (e.scan == scan) return e.code;
  }
  return 0;
}

int ClassicShift(unsigned sdlKeymod) {
  int shift = 0;
  if (sdlKeymod & KMOD_SHIFT) shift |= ui::kShiftMask;
  if (sdlKeymod & KMOD_CTRL) shift |= ui::kCtrlMask;
  if (sdlKeymod & KMOD_ALT) shift |= ui::kAltMask;
  return shift;
}

int ClassicButton(int sdlButton) {
  switch (sdlButton) {
    case SDL_BUTTON_LEFT:
      return ui::kButtonLeft;
    case SDL_BUTTON_RIGHT:
      return ui::kButtonRight;
    case SDL_BUTTON_MIDDLE:
      return ui::kButtonMiddle;
    default:
      return 0;
  }
}

int ClassicButtons(std::uint32_t sdlButtonState) {
  int buttons = 0;
  if (sdlButtonState & SDL_BUTTON_LMASK) buttons |= ui::kButtonLeft;
  if (sdlButtonState & SDL_BUTTON_RMASK) buttons |= ui::kButtonRight;
  if (sdlButtonState & SDL_BUTTON_MMASK) buttons |= ui::kButtonMiddle;
  return buttons;
}

}  // namespace sl::sdl

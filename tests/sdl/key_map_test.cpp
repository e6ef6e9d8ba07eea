// Classic key codes, shift states and buttons from SDL's keys, modifiers and buttons.
#include "backend/sdl/key_map.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include "ui/input_event.h"

namespace sl::sdl {
namespace {

int Code(SDL_Keycode key, SDL_Scancode scan) {
  return ClassicKeyCode(key, scan);
}

TEST(ClassicKeyCode, LettersAreTheirCapitalsAndDigitsTheirs) {
  EXPECT_EQ(Code(SDLK_a, SDL_SCANCODE_A), 'A');
  EXPECT_EQ(Code(SDLK_z, SDL_SCANCODE_Z), 'Z');
  // The layout decides: the key at the place of Q types A on an AZERTY keyboard.
  EXPECT_EQ(Code(SDLK_a, SDL_SCANCODE_Q), 'A');
  EXPECT_EQ(Code(SDLK_0, SDL_SCANCODE_0), '0');
  EXPECT_EQ(Code(SDLK_9, SDL_SCANCODE_9), '9');
  // A layout whose keys are not Latin letters falls back to the key's place.
  EXPECT_EQ(Code(0x0444 /* Cyrillic ef */, SDL_SCANCODE_A), 'A');
  EXPECT_EQ(Code(0x0026 /* & on the 1 key */, SDL_SCANCODE_1), '1');
}

TEST(ClassicKeyCode, NamedKeys) {
  EXPECT_EQ(Code(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE), 27);
  EXPECT_EQ(Code(SDLK_RETURN, SDL_SCANCODE_RETURN), 13);
  EXPECT_EQ(Code(SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER), 13);
  EXPECT_EQ(Code(SDLK_TAB, SDL_SCANCODE_TAB), 9);
  EXPECT_EQ(Code(SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE), 8);
  EXPECT_EQ(Code(SDLK_SPACE, SDL_SCANCODE_SPACE), 32);
  EXPECT_EQ(Code(SDLK_LEFT, SDL_SCANCODE_LEFT), 37);
  EXPECT_EQ(Code(SDLK_UP, SDL_SCANCODE_UP), 38);
  EXPECT_EQ(Code(SDLK_RIGHT, SDL_SCANCODE_RIGHT), 39);
  EXPECT_EQ(Code(SDLK_DOWN, SDL_SCANCODE_DOWN), 40);
  EXPECT_EQ(Code(SDLK_HOME, SDL_SCANCODE_HOME), 36);
  EXPECT_EQ(Code(SDLK_END, SDL_SCANCODE_END), 35);
  EXPECT_EQ(Code(SDLK_PAGEUP, SDL_SCANCODE_PAGEUP), 33);
  EXPECT_EQ(Code(SDLK_PAGEDOWN, SDL_SCANCODE_PAGEDOWN), 34);
  EXPECT_EQ(Code(SDLK_INSERT, SDL_SCANCODE_INSERT), 45);
  EXPECT_EQ(Code(SDLK_DELETE, SDL_SCANCODE_DELETE), 46);
  EXPECT_EQ(Code(SDLK_LSHIFT, SDL_SCANCODE_LSHIFT), 16);
  EXPECT_EQ(Code(SDLK_RCTRL, SDL_SCANCODE_RCTRL), 17);
  EXPECT_EQ(Code(SDLK_LALT, SDL_SCANCODE_LALT), 18);
  EXPECT_EQ(Code(SDLK_COMMA, SDL_SCANCODE_COMMA), 188);
  EXPECT_EQ(Code(SDLK_KP_5, SDL_SCANCODE_KP_5), 101);
  EXPECT_EQ(Code(SDLK_KP_0, SDL_SCANCODE_KP_0), 96);
}

TEST(ClassicKeyCode, FunctionKeysRunFrom112) {
  const SDL_Scancode f[] = {SDL_SCANCODE_F1, SDL_SCANCODE_F2,  SDL_SCANCODE_F3,  SDL_SCANCODE_F4,
                            SDL_SCANCODE_F5, SDL_SCANCODE_F6,  SDL_SCANCODE_F7,  SDL_SCANCODE_F8,
                            SDL_SCANCODE_F9, SDL_SCANCODE_F10, SDL_SCANCODE_F11, SDL_SCANCODE_F12};
  for (int i = 0; i < 12; ++i)
    EXPECT_EQ(Code(SDL_SCANCODE_TO_KEYCODE(f[i]), f[i]), 112 + i);
}

TEST(ClassicKeyCode, KeysWithoutAClassicCodeGiveZero) {
  EXPECT_EQ(Code(SDLK_AUDIOPLAY, SDL_SCANCODE_AUDIOPLAY), 0);
  EXPECT_EQ(Code(SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN), 0);
}

TEST(ClassicShift, ShiftCtrlAltOnEitherSide) {
  EXPECT_EQ(ClassicShift(KMOD_NONE), 0);
  EXPECT_EQ(ClassicShift(KMOD_LSHIFT), ui::kShiftMask);
  EXPECT_EQ(ClassicShift(KMOD_RCTRL), ui::kCtrlMask);
  EXPECT_EQ(ClassicShift(KMOD_RALT), ui::kAltMask);
  EXPECT_EQ(ClassicShift(KMOD_LSHIFT | KMOD_RCTRL | KMOD_LALT), 7);
  // Lock keys and the system key are no part of the classic shift state.
  EXPECT_EQ(ClassicShift(KMOD_CAPS | KMOD_NUM | KMOD_LGUI), 0);
}

TEST(ClassicButtons, LeftRightMiddle) {
  EXPECT_EQ(ClassicButton(SDL_BUTTON_LEFT), 1);
  EXPECT_EQ(ClassicButton(SDL_BUTTON_RIGHT), 2);
  EXPECT_EQ(ClassicButton(SDL_BUTTON_MIDDLE), 4);
  EXPECT_EQ(ClassicButton(SDL_BUTTON_X1), 0);
  EXPECT_EQ(ClassicButtons(SDL_BUTTON_LMASK | SDL_BUTTON_MMASK), 5);
  EXPECT_EQ(ClassicButtons(SDL_BUTTON_RMASK | SDL_BUTTON_X2MASK), 2);
}

}  // namespace
}  // namespace sl::sdl

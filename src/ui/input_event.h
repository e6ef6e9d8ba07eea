// Input events as a backend delivers them to the window runtime: mouse and keys in classic codes,
// typed text, window close and quit requests, and the named commands an event script can give
// (click a control by name, select a list entry, run a menu entry).
#pragma once

#include <cstdint>
#include <string>

namespace sl::ui {

using WindowId = std::uint32_t;  // 0 = none, or "the active window" in an InputEvent

enum class InputKind : std::uint8_t {
  MouseDown,      // button pressed at (x, y); clicks = 2 for the second press of a double click
  MouseUp,        // button released at (x, y)
  MouseMove,      // pointer moved to (x, y); button = buttons held
  KeyDown,        // keyCode pressed, with shift state
  KeyUp,          // keyCode released
  Text,           // text typed (UTF-8) into the focused text box
  CloseWindow,    // the user asks to close the window
  Quit,           // the user asks to end the program (as closing it)
  ControlAction,  // click a control by name: target = "Command2" or "Area(3)", action says how
  SelectItem,     // select the entry `text` of the list or combo box named `target`
  MenuCommand,    // run the menu entry named `target` as a click on it, shown or not
  WindowMoved,    // the user moved the window: (x, y) is its new position on the virtual
                  // display in pixels, as WindowSpec left/top
  Notice,         // the desktop tells the person playing something about the window (`text`),
                  // e.g. where a screenshot went; shown over the window for a few seconds
};

// Where (x, y) of a mouse event are measured from.
enum class CoordSpace : std::uint8_t {
  Frame,   // the presented frame (menu bar included)
  Client,  // the window's client area
  Script,  // the form's script origin (a control the form names, e.g. the game's frame
           // picture; the client area when it names none)
};

enum class ControlActionKind : std::uint8_t { Click, DblClick, RightClick };

// Mouse buttons and shift state, with the classic values.
constexpr int kButtonLeft = 1;
constexpr int kButtonRight = 2;
constexpr int kButtonMiddle = 4;
constexpr int kShiftMask = 1;
constexpr int kCtrlMask = 2;
constexpr int kAltMask = 4;

// Key codes, with the classic values. Letters are their capital's code, digits theirs.
constexpr int kKeyBackspace = 8;
constexpr int kKeyTab = 9;
constexpr int kKeyReturn = 13;
constexpr int kKeyShift = 16;
constexpr int kKeyControl = 17;
constexpr int kKeyMenu = 18;  // Alt
constexpr int kKeyEscape = 27;
constexpr int kKeySpace = 32;
constexpr int kKeyPageUp = 33;
constexpr int kKeyPageDown = 34;
constexpr int kKeyEnd = 35;
constexpr int kKeyHome = 36;
constexpr int kKeyLeft = 37;
constexpr int kKeyUp = 38;
constexpr int kKeyRight = 39;
constexpr int kKeyDown = 40;
constexpr int kKeyInsert = 45;
constexpr int kKeyDelete = 46;
constexpr int kKeyF1 = 112;  // F1 to F12 are 112 to 123

struct InputEvent {
  InputKind kind = InputKind::MouseMove;
  WindowId window = 0;  // 0 = the active window
  CoordSpace space = CoordSpace::Frame;
  int x = 0;
  int y = 0;
  int button = 0;  // kButton* (MouseDown/Up: the button; MouseMove: the buttons held)
  int clicks = 1;  // MouseDown: 2 for the second press of a double click
  int shift = 0;   // kShiftMask | kCtrlMask | kAltMask
  int keyCode = 0;
  ControlActionKind action = ControlActionKind::Click;
  std::string target;  // ControlAction, SelectItem, MenuCommand: the name
  std::string text;    // Text: the typed text; SelectItem: the entry
};

}  // namespace sl::ui

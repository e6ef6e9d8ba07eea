// Platform: everything the outside world gives the window runtime, in one interface. The desktop
// backend (SDL2) and the headless backend implement it; nothing above the runtime looks behind
// it. Each method states its contract, not how a backend fulfils it.
//
// Model: the runtime draws every window's content itself (menu bar and client area) into a
// finished RGBA frame and hands it over with Present(); the backend only shows it (scaled, its
// own caption and borders around it). Input comes back as InputEvents in pixels of those
// frames. The display is virtual: its size is what the game sees, whatever the real screen is.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/clock.h"
#include "core/message_box.h"
#include "ui/input_event.h"

namespace sl::ui {

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// How a window is framed; the backend draws caption and borders, the runtime accounts for
// their size in the window's outer Width/Height.
enum class WindowFrame {
  None,    // no caption, no border (full-screen game window, splash screens)
  Fixed,   // caption and a thin fixed border
  Dialog,  // caption, fixed border, no minimise/maximise (message boxes, modal dialogs)
  Sizable  // caption and a sizable border
};

struct WindowSpec {
  std::string name;   // the form's name ("Game", "frmWelcome"); the trace names windows by it
  std::string title;  // caption text, UTF-8
  int left = 0;       // outer position on the virtual display, pixels
  int top = 0;
  int width = 0;  // client frame size in pixels: the size of the frames Present() receives
  int height = 0;
  WindowFrame frame = WindowFrame::Fixed;
  bool modal = false;    // a modal window: other windows of the program take no input meanwhile
  bool topMost = false;  // stays above the other windows of the desktop while shown
};
// A borderless window (WindowFrame::None) whose client frame covers the whole virtual display is
// shown full screen: the desktop covers the real monitor with it.

// A finished frame: 32-bit pixels, bytes in memory R, G, B, A (alpha is ignored: frames are
// opaque). `stride` is the distance between rows in bytes.
struct FrameView {
  const std::uint8_t* rgba = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;
  int clientTop = 0;  // rows above this belong to the menu bar; the client area starts here
};

// A custom mouse pointer: RGBA pixels (bytes R, G, B, A; alpha 0 is transparent) and the hot
// spot, the pixel that points.
struct CursorImage {
  int width = 0;
  int height = 0;
  int hotX = 0;
  int hotY = 0;
  std::vector<std::uint8_t> rgba;  // width * height * 4 bytes
};

// The per-user settings store: string values by application, section and key, as the classic
// registry functions keep them. The backend decides where they live (an INI file by default).
class UserSettings {
 public:
  virtual ~UserSettings() = default;
  // The stored value, or nullopt when the key (or its section) does not exist.
  virtual std::optional<std::string> Get(std::string_view app, std::string_view section,
                                         std::string_view key) = 0;
  // Stores a value; the store is durable once this returns (written completely or not at all).
  virtual void Save(std::string_view app, std::string_view section, std::string_view key,
                    std::string_view value) = 0;
  // Removes a key; with an empty key, the whole section. Missing keys are not an error.
  virtual void Delete(std::string_view app, std::string_view section, std::string_view key) = 0;
};

// A started program, polled for its end. Its end wakes a WaitEvent that sleeps meanwhile, so a
// caller may wait for it by waiting for events.
class ChildProcess {
 public:
  virtual ~ChildProcess() = default;
  // True while the program runs. Never blocks.
  virtual bool Running() = 0;
  // The exit code once it has ended.
  virtual int ExitCode() = 0;
};

// Sound output. The mixer pulls samples; the backend calls the source from its own audio
// thread, so the source must not touch the window runtime.
class AudioOutput {
 public:
  using Source = void (*)(void* user, float* interleaved, int frames);
  virtual ~AudioOutput() = default;
  virtual int SampleRate() const = 0;
  virtual int Channels() const = 0;
  // Starts pulling from `source`; replaces any previous source.
  virtual void Start(Source source, void* user) = 0;
  // Stops pulling; when this returns the source is no longer called.
  virtual void Stop() = 0;
};

// Answer of an input box: the text, or cancelled.
struct InputBoxAnswer {
  bool cancelled = false;
  std::string text;
};

struct InputBoxRequest {
  std::string title;
  std::string prompt;
  std::string defaultText;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // ---- Time ----
  // The clock all program time comes from: real on the desktop, virtual in headless runs.
  virtual Clock& GetClock() = 0;

  // ---- Display ----
  // Size of the virtual display in pixels (what the game sees as the screen).
  virtual Size DisplaySize() const = 0;
  // Changes the virtual display size (the game's resolution switch); the real display mode is
  // never changed. Returns false when the size is refused (nothing changes then).
  virtual bool SetDisplaySize(Size size) = 0;

  // The first refresh of the display after `afterMs` (a reading of GetClock().MonotonicMs()),
  // always later than `afterMs`: what an animation waits for between its passes, so that it
  // draws each picture once and no more often than the display shows them. By default the
  // refreshes of a 60 Hz display counted from the clock's start, which a virtual clock keeps
  // exactly.
  virtual std::int64_t NextRefreshMs(std::int64_t afterMs) {
    return RefreshAfter(afterMs, kDefaultRefreshHz);
  }
  static constexpr int kDefaultRefreshHz = 60;
  // The first tick of a `hz` grid counted from 0 that is later than `afterMs`, rounded up to
  // whole milliseconds.
  static std::int64_t RefreshAfter(std::int64_t afterMs, int hz) {
    if (hz <= 0) hz = kDefaultRefreshHz;
    std::int64_t tick = afterMs * hz / 1000 + 1;
    if (afterMs < 0) tick = 0;
    return (tick * 1000 + hz - 1) / hz;
  }

  // ---- Windows ----
  // Creates a hidden window and returns its id (never 0).
  virtual WindowId CreateWindow(const WindowSpec& spec) = 0;
  // Destroys a window; its id is not reused. Unknown ids are ignored.
  virtual void DestroyWindow(WindowId window) = 0;
  // Shows or hides a window. Showing a window does not by itself activate it.
  virtual void ShowWindow(WindowId window, bool shown) = 0;
  // Changes caption, position, client frame size, framing or modality: all of `spec` but the
  // name. Frames presented afterwards have the new size. A window the user moves (or the desktop
  // places elsewhere) is reported with an InputKind::WindowMoved event, never moved back by a
  // spec sent before that event was taken.
  virtual void UpdateWindow(WindowId window, const WindowSpec& spec) = 0;
  // Makes a window the active one: it gets the keyboard and the event script's commands.
  virtual void ActivateWindow(WindowId window) = 0;
  // Moves the window with the pointer until the left button is released, as dragging a caption
  // does: how a borderless window is dragged by its body. Called while the left button is held
  // over the window; ignored when there is nothing to move (no real windows). As after a caption
  // drag, the release of the button that started it is not delivered.
  virtual void BeginWindowDrag(WindowId /*window*/) {}
  // Shows a finished frame of a window's content. The pixels are copied before this returns.
  // A frame whose size differs from the window's client frame size is scaled to it.
  virtual void Present(WindowId window, const FrameView& frame) = 0;

  // ---- Input ----
  // Takes the next pending input event, if any; never blocks.
  virtual bool PollEvent(InputEvent& event) = 0;
  // Sleeps until an input event is pending or the clock reaches `deadlineMs` (a reading of
  // GetClock().MonotonicMs()), whichever comes first; returns at once when an event is already
  // pending or the deadline has passed. Uses no CPU while sleeping. A virtual clock jumps
  // straight to the deadline or to the time of the next scripted event. Also returns when a
  // program started with StartProgram ends.
  virtual void WaitEvent(std::int64_t deadlineMs) = 0;

  // ---- Pointer ----
  // The pointer to show over the program's windows: a classic pointer number (0 default,
  // 1 arrow, 2 cross, 3 I-beam, 11 hourglass, 13 arrow and hourglass, ...), or 99 with a
  // custom image (which the backend copies). An unknown number shows the default pointer.
  virtual void SetCursor(int pointer, const CursorImage* custom) = 0;

  // ---- Sound ----
  // The sound device, or nullptr when there is none (headless runs, no device).
  virtual AudioOutput* Audio() = 0;

  // ---- Per-user settings ----
  virtual UserSettings& Settings() = 0;

  // ---- Desktop ----
  // Hands a document, web address or "mailto:" address to the desktop with a verb ("open").
  // Returns false when the desktop could not take it.
  virtual bool ShellOpen(std::string_view verb, std::string_view target) = 0;
  // Starts a program (a path, no arguments) in its own window; nullptr when it cannot start.
  virtual std::unique_ptr<ChildProcess> StartProgram(std::string_view path) = 0;

  // ---- Dialog answers ----
  // Asked when a message box or input box is about to be shown. A platform that answers
  // dialogs itself (a headless run driven by an event script) returns the answer and the box is
  // not shown; the desktop returns nullopt and the user answers the box.
  virtual std::optional<MsgAnswer> AnswerMessageBox(const MessageBoxRequest& /*request*/) {
    return std::nullopt;
  }
  virtual std::optional<InputBoxAnswer> AnswerInputBox(const InputBoxRequest& /*request*/) {
    return std::nullopt;
  }
  // Told when a message box or input box has been answered, however that happened.
  virtual void MessageBoxClosed(const MessageBoxRequest& /*request*/, MsgAnswer /*answer*/) {}
  virtual void InputBoxClosed(const InputBoxRequest& /*request*/,
                              const InputBoxAnswer& /*answer*/) {}
};

}  // namespace sl::ui

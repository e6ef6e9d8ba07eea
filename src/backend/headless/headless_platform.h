// The headless Platform: no window, no sound device, a virtual clock, and an event script as the
// only user. Windows exist as records (name, visibility, the last frame presented); input comes
// from the script's commands as they fall due; message and input boxes are answered from the
// script's queued answers or take their default; everything visible goes to the trace.
//
// Time moves only when the program waits: WaitEvent jumps the clock straight to the earlier of
// the program's own deadline (its next timer) and the next scripted command, so a run is exact,
// repeatable and as fast as the CPU. Script commands are taken only while the program waits after
// a full pass of its loop at the current time (the previous command's input handled, due timers
// fired, windows repainted), so a `dump` or `screenshot` sees what the user would see.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "backend/headless/dialog_answers.h"
#include "backend/headless/event_script.h"
#include "backend/headless/trace.h"
#include "core/clock.h"
#include "ui/platform.h"

namespace sl {

struct HeadlessOptions {
  CivilTime start{2004, 3, 7, 12, 0, 0, 0};  // wall-clock time at which the run starts
  ui::Size display{1024, 768};
};

class HeadlessPlatform final : public ui::Platform {
 public:
  // `trace` and `settings` must outlive the platform.
  HeadlessPlatform(Trace& trace, ui::UserSettings& settings, const HeadlessOptions& options = {});
  ~HeadlessPlatform() override;
  HeadlessPlatform(const HeadlessPlatform&) = delete;
  HeadlessPlatform& operator=(const HeadlessPlatform&) = delete;

  // The script to play; `source` names it in warnings ("events.txt:12: ...").
  void SetScript(std::vector<ScriptCommand> commands, std::string source);
  // Called once when the script has run out and its quit did not end the program within a grace
  // time (or the program waits with nothing left that could ever happen): the caller ends its
  // loop (EventLoop::RequestQuit).
  void SetGiveUpHandler(std::function<void()> handler) { giveUp_ = std::move(handler); }
  // Where warnings go (a queued answer that fits no button, a screenshot that failed); standard
  // error by default.
  void SetWarningHandler(std::function<void(const std::string&)> handler) {
    warn_ = std::move(handler);
  }

  VirtualClock& Virtual() { return clock_; }
  // How often the program has waited: the measure of how little work a wait costs.
  std::int64_t WaitCount() const { return waitCount_; }
  // True once every command of the script has been taken.
  bool ScriptDone() const { return cursor_ >= commands_.size(); }
  // A named command of the script (control, select, menu) named nothing that exists: warns
  // with the command's line. The run is then a failed one (ScriptFailed).
  void ReportInputError(const std::string& message);
  bool ScriptFailed() const { return scriptFailed_; }
  // Names of the visible windows, front first.
  std::vector<std::string> VisibleWindows() const;
  // What the program asked of the desktop's window manager, which a run without windows only
  // records, in order: "topmost NAME", "not topmost NAME" (a window entering or leaving the
  // always-on-top state) and "drag NAME" (a body drag of a shown window).
  const std::vector<std::string>& DesktopRequests() const { return desktopRequests_; }
  // Writes the active window's last presented frame to `file` as PNG; false (with a warning)
  // when there is no such frame or the file cannot be written. `line` is the script line that
  // asked, for the warning.
  bool Screenshot(const std::string& file, int line = 0);

  // ---- ui::Platform ----
  Clock& GetClock() override { return clock_; }
  ui::Size DisplaySize() const override { return display_; }
  bool SetDisplaySize(ui::Size size) override;
  ui::WindowId CreateWindow(const ui::WindowSpec& spec) override;
  void DestroyWindow(ui::WindowId window) override;
  void ShowWindow(ui::WindowId window, bool shown) override;
  void UpdateWindow(ui::WindowId window, const ui::WindowSpec& spec) override;
  void ActivateWindow(ui::WindowId window) override;
  void BeginWindowDrag(ui::WindowId window) override;
  void Present(ui::WindowId window, const ui::FrameView& frame) override;
  bool PollEvent(ui::InputEvent& event) override;
  void WaitEvent(std::int64_t deadlineMs) override;
  void SetCursor(int pointer, const ui::CursorImage* custom) override;
  ui::AudioOutput* Audio() override { return nullptr; }
  ui::UserSettings& Settings() override { return settings_; }
  bool ShellOpen(std::string_view verb, std::string_view target) override;
  std::unique_ptr<ui::ChildProcess> StartProgram(std::string_view path) override;
  std::optional<MsgAnswer> AnswerMessageBox(const MessageBoxRequest& request) override;
  std::optional<ui::InputBoxAnswer> AnswerInputBox(const ui::InputBoxRequest& request) override;
  void MessageBoxClosed(const MessageBoxRequest& request, MsgAnswer answer) override;
  void InputBoxClosed(const ui::InputBoxRequest& request,
                      const ui::InputBoxAnswer& answer) override;

  // Virtual time the program may go on after the script has run out and asked it to quit.
  static constexpr std::int64_t kGraceMs = 30'000;

 private:
  struct Window {
    ui::WindowSpec spec;
    bool shown = false;
    std::vector<std::uint8_t> rgba;  // the last frame, rows packed
    int frameWidth = 0;
    int frameHeight = 0;
  };

  void PumpScript();
  void RunCommand(const ScriptCommand& command);
  void Warn(int line, const std::string& message);
  void RaiseToFront(ui::WindowId id);
  bool SwallowedByDrag(const ui::InputEvent& event);
  ui::WindowId ScreenshotWindow() const;

  VirtualClock clock_;
  Trace& trace_;
  ui::UserSettings& settings_;
  ui::Size display_;
  std::map<ui::WindowId, Window> windows_;
  std::vector<ui::WindowId> zOrder_;  // front first
  ui::WindowId active_ = 0;
  ui::WindowId nextId_ = 1;
  int cursorPointer_ = 0;

  std::vector<ScriptCommand> commands_;
  std::string source_ = "events";
  std::size_t cursor_ = 0;
  std::int64_t scriptTime_ = 0;  // when the next command falls due
  std::vector<ui::InputEvent> pending_;
  int pendingLine_ = 0;  // the script line the pending input comes from
  bool scriptFailed_ = false;
  int heldButtons_ = 0;  // pressed by the script and not yet released
  std::size_t pendingHead_ = 0;
  bool quitSent_ = false;     // the end of the script has asked the program to quit
  std::int64_t endTime_ = 0;  // when it did
  int stalls_ = 0;
  bool passSeen_ = false;  // the loop has run a pass since the clock last moved

  DialogAnswers answers_;
  bool lastBoxByDefault_ = false;
  bool lastInputByDefault_ = false;

  std::vector<std::string> desktopRequests_;
  bool dragging_ = false;  // a body drag runs until the left button is released

  std::int64_t waitCount_ = 0;
  std::function<void()> giveUp_;
  std::function<void(const std::string&)> warn_;
};

}  // namespace sl

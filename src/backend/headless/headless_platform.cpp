// The headless platform (see headless_platform.h).
#include "backend/headless/headless_platform.h"

#include <algorithm>
#include <cstring>
#include <iostream>
#include <stdexcept>

#include "backend/headless/script_input.h"
#include "ui/draw/png_io.h"
#include "ui/draw/surface.h"
#include "ui/event_loop.h"

namespace sl {

namespace {

constexpr int kMaxDisplaySide = 16384;

// A started program in a headless run: nothing is started, it has ended at once.
class EndedProcess final : public ui::ChildProcess {
 public:
  bool Running() override { return false; }
  int ExitCode() override { return 0; }
};

}  // namespace

HeadlessPlatform::HeadlessPlatform(Trace& trace, ui::UserSettings& settings,
                                   const HeadlessOptions& options)
    : clock_(options.start), trace_(trace), settings_(settings), display_(options.display) {
  trace_.SetClock(&clock_);
  trace_.SetWindowsProvider([this] {
    JsonArray names;
    for (const std::string& name : VisibleWindows())
      names.emplace_back(name);
    return names;
  });
}

HeadlessPlatform::~HeadlessPlatform() {
  trace_.SetWindowsProvider(nullptr);
  trace_.SetClock(nullptr);
}

void HeadlessPlatform::SetScript(std::vector<ScriptCommand> commands, std::string source) {
  commands_ = std::move(commands);
  source_ = std::move(source);
  cursor_ = 0;
  scriptTime_ = clock_.MonotonicMs();
  quitSent_ = false;
}

void HeadlessPlatform::Warn(int line, const std::string& message) {
  // Built by appending: ":" + std::to_string(line) makes GCC 12 at -O3 warn falsely of an
  // overlapping copy (-Wrestrict).
  std::string text = source_;
  if (line > 0) text.append(1, ':').append(std::to_string(line));
  text.append(": ").append(message);
  if (warn_) {
    warn_(text);
  } else {
    std::cerr << "storyloom: " << text << '\n';
  }
}

// ---- The script ----

void HeadlessPlatform::ReportInputError(const std::string& message) {
  scriptFailed_ = true;
  Warn(pendingLine_, message);
}

bool HeadlessPlatform::PollEvent(ui::InputEvent& event) {
  do {
    if (pendingHead_ >= pending_.size()) {
      // The loop has taken all input: the rest of its pass (timers, repaint) follows before it
      // waits again, so the script may go on at the next wait.
      passSeen_ = true;
      return false;
    }
    event = std::move(pending_[pendingHead_++]);
    if (pendingHead_ == pending_.size()) {
      pending_.clear();
      pendingHead_ = 0;
    }
  } while (SwallowedByDrag(event));
  return true;
}

// While a body drag runs the desktop moves the window and the program sees neither the
// pointer's moves nor the release that ends the drag; a run without windows does the same.
bool HeadlessPlatform::SwallowedByDrag(const ui::InputEvent& event) {
  if (!dragging_) return false;
  if (event.kind == ui::InputKind::MouseMove && (event.button & ui::kButtonLeft)) return true;
  dragging_ = false;
  return event.kind == ui::InputKind::MouseUp && event.button == ui::kButtonLeft;
}

void HeadlessPlatform::WaitEvent(std::int64_t deadlineMs) {
  ++waitCount_;
  if (pendingHead_ < pending_.size()) return;
  // The script goes on only after the program has had a full pass of its loop at the current
  // time (input dispatched, due timers fired, windows repainted), so that `dump` and
  // `screenshot` see what the user would see.
  if (!passSeen_) return;
  PumpScript();
  if (pendingHead_ < pending_.size()) return;
  std::int64_t now = clock_.MonotonicMs();
  if (deadlineMs <= now) return;

  std::int64_t next = deadlineMs;
  if (!quitSent_) {
    next = std::min(next, scriptTime_);  // the next command, or the end of the script
  } else if (quitSent_ && (next == ui::kNoDeadline || next - endTime_ > kGraceMs)) {
    // The script is over, the program was asked to quit and still runs: either nothing can
    // ever happen again or it goes on by itself. Ask the owner to end the run, once; a program
    // that still waits for nothing after that would hang, which a test run must never do.
    if (stalls_++ == 0 && giveUp_) {
      giveUp_();
      return;
    }
    if (next == ui::kNoDeadline)
      throw std::runtime_error("the program waits for nothing after its event script ended");
  }
  clock_.AdvanceTo(next);
  passSeen_ = false;
}

// Runs the commands that are due, up to and including the first that makes input: the next
// ones wait until that input has been handled (the program waits again).
void HeadlessPlatform::PumpScript() {
  while (pendingHead_ >= pending_.size() && !ScriptDone() && scriptTime_ <= clock_.MonotonicMs()) {
    const ScriptCommand& command = commands_[cursor_++];
    RunCommand(command);
    if (command.kind == ScriptCommandKind::Quit && ScriptDone()) {
      quitSent_ = true;
      endTime_ = clock_.MonotonicMs();
    }
  }
  if (pendingHead_ >= pending_.size() && ScriptDone() && !quitSent_ &&
      scriptTime_ <= clock_.MonotonicMs()) {
    // The script has run out: the run ends as if the user closed the program.
    ui::InputEvent quit;
    quit.kind = ui::InputKind::Quit;
    pending_.push_back(quit);
    pendingLine_ = 0;
    quitSent_ = true;
    endTime_ = clock_.MonotonicMs();
  }
}

void HeadlessPlatform::RunCommand(const ScriptCommand& command) {
  using K = ScriptCommandKind;
  switch (command.kind) {
    case K::Wait:
      scriptTime_ = clock_.MonotonicMs() + command.ms;
      break;
    case K::Answer:
      answers_.QueueMessageBox(command.answer, command.line);
      break;
    case K::Input:
      answers_.QueueInputBox(command.text);
      break;
    case K::InputCancel:
      answers_.QueueInputBox(std::nullopt);
      break;
    case K::Dump:
      trace_.State();
      break;
    case K::Screenshot:
      Screenshot(command.text, command.line);
      break;
    default:
      pendingLine_ = command.line;
      for (ui::InputEvent& event : InputEventsFor(command)) {
        // A move carries the buttons still held from earlier presses, as on a desktop.
        if (event.kind == ui::InputKind::MouseDown) heldButtons_ |= event.button;
        if (event.kind == ui::InputKind::MouseUp) heldButtons_ &= ~event.button;
        if (event.kind == ui::InputKind::MouseMove) event.button |= heldButtons_;
        pending_.push_back(std::move(event));
      }
      break;
  }
}

// ---- Dialogs ----

std::optional<MsgAnswer> HeadlessPlatform::AnswerMessageBox(const MessageBoxRequest& request) {
  DialogAnswers::BoxAnswer answer = answers_.TakeForMessageBox(request);
  if (!answer.mismatch.empty()) Warn(answer.line, answer.mismatch);
  lastBoxByDefault_ = answer.byDefault;
  return answer.answer;
}

std::optional<ui::InputBoxAnswer> HeadlessPlatform::AnswerInputBox(const ui::InputBoxRequest&) {
  DialogAnswers::TextAnswer answer = answers_.TakeForInputBox();
  lastInputByDefault_ = answer.byDefault;
  ui::InputBoxAnswer result;
  result.cancelled = !answer.text;
  if (answer.text) result.text = std::move(*answer.text);
  return result;
}

void HeadlessPlatform::MessageBoxClosed(const MessageBoxRequest& request, MsgAnswer answer) {
  trace_.MsgBox(request, answer, std::exchange(lastBoxByDefault_, false));
}

void HeadlessPlatform::InputBoxClosed(const ui::InputBoxRequest& request,
                                      const ui::InputBoxAnswer& answer) {
  std::optional<std::string> text;
  if (!answer.cancelled) text = answer.text;
  trace_.InputBox(request.title, request.prompt, request.defaultText, text,
                  std::exchange(lastInputByDefault_, false));
}

// ---- Display and windows ----

bool HeadlessPlatform::SetDisplaySize(ui::Size size) {
  if (size.width <= 0 || size.height <= 0 || size.width > kMaxDisplaySide ||
      size.height > kMaxDisplaySide)
    return false;
  if (size == display_) return true;
  display_ = size;
  trace_.Display(size.width, size.height);
  return true;
}

ui::WindowId HeadlessPlatform::CreateWindow(const ui::WindowSpec& spec) {
  ui::WindowId id = nextId_++;
  windows_[id].spec = spec;
  if (spec.topMost) desktopRequests_.push_back("topmost " + spec.name);
  zOrder_.push_back(id);
  return id;
}

void HeadlessPlatform::DestroyWindow(ui::WindowId window) {
  auto it = windows_.find(window);
  if (it == windows_.end()) return;
  if (it->second.shown) trace_.Window(it->second.spec.name, false);
  windows_.erase(it);
  std::erase(zOrder_, window);
  if (active_ == window) active_ = 0;
}

void HeadlessPlatform::ShowWindow(ui::WindowId window, bool shown) {
  auto it = windows_.find(window);
  if (it == windows_.end() || it->second.shown == shown) return;
  it->second.shown = shown;
  if (shown) RaiseToFront(window);
  trace_.Window(it->second.spec.name, shown);
}

void HeadlessPlatform::UpdateWindow(ui::WindowId window, const ui::WindowSpec& spec) {
  auto it = windows_.find(window);
  if (it == windows_.end()) return;
  std::string name = std::move(it->second.spec.name);
  if (spec.topMost != it->second.spec.topMost)
    desktopRequests_.push_back((spec.topMost ? "topmost " : "not topmost ") + name);
  it->second.spec = spec;
  it->second.spec.name = std::move(name);
}

void HeadlessPlatform::ActivateWindow(ui::WindowId window) {
  if (!windows_.contains(window)) return;
  active_ = window;
  RaiseToFront(window);
}

void HeadlessPlatform::BeginWindowDrag(ui::WindowId window) {
  auto it = windows_.find(window);
  if (it == windows_.end() || !it->second.shown) return;
  desktopRequests_.push_back("drag " + it->second.spec.name);
  dragging_ = true;
}

void HeadlessPlatform::RaiseToFront(ui::WindowId id) {
  auto it = std::find(zOrder_.begin(), zOrder_.end(), id);
  if (it == zOrder_.end()) return;
  std::rotate(zOrder_.begin(), it, it + 1);
}

std::vector<std::string> HeadlessPlatform::VisibleWindows() const {
  std::vector<std::string> names;
  for (ui::WindowId id : zOrder_) {
    const Window& w = windows_.at(id);
    if (w.shown) names.push_back(w.spec.name);
  }
  return names;
}

void HeadlessPlatform::Present(ui::WindowId window, const ui::FrameView& frame) {
  auto it = windows_.find(window);
  if (it == windows_.end() || !frame.rgba || frame.width <= 0 || frame.height <= 0) return;
  Window& w = it->second;
  std::size_t rowBytes = static_cast<std::size_t>(frame.width) * 4;
  w.rgba.resize(rowBytes * frame.height);
  for (int y = 0; y < frame.height; ++y)
    std::memcpy(w.rgba.data() + rowBytes * y,
                frame.rgba + static_cast<std::size_t>(frame.stride) * y, rowBytes);
  w.frameWidth = frame.width;
  w.frameHeight = frame.height;
}

// The window commands go to: the topmost visible modal window, else the active one, else the
// frontmost visible one.
ui::WindowId HeadlessPlatform::ScreenshotWindow() const {
  for (ui::WindowId id : zOrder_) {
    const Window& w = windows_.at(id);
    if (w.shown && w.spec.modal) return id;
  }
  if (active_ && windows_.at(active_).shown) return active_;
  for (ui::WindowId id : zOrder_)
    if (windows_.at(id).shown) return id;
  return 0;
}

bool HeadlessPlatform::Screenshot(const std::string& file, int line) {
  ui::WindowId id = ScreenshotWindow();
  if (!id) {
    Warn(line, "screenshot " + file + ": no window is shown");
    return false;
  }
  const Window& w = windows_.at(id);
  if (w.rgba.empty()) {
    Warn(line, "screenshot " + file + ": window " + w.spec.name + " has not been drawn yet");
    return false;
  }
  try {
    draw::SavePng(draw::Surface::FromStraightRgba(w.rgba.data(), w.frameWidth, w.frameHeight,
                                                  w.frameWidth * 4),
                  file);
  } catch (const std::exception& e) {
    Warn(line, "screenshot " + file + ": " + e.what());
    return false;
  }
  return true;
}

// ---- Pointer and desktop ----

void HeadlessPlatform::SetCursor(int pointer, const ui::CursorImage*) {
  cursorPointer_ = pointer;
}

bool HeadlessPlatform::ShellOpen(std::string_view verb, std::string_view target) {
  trace_.Shell(verb, target);
  return true;
}

std::unique_ptr<ui::ChildProcess> HeadlessPlatform::StartProgram(std::string_view path) {
  trace_.Shell("run", path);
  return std::make_unique<EndedProcess>();
}

}  // namespace sl

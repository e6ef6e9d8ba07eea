// The trace of a run: JSON Lines of everything a player of the game would see or hear, one
// record a line with the clock time `t` (ms since the start) and the kind `ev` first. Each kind
// has its own function here so no caller can misspell a field. Every line is flushed as it is
// written, so a run that crashes or hangs leaves its trace up to that point.
//
// A trace without an output accepts every call and writes nothing, so code can record
// unconditionally.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "backend/headless/json_value.h"
#include "core/clock.h"
#include "core/message_box.h"

namespace sl {

enum class VideoTarget { PictureBox, CutSceneArea };
enum class VideoOp { Start, End };
enum class FileOp { Write, Delete };

struct TraceRect {
  int left = 0, top = 0, width = 0, height = 0;
};

class Trace {
 public:
  // A trace that writes nothing.
  Trace() = default;
  // Writes to `out`, which must outlive the trace.
  Trace(std::ostream& out, const Clock& clock, std::filesystem::path projectDir = {});
  // Writes to `out` with no clock yet (SetClock), all times 0 until then.
  explicit Trace(std::ostream& out) : out_(&out) {}
  // Writes to the file `target` ("-" = standard output). Throws std::runtime_error when the
  // file cannot be created.
  static std::unique_ptr<Trace> Open(const std::string& target, const Clock* clock,
                                     std::filesystem::path projectDir = {});

  bool Enabled() const noexcept { return out_ != nullptr; }
  // The folder against which paths are made relative (the project folder).
  void SetProjectDir(const std::filesystem::path& dir);
  // The clock of `t`; nullptr detaches it (later records keep the last time written).
  void SetClock(const Clock* clock) noexcept {
    if (clock_) lastTime_ = clock_->MonotonicMs();
    clock_ = clock;
  }

  void Window(std::string_view name, bool shown);
  // `taken` is the button that closed the box; `byDefault` when no answer was queued for it.
  void MsgBox(const MessageBoxRequest& box, MsgAnswer taken, bool byDefault);
  // `answer` is the text entered, or nullopt for Cancel.
  void InputBox(std::string_view title, std::string_view prompt, std::string_view defaultText,
                const std::optional<std::string>& answer, bool byDefault);
  void Frame(std::string_view name);
  void SoundPlay(int player, const std::filesystem::path& file, int count, int volume);
  void SoundStop(int player);
  void SoundVolume(int player, int volume);
  // The player's sound played to its true end by itself.
  void SoundEnd(int player);
  void Mci(std::string_view command);
  void Video(VideoOp op, const std::filesystem::path& file, VideoTarget target, bool stretched,
             const TraceRect& rect, double durationSeconds);
  // An animated transition starts (`op` "start") at `startMs` on the clock, and ends (`op`
  // "end") at `endMs`, at its full length or earlier when `interrupted` by a click.
  void Transition(int number, double durationSeconds, std::int64_t startMs);
  void TransitionEnd(int number, double durationSeconds, std::int64_t startMs, std::int64_t endMs,
                     bool interrupted);
  void Setting(std::string_view section, std::string_view key, std::string_view value);
  // A deleted setting: `value` null; `key` null too when the whole section (empty key) went.
  void SettingDeleted(std::string_view section, std::string_view key);
  void File(FileOp op, const std::filesystem::path& path);
  // `target` is a path (made relative like every path) or an address (written as it is).
  void Shell(std::string_view verb, std::string_view target);
  void Display(int width, int height);
  void Exit(int code);

  // The `state` record of `dump`: the player's fields (from its provider), then the visible
  // windows (from the window runtime's provider) unless the player gave them itself.
  using StateProvider = std::function<JsonObject()>;
  using WindowsProvider = std::function<JsonArray()>;
  void SetStateProvider(StateProvider provider) { stateProvider_ = std::move(provider); }
  void SetWindowsProvider(WindowsProvider provider) { windowsProvider_ = std::move(provider); }
  void State();

  // A path as the trace writes it: relative with '/' inside the project folder, else whole.
  std::string PathText(const std::filesystem::path& path) const;

 private:
  void Write(std::string_view ev, const JsonObject& fields);

  std::ostream* out_ = nullptr;
  std::unique_ptr<std::ostream> ownedOut_;
  const Clock* clock_ = nullptr;
  std::int64_t lastTime_ = 0;
  std::filesystem::path projectDir_;  // normalised absolute, or empty
  StateProvider stateProvider_;
  WindowsProvider windowsProvider_;
};

// Trace names of the message box's parts ("ok", "yesnocancel", "question", ...).
std::string_view AnswerName(MsgAnswer answer);
std::string_view ButtonsName(MsgButtons buttons);
std::string_view IconName(MsgIcon icon);

}  // namespace sl

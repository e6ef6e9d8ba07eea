// Writing the trace (see trace.h).
#include "backend/headless/trace.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <system_error>

namespace sl {

namespace {

std::filesystem::path Normalised(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  if (ec) absolute = path;
  std::filesystem::path canonical = std::filesystem::weakly_canonical(absolute, ec);
  return (ec ? absolute : canonical).lexically_normal();
}

// True for "https://...", "mailto:...": things the desktop opens that are not files.
bool IsAddress(std::string_view target) {
  std::size_t colon = target.find(':');
  if (colon == std::string_view::npos || colon < 2) return false;  // "C:" is a drive
  for (std::size_t i = 0; i < colon; ++i) {
    char c = target[i];
    bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (i > 0 && c >= '0' && c <= '9') ||
              (i > 0 && (c == '+' || c == '-' || c == '.'));
    if (!ok) return false;
  }
  return true;
}

}  // namespace

Trace::Trace(std::ostream& out, const Clock& clock, std::filesystem::path projectDir)
    : out_(&out), clock_(&clock) {
  SetProjectDir(projectDir);
}

std::unique_ptr<Trace> Trace::Open(const std::string& target, const Clock* clock,
                                   std::filesystem::path projectDir) {
  std::unique_ptr<std::ofstream> file;
  if (target != "-") {
    file = std::make_unique<std::ofstream>(target, std::ios::binary | std::ios::trunc);
    if (!*file) throw std::runtime_error("cannot write the trace file '" + target + "'");
  }
  auto trace = std::make_unique<Trace>(file ? static_cast<std::ostream&>(*file) : std::cout);
  trace->SetClock(clock);
  trace->SetProjectDir(projectDir);
  trace->ownedOut_ = std::move(file);
  return trace;
}

void Trace::SetProjectDir(const std::filesystem::path& dir) {
  projectDir_ = dir.empty() ? dir : Normalised(dir);
}

std::string Trace::PathText(const std::filesystem::path& path) const {
  if (path.empty()) return {};
  std::filesystem::path full = Normalised(path);
  if (!projectDir_.empty()) {
    auto [dirEnd, fullIt] =
        std::mismatch(projectDir_.begin(), projectDir_.end(), full.begin(), full.end());
    // A trailing separator of the folder shows up as one empty last element.
    if (dirEnd != projectDir_.end() && dirEnd->empty() && std::next(dirEnd) == projectDir_.end())
      dirEnd = projectDir_.end();
    if (dirEnd == projectDir_.end() && fullIt != full.end()) {
      std::filesystem::path relative;
      for (; fullIt != full.end(); ++fullIt)
        relative /= *fullIt;
      return relative.generic_string();
    }
  }
  return full.generic_string();
}

void Trace::Write(std::string_view ev, const JsonObject& fields) {
  if (!out_) return;
  std::string line = "{\"t\":";
  if (clock_) lastTime_ = clock_->MonotonicMs();
  line += std::to_string(lastTime_);
  line += ",\"ev\":";
  AppendJsonString(line, ev);
  for (const auto& [name, value] : fields) {
    line += ',';
    AppendJsonString(line, name);
    line += ':';
    value.WriteTo(line);
  }
  line += "}\n";
  out_->write(line.data(), static_cast<std::streamsize>(line.size()));
  out_->flush();
}

void Trace::Window(std::string_view name, bool shown) {
  Write("window", {{"name", name}, {"shown", shown}});
}

void Trace::MsgBox(const MessageBoxRequest& box, MsgAnswer taken, bool byDefault) {
  Write("msgbox", {{"title", box.title},
                   {"text", box.text},
                   {"icon", IconName(box.icon)},
                   {"buttons", ButtonsName(box.buttons)},
                   {"answer", byDefault ? std::string_view("default") : AnswerName(taken)},
                   {"button", AnswerName(taken)}});
}

void Trace::InputBox(std::string_view title, std::string_view prompt, std::string_view defaultText,
                     const std::optional<std::string>& answer, bool byDefault) {
  JsonObject fields{{"title", title}, {"prompt", prompt}, {"default", defaultText}};
  if (byDefault) {
    fields.emplace_back("answer", "default");
    fields.emplace_back("button", answer ? "ok" : "cancel");
  } else {
    fields.emplace_back("answer", answer ? JsonValue(*answer) : JsonValue());
  }
  Write("inputbox", fields);
}

void Trace::Frame(std::string_view name) {
  Write("frame", {{"name", name}});
}

void Trace::SoundPlay(int player, const std::filesystem::path& file, int count, int volume) {
  Write("sound", {{"player", player},
                  {"op", "play"},
                  {"file", PathText(file)},
                  {"count", count},
                  {"volume", volume}});
}

void Trace::SoundStop(int player) {
  Write("sound", {{"player", player}, {"op", "stop"}});
}

void Trace::SoundVolume(int player, int volume) {
  Write("sound", {{"player", player}, {"op", "volume"}, {"volume", volume}});
}

void Trace::SoundEnd(int player) {
  Write("sound", {{"player", player}, {"op", "end"}});
}

void Trace::Mci(std::string_view command) {
  Write("mci", {{"cmd", command}});
}

void Trace::Video(VideoOp op, const std::filesystem::path& file, VideoTarget target, bool stretched,
                  const TraceRect& rect, double durationSeconds) {
  Write("video", {{"op", op == VideoOp::Start ? "start" : "end"},
                  {"file", PathText(file)},
                  {"target", target == VideoTarget::PictureBox ? "PictureBox" : "CutSceneArea"},
                  {"stretched", stretched},
                  {"rect", JsonArray{rect.left, rect.top, rect.width, rect.height}},
                  {"duration", durationSeconds}});
}

void Trace::Transition(int number, double durationSeconds, std::int64_t startMs) {
  Write("transition",
        {{"number", number}, {"duration", durationSeconds}, {"op", "start"}, {"start", startMs}});
}

void Trace::TransitionEnd(int number, double durationSeconds, std::int64_t startMs,
                          std::int64_t endMs, bool interrupted) {
  Write("transition", {{"number", number},
                       {"duration", durationSeconds},
                       {"op", "end"},
                       {"start", startMs},
                       {"end", endMs},
                       {"interrupted", interrupted}});
}

void Trace::Setting(std::string_view section, std::string_view key, std::string_view value) {
  Write("setting", {{"section", section}, {"key", key}, {"value", value}});
}

void Trace::SettingDeleted(std::string_view section, std::string_view key) {
  Write("setting", {{"section", section},
                    {"key", key.empty() ? JsonValue() : JsonValue(key)},
                    {"value", nullptr}});
}

void Trace::File(FileOp op, const std::filesystem::path& path) {
  Write("file", {{"op", op == FileOp::Write ? "write" : "delete"}, {"path", PathText(path)}});
}

void Trace::Shell(std::string_view verb, std::string_view target) {
  std::string text = IsAddress(target) ? std::string(target) : PathText(std::string(target));
  Write("shell", {{"verb", verb}, {"target", text}});
}

void Trace::Display(int width, int height) {
  Write("display", {{"width", width}, {"height", height}});
}

void Trace::Exit(int code) {
  Write("exit", {{"code", code}});
}

void Trace::State() {
  if (!out_) return;
  JsonObject fields = stateProvider_ ? stateProvider_() : JsonObject{};
  bool hasWindows = false;
  for (const auto& field : fields)
    hasWindows = hasWindows || field.first == "windows";
  if (!hasWindows && windowsProvider_) fields.emplace_back("windows", windowsProvider_());
  Write("state", fields);
}

std::string_view AnswerName(MsgAnswer answer) {
  switch (answer) {
    case MsgAnswer::Ok:
      return "ok";
    case MsgAnswer::Cancel:
      return "cancel";
    case MsgAnswer::Abort:
      return "abort";
    case MsgAnswer::Retry:
      return "retry";
    case MsgAnswer::Ignore:
      return "ignore";
    case MsgAnswer::Yes:
      return "yes";
    case MsgAnswer::No:
      return "no";
  }
  return "ok";
}

std::string_view ButtonsName(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::Ok:
      return "ok";
    case MsgButtons::OkCancel:
      return "okcancel";
    case MsgButtons::AbortRetryIgnore:
      return "abortretryignore";
    case MsgButtons::YesNoCancel:
      return "yesnocancel";
    case MsgButtons::YesNo:
      return "yesno";
    case MsgButtons::RetryCancel:
      return "retrycancel";
  }
  return "ok";
}

std::string_view IconName(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Critical:
      return "critical";
    case MsgIcon::Question:
      return "question";
    case MsgIcon::Exclamation:
      return "exclamation";
    case MsgIcon::Information:
      return "information";
    case MsgIcon::None:
      return "none";
  }
  return "none";
}

}  // namespace sl

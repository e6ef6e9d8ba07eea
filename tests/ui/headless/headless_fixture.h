// Shared pieces of the headless platform tests: an in-memory settings store and an event-loop
// client that records the input it gets and ends the loop on a quit request.
#pragma once

#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "backend/headless/headless_platform.h"
#include "ui/event_loop.h"

namespace sl::test {

class MemorySettings final : public ui::UserSettings {
 public:
  std::optional<std::string> Get(std::string_view app, std::string_view section,
                                 std::string_view key) override {
    auto it = values_.find({std::string(app), std::string(section), std::string(key)});
    if (it == values_.end()) return std::nullopt;
    return it->second;
  }
  void Save(std::string_view app, std::string_view section, std::string_view key,
            std::string_view value) override {
    values_[{std::string(app), std::string(section), std::string(key)}] = value;
  }
  void Delete(std::string_view app, std::string_view section, std::string_view key) override {
    values_.erase({std::string(app), std::string(section), std::string(key)});
  }

 private:
  std::map<std::tuple<std::string, std::string, std::string>, std::string> values_;
};

class RecordingClient final : public ui::EventLoop::Client {
 public:
  explicit RecordingClient(ui::EventLoop& loop) : loop_(loop) { loop.SetClient(this); }
  ~RecordingClient() override { loop_.SetClient(nullptr); }

  void HandleInput(const ui::InputEvent& event) override {
    events.push_back(event);
    if (onInput) onInput(event);
    if (event.kind == ui::InputKind::Quit && quitEndsLoop) loop_.RequestQuit();
  }
  void Repaint() override { ++repaints; }

  std::vector<ui::InputEvent> events;
  std::function<void(const ui::InputEvent&)> onInput;
  bool quitEndsLoop = true;
  int repaints = 0;

 private:
  ui::EventLoop& loop_;
};

// A platform with its trace in a string, a loop and a recording client.
struct HeadlessRun {
  explicit HeadlessRun(const std::string& script) {
    platform.SetScript(ParseEventScript(script, "events.txt"), "events.txt");
    platform.SetWarningHandler([this](const std::string& w) { warnings.push_back(w); });
    platform.SetGiveUpHandler([this] {
      gaveUp = true;
      loop.RequestQuit();
    });
  }
  void Run() {
    loop.RunUntil([] { return false; });
  }
  std::string Trace() const { return out.str(); }

  std::ostringstream out;
  VirtualClock traceClock{CivilTime{}};
  sl::Trace trace{out, traceClock};
  MemorySettings settings;
  HeadlessPlatform platform{trace, settings};
  ui::EventLoop loop{platform};
  RecordingClient client{loop};
  std::vector<std::string> warnings;
  bool gaveUp = false;
};

}  // namespace sl::test

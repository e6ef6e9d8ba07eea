// A Platform for tests: a virtual clock, a queue of timed input events, recorded windows,
// frames and pointers, and counters of how often the runtime waited.
#pragma once

#include <algorithm>
#include <deque>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/clock.h"
#include "ui/platform.h"

namespace sl::ui::test {

class FakeSettings final : public UserSettings {
 public:
  std::optional<std::string> Get(std::string_view app, std::string_view section,
                                 std::string_view key) override {
    auto it = values.find(Key(app, section, key));
    if (it == values.end()) return std::nullopt;
    return it->second;
  }
  void Save(std::string_view app, std::string_view section, std::string_view key,
            std::string_view value) override {
    values[Key(app, section, key)] = std::string(value);
  }
  void Delete(std::string_view app, std::string_view section, std::string_view key) override {
    values.erase(Key(app, section, key));
  }
  std::map<std::string, std::string> values;

 private:
  static std::string Key(std::string_view a, std::string_view s, std::string_view k) {
    return std::string(a) + "|" + std::string(s) + "|" + std::string(k);
  }
};

class FakePlatform : public Platform {
 public:
  FakePlatform() : clock({2004, 3, 7, 12, 0, 0, 0}) {}

  Clock& GetClock() override { return clock; }
  Size DisplaySize() const override { return display; }
  bool SetDisplaySize(Size size) override {
    display = size;
    return true;
  }

  WindowId CreateWindow(const WindowSpec& spec) override {
    WindowId id = nextId++;
    windows[id] = Window{spec, false, {}};
    return id;
  }
  void DestroyWindow(WindowId window) override { windows.erase(window); }
  void ShowWindow(WindowId window, bool shown) override {
    if (windows.count(window)) windows[window].shown = shown;
  }
  void UpdateWindow(WindowId window, const WindowSpec& spec) override {
    if (windows.count(window)) windows[window].spec = spec;
  }
  void ActivateWindow(WindowId window) override { active = window; }
  void Present(WindowId window, const FrameView& frame) override {
    ++presents;
    auto& w = windows[window];
    w.frameWidth = frame.width;
    w.frameHeight = frame.height;
    w.pixels.assign(static_cast<std::size_t>(frame.width) * frame.height * 4, 0);
    for (int y = 0; y < frame.height; ++y) {
      const std::uint8_t* src = frame.rgba + static_cast<std::ptrdiff_t>(y) * frame.stride;
      std::copy(src, src + frame.width * 4, w.pixels.begin() + std::ptrdiff_t(y) * frame.width * 4);
    }
  }

  // Events become pending once the clock reaches their time.
  void Post(InputEvent event, std::int64_t atMs = -1) {
    queue.push_back({atMs < 0 ? clock.MonotonicMs() : atMs, std::move(event)});
  }
  bool PollEvent(InputEvent& event) override {
    if (queue.empty() || queue.front().first > clock.MonotonicMs()) return false;
    event = std::move(queue.front().second);
    queue.pop_front();
    return true;
  }
  void WaitEvent(std::int64_t deadlineMs) override {
    ++waits;
    std::int64_t until = deadlineMs;
    if (!queue.empty()) until = std::min(until, queue.front().first);
    if (until == kNoDeadlineHere) {
      ++waitsForever;
      return;
    }
    clock.AdvanceTo(until);
  }

  void SetCursor(int pointer, const CursorImage* custom) override {
    cursor = pointer;
    cursorImage = custom ? std::optional<CursorImage>(*custom) : std::nullopt;
  }
  AudioOutput* Audio() override { return nullptr; }
  UserSettings& Settings() override { return settings; }
  bool ShellOpen(std::string_view verb, std::string_view target) override {
    shell.push_back(std::string(verb) + " " + std::string(target));
    return true;
  }
  std::unique_ptr<ChildProcess> StartProgram(std::string_view) override { return nullptr; }

  std::optional<MsgAnswer> AnswerMessageBox(const MessageBoxRequest&) override {
    if (msgAnswers.empty()) return std::nullopt;
    MsgAnswer a = msgAnswers.front();
    msgAnswers.pop_front();
    return a;
  }
  void MessageBoxClosed(const MessageBoxRequest& r, MsgAnswer a) override {
    closedBoxes.push_back({r, a});
  }

  struct Window {
    WindowSpec spec;
    bool shown = false;
    std::vector<std::uint8_t> pixels;
    int frameWidth = 0;
    int frameHeight = 0;
  };
  static constexpr std::int64_t kNoDeadlineHere = std::numeric_limits<std::int64_t>::max();

  VirtualClock clock;
  Size display{1024, 768};
  std::map<WindowId, Window> windows;
  WindowId nextId = 1;
  WindowId active = 0;
  std::deque<std::pair<std::int64_t, InputEvent>> queue;
  int waits = 0;
  int waitsForever = 0;
  int presents = 0;
  int cursor = 0;
  std::optional<CursorImage> cursorImage;
  FakeSettings settings;
  std::vector<std::string> shell;
  std::deque<MsgAnswer> msgAnswers;
  std::vector<std::pair<MessageBoxRequest, MsgAnswer>> closedBoxes;
};

}  // namespace sl::ui::test

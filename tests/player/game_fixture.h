// Runs the player in-process on a fixture project of tests/projects with the test platform:
// a virtual clock, input posted as the user would give it, message boxes answered from a queue.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/recording_message_box.h"
#include "player/player.h"
#include "ui/controls/menu.h"
#include "ui/fake_platform.h"

namespace sl::test {

class GameRun : public SoundObserver, public GameObserver {
 public:
  // `project` names a fixture of tests/projects, or is a whole path ("/tmp/...").
  explicit GameRun(const std::string& project, ui::Size display = {1024, 768}) {
    platform.display = display;
    player = std::make_unique<Player>(
        platform, boxes,
        project.starts_with('/') ? project : std::string(STORYLOOM_TEST_PROJECTS) + "/" + project);
    player->SetSoundObserver(this);
    player->SetGameObserver(this);
  }

  void Start() { player->Start(); }
  ui::EventLoop& Loop() { return player->Windows().Loop(); }
  Game& G() { return *player->GetGame(); }
  TitleWindow& Title() { return player->Title(); }

  // Lets `ms` of virtual time pass, running timers and input.
  void Wait(std::int64_t ms) { Loop().Sleep(ms); }
  void Post(ui::InputEvent e) {
    platform.Post(std::move(e));
    Loop().DoEvents();
  }
  void Key(int code, int shift = 0) {
    ui::InputEvent e;
    e.kind = ui::InputKind::KeyDown;
    e.keyCode = code;
    e.shift = shift;
    Post(e);
    e.kind = ui::InputKind::KeyUp;
    Post(e);
  }
  void Click(int x, int y, int button = ui::kButtonLeft) {
    ui::InputEvent e;
    e.kind = ui::InputKind::MouseDown;
    e.space = ui::CoordSpace::Client;
    e.x = x;
    e.y = y;
    e.button = button;
    Post(e);
    e.kind = ui::InputKind::MouseUp;
    Post(e);
  }
  // A left click at (x, y) of the window's client area that arrives when the clock reaches
  // `atMs`, in the middle of whatever waits then.
  void QueueClick(int x, int y, std::int64_t atMs) {
    ui::InputEvent e;
    e.kind = ui::InputKind::MouseDown;
    e.space = ui::CoordSpace::Client;
    e.x = x;
    e.y = y;
    e.button = ui::kButtonLeft;
    platform.Post(e, atMs);
    e.kind = ui::InputKind::MouseUp;
    platform.Post(e, atMs);
  }
  void Menu(const std::string& name) {
    ui::InputEvent e;
    e.kind = ui::InputKind::MenuCommand;
    e.target = name;
    Post(e);
  }
  void Control(const std::string& name) {
    ui::InputEvent e;
    e.kind = ui::InputKind::ControlAction;
    e.target = name;
    Post(e);
  }
  bool MenuVisible(const std::string& name) { return G().Menu(name).Visible(); }

  // SoundObserver, GameObserver
  void SoundPlayed(int p, const std::string& file, int count, int volume) override {
    sounds.push_back("play " + std::to_string(p) + " " + file + " " + std::to_string(count) + " " +
                     std::to_string(volume));
  }
  void SoundStopped(int p) override { sounds.push_back("stop " + std::to_string(p)); }
  void SoundVolumeChanged(int, int) override {}
  void FrameHeaderLoaded(const std::string& name) override { frames.push_back(name); }

  ui::test::FakePlatform platform;
  RecordingMessageBoxService boxes;
  std::unique_ptr<Player> player;
  std::vector<std::string> frames;
  std::vector<std::string> sounds;
};

}  // namespace sl::test

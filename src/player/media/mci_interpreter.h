// MciInterpreter: the player's own multimedia command interface. It takes the command strings
// the media object sends ("Open \"a.avi\" ALIAS 7 TYPE AviVideo wait parent 65552 style child",
// "put 7 window at 0 0 320 240", "play 7 window", "Status 7 mode", "Close 7", ...), keeps one
// device per alias (videos, MIDI sequences, wave sounds) and gives the answers a program of
// that time got: the mode as "playing", "stopped" or "paused", lengths and positions in
// milliseconds, and an empty answer for an unknown alias or a command it does not know, which
// change nothing. "setaudio 7 volume to 500" sets the level of a device's sound.
//
// Windows are named by number in these strings; WindowHandle gives a control its number.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "player/media/mci_device.h"
#include "player/media/media_observer.h"
#include "player/media/video_device.h"

namespace sl {

namespace ui {
class Control;
class EventLoop;
}  // namespace ui

class MciInterpreter {
 public:
  // `resolve` gives the real path of a file named in an open command, or nullopt when there is
  // no such file.
  using Resolver = std::function<std::optional<std::string>(const std::string&)>;
  MciInterpreter(ui::EventLoop& loop, Resolver resolve, VideoPacing pacing);
  ~MciInterpreter();
  MciInterpreter(const MciInterpreter&) = delete;
  MciInterpreter& operator=(const MciInterpreter&) = delete;

  void SetObserver(MediaObserver* observer) { observer_ = observer; }
  // Where devices opened from now on sound; null (the default): silent.
  void SetSoundOutput(SoundOutput* output) { soundOutput_ = output; }
  // How videos opened from now on are paced.
  void SetPacing(VideoPacing pacing) { pacing_ = pacing; }

  // Runs one command string and returns its answer ("" for none or on an error).
  std::string SendString(const std::string& command);
  // The window number of a control (the same one every time).
  std::int64_t WindowHandle(ui::Control& control);
  // Closes every device and forgets the window numbers (before the controls go away).
  void CloseAll();
  // The device open under an alias (any letter case), or null.
  MciDevice* Device(const std::string& alias);

 private:
  struct Command;
  std::string Open(const Command& c);
  std::string Run(const Command& c, MciDevice& device);
  std::string Status(const Command& c, MciDevice& device);
  void SetAudio(const Command& c, MciDevice& device);
  void PlayAndWait(const std::string& alias);
  ui::Control* WindowOf(std::int64_t handle) const;

  ui::EventLoop& loop_;
  Resolver resolve_;
  VideoPacing pacing_;
  MediaObserver* observer_ = nullptr;
  SoundOutput* soundOutput_ = nullptr;
  std::map<std::string, std::unique_ptr<MciDevice>> devices_;  // by lower-case alias
  std::vector<std::pair<std::int64_t, ui::Control*>> windows_;
};

}  // namespace sl

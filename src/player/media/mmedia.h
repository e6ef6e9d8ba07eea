// Mmedia: the media object of the game. It drives one device of the multimedia command
// interface by command strings, built word for word as the game has always sent them
// ("Open \"x.mid\" ALIAS mid7 TYPE Sequencer wait", "play 23 window", ...), and reads the three
// answers it uses (length, position, mode). The player keeps one for the whole run: it is the
// video player of the game and tells whether a video is playing.
//
// Answers other than those of the status queries are ignored, as are the interface's errors: a
// missing file or a command for a closed alias has no effect.
#pragma once

#include <cstdint>
#include <string>

#include "core/clock.h"
#include "vbscript/builtins/builtin.h"

namespace sl {

namespace ui {
class Control;
}

// What the media object needs of the program around it.
class MmediaHost {
 public:
  virtual ~MmediaHost() = default;
  // Sends a command string; returns the answer (empty when there is none or on an error).
  virtual std::string SendString(const std::string& command) = 0;
  // The window handle of a control, as the command interface knows it.
  virtual std::int64_t WindowHandle(ui::Control& control) = 0;
  // Whether a search for this file name finds a file.
  virtual bool FileExists(const std::string& path) = 0;
  // Lets pending window events run once.
  virtual void DoEvents() = 0;
  virtual const Clock& GetClock() = 0;
};

class Mmedia {
 public:
  explicit Mmedia(MmediaHost& host) : host_(host) {}

  // Opens a MIDI file as a sequencer device, or a wave file as a wave-audio device, under an
  // alias made of the file's last three characters and the minute of the clock.
  void mmOpen(const std::string& sthefile);
  void mmOpenWave(const std::string& sthefile);
  void mmClose();
  void mmPause();
  // Plays; synchronously (" wait") when the wait flag is set.
  void mmPlay();
  void mmStop();
  // Sent also when nothing is open (with an empty alias).
  void mmSeek(float nPosition);

  // Read: the file-name field, which nothing fills. Write: opens the file as mmOpen does.
  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& value) { mmOpen(value); }
  bool Wait() const { return wait_; }
  void SetWait(bool bWaitValue) { wait_ = bWaitValue; }
  // Length and position in the device's time format (milliseconds); 0 when nothing is open.
  float Length();
  float Position();
  void SetPosition(float value) { mmSeek(value); }
  // The device's mode ("playing", "stopped", "paused"), asked also when nothing is open: the
  // answer is then empty.
  std::string Status();

  // Stops and closes the current device and lets window events run once; the alias stays set.
  void StopMovie();
  // Plays a video inside `WhereToPlay`: at its natural size at the control's top-left corner,
  // or stretched into the rectangle (pixels) when `bStretched`. Returns as soon as it plays;
  // does nothing when the file does not exist; never raises an error.
  void PlayMovie(const std::string& FileName, ui::Control& WhereToPlay, bool bStretched,
                 std::int32_t lLeft, std::int32_t lTop, std::int32_t lWidth, std::int32_t lHeight);

  // The alias of the device, empty when none is open.
  const std::string& Alias() const { return alias_; }

 private:
  void OpenDevice(const std::string& sthefile, const char* deviceType);

  MmediaHost& host_;
  std::string alias_;
  std::string fileName_;
  bool wait_ = false;
  vbs::RandomState random_;  // the program's own random numbers, as Rnd draws them
};

}  // namespace sl

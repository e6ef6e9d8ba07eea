// VideoPlayback: the video subsystem of the game window. It owns the game's one media object
// (Mmedia) and the command interpreter it talks to, and plays, watches and stops the videos of
// frames and actions: PlayMovieWithStop starts one in the scene area or the cut-scene area and
// returns at once; the callers wait while Status is neither "stopped" nor empty.
//
// API:
//   VideoPlayback video(project, windows);
//   video.Attach(game);                        // the game window whose movie stop it clears
//   video.SetPacing(VideoPacing::OnDemand);    // runs on a virtual clock
//   video.SetObserver(&trace);                 // mci commands, video starts and ends
#pragma once

#include <string>

#include "player/game_subsystems.h"
#include "player/media/mci_interpreter.h"
#include "player/media/mmedia.h"

namespace sl {

class Game;
class Project;
namespace ui {
class WindowManager;
}

class VideoPlayback final : public VideoSubsystem, private MmediaHost {
 public:
  VideoPlayback(Project& project, ui::WindowManager& windows);
  ~VideoPlayback() override;
  VideoPlayback(const VideoPlayback&) = delete;
  VideoPlayback& operator=(const VideoPlayback&) = delete;

  void Attach(Game& game) { game_ = &game; }
  // Applies to devices opened afterwards.
  void SetPacing(VideoPacing pacing) { mci_.SetPacing(pacing); }
  void SetObserver(MediaObserver* observer) { mci_.SetObserver(observer); }
  // Where videos and the media object's sound devices sound; applies to devices opened later.
  void SetSoundOutput(SoundOutput* output) { mci_.SetSoundOutput(output); }
  Mmedia& Media() { return media_; }
  MciInterpreter& Interpreter() { return mci_; }
  // Closes every device, before the game window's controls go away.
  void CloseAll() { mci_.CloseAll(); }

  // VideoSubsystem
  void PlayMovieWithStop(const std::string& file, ui::Control& target, bool stretched, int left,
                         int top, int width, int height) override;
  std::string Status() override { return media_.Status(); }
  void StopMovie() override { media_.StopMovie(); }
  bool VideoIsPlaying() override;

 private:
  // MmediaHost
  std::string SendString(const std::string& command) override { return mci_.SendString(command); }
  std::int64_t WindowHandle(ui::Control& control) override { return mci_.WindowHandle(control); }
  bool FileExists(const std::string& path) override;
  void DoEvents() override;
  const Clock& GetClock() override;

  Project& project_;
  ui::WindowManager& windows_;
  Game* game_ = nullptr;
  MciInterpreter mci_;
  Mmedia media_{*this};
};

}  // namespace sl

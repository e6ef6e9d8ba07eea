// Playing the game's videos.
#include "player/media/video_playback.h"

#include "core/case_fold.h"
#include "core/path_resolver.h"
#include "core/runtime_error.h"
#include "player/engine/game.h"
#include "player/startup/project.h"
#include "ui/form.h"
#include "ui/window_manager.h"

namespace sl {

VideoPlayback::VideoPlayback(Project& project, ui::WindowManager& windows)
    : project_(project),
      windows_(windows),
      mci_(
          windows.Loop(),
          [&project](const std::string& path) { return project.Paths().Find(path); },
          VideoPacing::Live) {}

VideoPlayback::~VideoPlayback() = default;

void VideoPlayback::PlayMovieWithStop(const std::string& file, ui::Control& target, bool stretched,
                                      int left, int top, int width, int height) {
  try {
    if (ui::Form* form = target.GetForm()) form->Show(false);
    if (stretched) {
      media_.PlayMovie(file, target, true, left, top, width, height);
    } else {
      media_.PlayMovie(file, target, false, 0, 0, 0, 0);
    }
    if (game_) game_->ClearMovieStop();
  } catch (const RuntimeError& e) {
    project_.ShowError(" Unable to play video. " + e.Description());
  }
}

bool VideoPlayback::VideoIsPlaying() {
  return FoldCase(media_.Status()) == "playing";
}

bool VideoPlayback::FileExists(const std::string& path) {
  return !project_.SafeDir(path).empty();
}

void VideoPlayback::DoEvents() {
  windows_.Loop().DoEvents();
}

const Clock& VideoPlayback::GetClock() {
  return windows_.Loop().GetClock();
}

}  // namespace sl

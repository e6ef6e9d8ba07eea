// Channel changes, the fade clock and the audio-problem warning.
#include "player/media/game_sound.h"

#include "core/clock.h"
#include "core/message_box.h"
#include "core/path_resolver.h"
#include "core/runtime_error.h"
#include "player/engine/game.h"
#include "player/startup/project.h"
#include "ui/controls/timer_control.h"

namespace sl {

namespace {

constexpr double kSecondsPerHour = 3600;
constexpr double kSecondsPerMinute = 60;

}  // namespace

void GameSound::Attach(Game& game) {
  game_ = &game;
  game.MPlayer().SetEngine(&engine_);
  game.Channels().SetErrorReport(
      [this](const std::string& sentence) { project_.ShowError(sentence); });
}

double GameSound::TimeOfDay() const {
  CivilTime t = clock_.Now();
  return t.hour * kSecondsPerHour + t.minute * kSecondsPerMinute + t.second +
         t.millisecond / 1000.0;
}

void GameSound::ApplyChannelChanges() {
  if (!game_) return;
  try {
    game_->Channels().ApplyChannelChanges(
        [this](const std::string& file) {
          return project_.FindMediaFile(project_.Folders().AreasFolder + file);
        },
        [this](const std::string& path) { return project_.Paths().FileExists(path); });
    fadeStart_ = 0;
  } catch (const RuntimeError&) {
    if (!game_->GameStopping()) WarnAudioProblem();
  }
}

void GameSound::WarnAudioProblem() {
  if (audioProblemShown_) return;
  MessageBoxRequest box;
  box.title = "AUDIO PROBLEM";
  box.text =
      "WARNING: Another program may be using the audio hardware resources, an audio file may be "
      "damaged, or your audio drivers may be unable to play at the same time an audio file and "
      "the audio track of a video file. Although this error can be safely ignored, it may "
      "result in some sound files not being played. It is recommended that you close all the "
      "other Windows applications that are running, and that you restart the program.\r\n\r\n"
      "This message will not reappear until you restart the program.";
  box.icon = MsgIcon::Exclamation;
  project_.Messages().Show(box);
  audioProblemShown_ = true;
}

void GameSound::StepFades(double progress) {
  if (!game_) return;
  bool fading = game_->Channels().StepFades(progress);
  if (progress >= 1 || !fading) game_->TimerAudioFade().SetEnabled(false);
}

bool GameSound::TimerAudioFade_Timer() {
  if (!game_) return false;
  double now = TimeOfDay();
  if (fadeStart_ == 0) {
    fadeStart_ = now;
    return true;
  }
  double elapsed = now - fadeStart_;
  double duration = game_->FadeDuration;
  // Past midnight the time of day starts again from 0: the fade ends.
  if (elapsed < 0 || elapsed >= duration) {
    StepFades(1);
    return false;
  }
  StepFades(elapsed / duration);
  return game_->TimerAudioFade().TimerEnabled();
}

void GameSound::ResetOneShot() {
  // A new game starts with no change pending and no fade running. The audio-problem warning
  // stays shown-once: its text promises not to come back until the program restarts.
  fadeStart_ = 0;
  if (!game_) return;
  for (int ch = 1; ch <= SoundChannels::kChannels; ++ch) {
    SoundChannel& c = game_->Channels().Channel(ch);
    c.mode = kChannelModeNone;
    c.file.clear();
    c.fade = false;
    c.previousPlayer = 0;
  }
}

}  // namespace sl

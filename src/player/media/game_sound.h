// GameSound: the game window's sound subsystem. It carries out the pending changes of the
// sound channel table, runs fades on the fade clock (the 100 ms audio-fade timer measures the
// time of day from the fade's first tick), finishes fades on request, warns once per run when
// the channel changes fail, and gives the game's media players their sound output.
//
// API:
//   GameSound sound(project, engine, clock);
//   subsystems.sound = &sound;          // before the game window is created
//   sound.Attach(game);                 // once it exists
#pragma once

#include "player/game_subsystems.h"

namespace sl {

class Clock;
class Game;
class Project;
class SoundEngine;

class GameSound final : public SoundSubsystem {
 public:
  GameSound(Project& project, SoundEngine& engine, Clock& clock)
      : project_(project), engine_(engine), clock_(clock) {}

  void Attach(Game& game);

  // SoundSubsystem
  void ApplyChannelChanges() override;
  void StepFades(double progress) override;
  void ResetOneShot() override;
  bool TimerAudioFade_Timer() override;

  // The time of day (seconds since midnight) of the fade clock's first tick; 0 = not started.
  double FadeStart() const noexcept { return fadeStart_; }

 private:
  double TimeOfDay() const;
  void WarnAudioProblem();

  Project& project_;
  SoundEngine& engine_;
  Clock& clock_;
  Game* game_ = nullptr;
  double fadeStart_ = 0;
  bool audioProblemShown_ = false;
};

}  // namespace sl

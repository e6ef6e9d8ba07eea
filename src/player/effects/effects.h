// The visual effects as the game window sees them: transitions between frames, the rippling
// water and the animated pictures behind one EffectsSubsystem.
//
// API:
//   Effects effects(project, windows, pictures);
//   subsystems.effects = &effects;      // before the game window is created
//   effects.Attach(game);               // once it exists
// The game window's cover and water boxes draw through these objects: the game window must go
// before them (the player owns both in that order).
#pragma once

#include "player/effects/animated_pictures.h"
#include "player/effects/rippling_water.h"
#include "player/effects/transitions.h"
#include "player/game_subsystems.h"

namespace sl {

class Effects final : public EffectsSubsystem {
 public:
  Effects(Project& project, ui::WindowManager& windows, draw::PictureCache& pictures);

  void Attach(Game& game);

  Transitions& GetTransitions() { return transitions_; }
  RipplingWater& Water() { return water_; }
  AnimatedPictures& Animations() { return animations_; }

  // EffectsSubsystem
  void NameTransitions() override { transitions_.InitTransitionNames(); }
  void TransitionStep1(int number) override { transitions_.TransitionStep1(number); }
  void TransitionStep2(int number, double durationSeconds) override {
    transitions_.TransitionStep2(number, durationSeconds);
  }
  void AbandonTransition() override { transitions_.AbandonTransition(); }
  bool TransitionInProgress() override { return transitions_.Running(); }
  void EnableOrDisableTransitions() override { transitions_.EnableOrDisableTransitions(); }
  void EnableOrDisableEffects() override { water_.EnableOrDisableEffects(); }
  bool LoadWaveEffectIfAny(const std::string& frame) override {
    return water_.LoadWaveEffectIfAny(frame);
  }
  void VexelTime(int value) override { water_.VexelTime(value); }
  bool RipplingTickRunning() override { return water_.TickRunning(); }
  void RipplingTick() override { water_.TimerRipplingWater_Timer(); }
  void ResetOneShot() override { transitions_.ResetOneShot(); }
  int AniGifNewWithIndex(int index, const std::string& path, double left, double top,
                         double speed) override;
  void AniGifPlay(int index) override { animations_.AniGifPlay(index); }
  void AniGifStop(int index) override { animations_.AniGifStop(index); }

 private:
  Transitions transitions_;
  RipplingWater water_;
  AnimatedPictures animations_;
};

}  // namespace sl

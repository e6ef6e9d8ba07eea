// Transitions between frames: the names table, the two steps around the loading of the new
// frame (TransitionStep1 freezes the old frame, TransitionStep2 captures the new one and
// animates), the animation itself (RenderTransition: a cross-fade or one of four slides, one
// pass per display refresh, exactly as long as asked unless a click ends it) and the player's
// switch for transitions ("Disable Transitions"). The old frame's still stays in memory between
// the two steps; nothing is written to the game's folder.
//
// API:
//   Transitions transitions(project, windows);
//   transitions.Attach(game);
//   transitions.TransitionStep1(1);            // before OpenFrame(name, FrameTransition{1, 0.8})
//   transitions.TransitionStep2(1, 0.8);        // called by the frame opening
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "player/effects/frame_capture.h"
#include "player/effects/transition_cover.h"

namespace sl {

class Game;
class Project;
namespace ui {
class WindowManager;
class PictureBox;
}  // namespace ui

class Transitions {
 public:
  Transitions(Project& project, ui::WindowManager& windows);
  ~Transitions();
  Transitions(const Transitions&) = delete;
  Transitions& operator=(const Transitions&) = delete;

  // `firstImage` gives the first images of the animated pictures for the stills.
  void Attach(Game& game, FirstImageLookup firstImage);

  void InitTransitionNames();
  // The names table: 0 empty, 1 "Alphablending", 2 "Slide Left" ... 5 "Slide Down".
  const std::vector<std::string>& Names() const { return names_; }

  void TransitionStep1(int iTransNumber);
  void TransitionStep2(int iTransNumber, double dTransitionDuration);
  // The frame opening ended without its second step (the frame was missing, the game stopped,
  // its script quit): the frozen old frame goes away.
  void AbandonTransition();
  // The animation; does nothing visible for a number outside 0..5 or a duration of 0 or less,
  // but always finishes the sound fades.
  void RenderTransition(int number, double durationSeconds);

  // The transition-running flag.
  bool Running() const { return running_; }
  // Whether transitions are on (the menu entry "Disable Transitions" is not checked).
  bool TransitionsEnabled();
  void EnableOrDisableTransitions();
  // Game reset: the rendering error may be reported again.
  void ResetOneShot() { errorReported_ = false; }

  const TransitionCover& Cover() const { return cover_; }

 private:
  ui::PictureBox& CoverBox();
  void ShowCover();
  void HideCover();
  // Runs the passes; false when a click ended them early.
  bool Animate(int number, TransitionKind kind, double durationSeconds);
  void WaitForNextPass(std::int64_t endMs);
  void ReportRenderError(const std::string& description);

  Project& project_;
  ui::WindowManager& windows_;
  Game* game_ = nullptr;
  FirstImageLookup firstImage_;
  std::vector<std::string> names_;
  TransitionCover cover_;
  bool running_ = false;
  bool errorReported_ = false;
  // Counts the first steps, so that an animation learns that a newer transition began while it
  // let events run (a timed event changing frame) and ends.
  std::uint64_t generation_ = 0;
};

}  // namespace sl

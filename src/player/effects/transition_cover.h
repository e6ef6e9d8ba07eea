// The cover of a transition: laid over the cover picture box (`picWhere`, placed on the frame
// picture box), it shows the old frame frozen while the new one loads beneath, then each pass
// of the animation. It draws straight into the composed frame and owns both stills, so the
// frame's own controls never hold a transition's pictures.
#pragma once

#include "player/effects/transition_painter.h"
#include "ui/controls/picture_box.h"

namespace sl {

class TransitionCover final : public ui::PictureBoxOverlay {
 public:
  enum class Showing { kNothing, kOldFrame, kAnimation };

  Showing State() const { return showing_; }
  const draw::Surface& OldFrame() const { return old_; }
  const draw::Surface& NewFrame() const { return new_; }
  TransitionKind Kind() const { return kind_; }
  double Progress() const { return progress_; }

  // Keeps the still of the old frame (shown only by Freeze and Animate).
  void SetOldFrame(draw::Surface still) { old_ = std::move(still); }
  void SetNewFrame(draw::Surface still) { new_ = std::move(still); }
  // Shows the old frame as it was.
  void Freeze() { showing_ = Showing::kOldFrame; }
  // Shows the pass of `kind` at `progress` (0..1).
  void Animate(TransitionKind kind, double progress) {
    showing_ = Showing::kAnimation;
    kind_ = kind;
    progress_ = progress;
  }
  // Shows nothing and lets both stills go.
  void Clear() {
    showing_ = Showing::kNothing;
    old_ = draw::Surface();
    new_ = draw::Surface();
  }

  void PaintOverlay(draw::Surface& target, draw::Point at, draw::Size client) override;

 private:
  Showing showing_ = Showing::kNothing;
  draw::Surface old_;
  draw::Surface new_;
  TransitionKind kind_ = TransitionKind::kCrossFade;
  double progress_ = 0;
};

}  // namespace sl

// The animated-GIF player control.
#include "ui/controls/animated_picture.h"

#include <algorithm>

#include "core/runtime_error.h"
#include "ui/control_members.h"
#include "ui/draw/units.h"
#include "ui/form.h"
#include "ui/window_manager.h"

namespace sl::ui {

namespace {
// The longest interval a timer takes.
constexpr int kLongestTimerMs = 65535;
}  // namespace

AnimatedPicture::AnimatedPicture(Form* form, std::string name)
    : ControlBase<AnimatedPicture>(form, ControlKind::AnimatedPicture, std::move(name)),
      timer_(std::make_unique<Timer>(form->GetManager().Loop())) {
  timer_->SetEnabled(false);
  timer_->SetHandler([this] { NextImage(); });
  Move(0, 0, draw::PixelsToTwips(1), draw::PixelsToTwips(1));
}

AnimatedPicture::~AnimatedPicture() = default;

void AnimatedPicture::CopyPropertiesFrom(const Control& source) {
  const auto& s = static_cast<const AnimatedPicture&>(source);
  loader_ = s.loader_;
  speed_ = s.speed_;
}

void AnimatedPicture::SetFileName(const std::string& fileName) {
  if (!loader_) throw RuntimeError(kErrFileNotFound);
  SetPicture(loader_(fileName), fileName);
}

void AnimatedPicture::SetPicture(draw::Picture picture, std::string fileName) {
  Stop();
  picture_ = std::move(picture);
  fileName_ = std::move(fileName);
  canvas_.reset();
  if (const auto& animation = picture_.Animation(); animation && animation->frames.size() > 1)
    canvas_.emplace(animation);
  Move(Left(), Top(), draw::PixelsToTwips(picture_.Width()),
       draw::PixelsToTwips(picture_.Height()));
  Invalidate();
}

void AnimatedPicture::SetSpeed(int speed) {
  speed_ = std::max(speed, 1);
}

int AnimatedPicture::FrameDelayMs(std::size_t index) const {
  if (!canvas_ || index >= canvas_->Animation().frames.size()) return 0;
  int delay = canvas_->Animation().frames[index].delayMs;
  if (delay < kShortestDelayMs) delay = kDefaultDelayMs;
  long long scaled = static_cast<long long>(delay) * kNormalSpeed / speed_;
  return static_cast<int>(std::clamp<long long>(scaled, 1, kLongestTimerMs));
}

void AnimatedPicture::Play() {
  if (playing_) return;
  playing_ = true;
  playsDone_ = 0;
  ArmNextImage();
}

void AnimatedPicture::Stop() {
  playing_ = false;
  timer_->SetEnabled(false);
  if (canvas_ && canvas_->FrameIndex() != 0) {
    canvas_->Restart();
    Invalidate();
  }
}

void AnimatedPicture::ArmNextImage() {
  timer_->SetEnabled(false);
  if (!playing_ || !canvas_) return;
  timer_->SetInterval(FrameDelayMs(canvas_->FrameIndex()));
  timer_->SetEnabled(true);
}

void AnimatedPicture::NextImage() {
  if (!playing_ || !canvas_) return;
  const draw::GifAnimation& animation = canvas_->Animation();
  if (canvas_->FrameIndex() + 1 >= animation.frames.size()) {
    // The end of one run: without a looping extension the picture plays once, with a count of
    // 0 without end, with n it plays n more times.
    ++playsDone_;
    bool again =
        animation.loopCount && (*animation.loopCount == 0 || playsDone_ <= *animation.loopCount);
    if (!again) {
      playing_ = false;
      timer_->SetEnabled(false);
      return;
    }
  }
  canvas_->Advance();
  Invalidate();
  ArmNextImage();
}

const draw::Surface& AnimatedPicture::CurrentImage() const {
  return canvas_ ? canvas_->Image() : picture_.Image();
}

void AnimatedPicture::Paint(draw::Surface& target, draw::Point origin) {
  if (picture_.IsNone()) return;
  target.Blit(CurrentImage(), origin.x, origin.y);
}

const DispatchTable<AnimatedPicture>& AnimatedPicture::Members() {
  static const DispatchTable<AnimatedPicture> table = [] {
    using A = AnimatedPicture;
    DispatchTable<A> t;
    AddCommonMembers(t);
    t.Property(
        "FileName", [](A& c) { return Str(c.FileName()); },
        [](A& c, const Variant& v) { c.SetFileName(ToUtf8(v)); });
    t.Property(
        "Speed", [](A& c) { return Long(c.Speed()); },
        [](A& c, const Variant& v) { c.SetSpeed(ToLong(v)); });
    t.Function("Play", 0, 0, [](A& c, std::span<Variant>) {
      c.Play();
      return Variant();
    });
    t.Function("Stop", 0, 0, [](A& c, std::span<Variant>) {
      c.Stop();
      return Variant();
    });
    return t;
  }();
  return table;
}

}  // namespace sl::ui

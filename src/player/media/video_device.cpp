// A video device: decoding on the clock and the child window that shows it.
#include "player/media/video_device.h"

#include <algorithm>
#include <cstdlib>

#include "ui/event_loop.h"

namespace sl {

namespace {
constexpr std::int64_t kLongestTimerMs = 65535;
// How far the pictures may run ahead of or behind the sound before they are put back in step:
// more than the sound device's steps (one buffer of it), less than what the eye notices.
constexpr std::int64_t kMaxDriftMs = 60;
}  // namespace

VideoDevice::VideoDevice(ui::EventLoop& loop, const std::string& realPath, VideoPacing pacing,
                         MediaObserver* observer, SoundOutput* sound)
    : VideoDevice(loop, std::make_unique<av::VideoDecoder>(realPath), realPath, pacing, observer,
                  sound) {}

VideoDevice::VideoDevice(ui::EventLoop& loop, std::unique_ptr<av::VideoDecoder> decoder,
                         const std::string& realPath, VideoPacing pacing, MediaObserver* observer,
                         SoundOutput* sound)
    : MciDevice(loop, decoder->Info().durationMs),
      file_(realPath),
      decoder_(std::move(decoder)),
      pacing_(pacing),
      observer_(observer),
      frameTimer_(loop) {
  if (decoder_->Info().hasAudio) sound_.emplace(sound, realPath, DeviceSoundKind::VideoTrack);
  frameTimer_.SetEnabled(false);
  frameTimer_.SetHandler([this] {
    frameTimer_.SetEnabled(false);
    if (parent_) parent_->Invalidate();
  });
}

VideoDevice::~VideoDevice() {
  if (parent_ && shown_) parent_->DetachChildWindow(*this);
}

void VideoDevice::SetParent(ui::Control* parent) {
  if (parent_ && shown_) parent_->DetachChildWindow(*this);
  parent_ = Ref<ui::Control>(parent);
  shown_ = false;
}

void VideoDevice::PutWindow(const draw::Rect& rect) {
  destination_ = rect;
  pictureValid_ = false;
  if (parent_) parent_->Invalidate();
}

void VideoDevice::ShowWindow() {
  if (!parent_ || shown_) return;
  parent_->AttachChildWindow(*this);
  shown_ = true;
}

draw::Rect VideoDevice::Bounds() const {
  if (destination_) return *destination_;
  return {0, 0, decoder_->Info().width, decoder_->Info().height};
}

void VideoDevice::Paint(draw::Surface& target, draw::Point origin) {
  draw::Rect b = Bounds();
  if (b.width <= 0 || b.height <= 0) return;
  // A game may ask for any rectangle: the picture is converted at most this large and
  // stretched further when drawn, so memory stays bounded.
  int width = std::min(b.width, av::kMaxVideoSide);
  int height = std::min(b.height, av::kMaxVideoSide);
  FollowSound();
  std::int64_t position = PositionMs();
  try {
    bool resized = picture_.Width() != width || picture_.Height() != height;
    if (decoder_->AdvanceTo(position) || !pictureValid_ || resized) {
      if (resized) picture_ = draw::Surface(width, height, draw::kBlack);
      decoder_->ConvertFrame(reinterpret_cast<std::uint8_t*>(picture_.MutableRow(0)), width * 4,
                             width, height);
      picture_.MakeOpaque();
      pictureValid_ = true;
    }
  } catch (const av::MediaError&) {
    // A picture that cannot be decoded leaves the last one (or black) in the window.
    pictureValid_ = true;
  }
  draw::BlitOptions copy{draw::BlendMode::kCopy};
  if (width == b.width && height == b.height) {
    target.Blit(picture_, origin.x, origin.y, copy);
  } else {
    target.StretchBlit(picture_, picture_.Bounds(), {origin.x, origin.y, b.width, b.height}, copy);
  }
  if (pacing_ == VideoPacing::Live) ArmFrameTimer();
}

bool VideoDevice::NeedsRepaint() {
  if (!parent_ || !shown_) return false;
  if (!pictureValid_) return true;
  std::int64_t position = PositionMs();
  if (position < decoder_->FrameMs()) return true;
  try {
    std::optional<std::int64_t> next = decoder_->NextFrameMs();
    return next && *next <= position;
  } catch (const av::MediaError&) {
    return false;
  }
}

// Wakes the program when the next picture is due.
void VideoDevice::ArmFrameTimer() {
  frameTimer_.SetEnabled(false);
  if (Mode() != MciMode::Playing) return;
  std::optional<std::int64_t> next;
  try {
    next = decoder_->NextFrameMs();
  } catch (const av::MediaError&) {
  }
  if (!next) return;
  frameTimer_.SetInterval(std::clamp<std::int64_t>(*next - PositionMs(), 1, kLongestTimerMs));
  frameTimer_.SetEnabled(true);
}

void VideoDevice::PlaybackChanged() {
  bool playing = Mode() == MciMode::Playing;
  if (sound_) sound_->Follow(Mode(), PositionMs());
  if (playing && !wasPlaying_ && observer_) observer_->VideoStarted(Record());
  wasPlaying_ = playing;
  frameTimer_.SetEnabled(false);
  if (parent_) parent_->Invalidate();
  // A program that waits for the video right away sleeps until a timer is due: the first
  // picture wakes it at once, and each picture drawn arms the timer for the next.
  if (playing && pacing_ == VideoPacing::Live) {
    frameTimer_.SetInterval(1);
    frameTimer_.SetEnabled(true);
  }
}

void VideoDevice::FollowSound() {
  if (!sound_ || Mode() != MciMode::Playing) return;
  std::optional<std::int64_t> heard = sound_->PlayedToMs();
  if (heard && std::llabs(*heard - PositionMs()) > kMaxDriftMs) Resync(*heard);
}

void VideoDevice::LevelChanged() {
  if (sound_) sound_->SetGain(Gain());
}

void VideoDevice::Ended() {
  if (observer_) observer_->VideoEnded(Record());
}

VideoRecord VideoDevice::Record() const {
  VideoRecord r;
  r.file = file_;
  r.target = parent_ ? parent_->Name() : std::string();
  r.stretched = destination_.has_value();
  r.rect = Bounds();
  r.durationMs = LengthMs();
  return r;
}

}  // namespace sl

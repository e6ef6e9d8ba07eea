// VideoDevice: a video file opened by the media command interpreter (type AviVideo). Its
// pictures show in a child window of the control named as its parent: at the video's natural
// size at the control's top-left corner, or stretched into the rectangle given to it. The
// picture shown is always the one due at the device's position; late pictures are dropped. Its
// sound track plays through the run's mixer when there is a sound device.
//
// A video with sound keeps its pictures in step with it: when the sound, as the mixer plays it,
// has drifted from the device's clock by more than a little (sound devices run on clocks of
// their own), the device's position moves to the sound's.
//
// Pacing: on the desktop (Live) a timer wakes the program when the next picture is due; in runs
// on a virtual clock (OnDemand) nothing is decoded until a picture is drawn, so a video costs
// no work while time jumps over it, and a screenshot still shows the picture of its moment.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "av/video_decoder.h"
#include "core/ref_counted.h"
#include "player/media/device_sound.h"
#include "player/media/mci_device.h"
#include "player/media/media_observer.h"
#include "ui/child_window.h"
#include "ui/control.h"

namespace sl {

enum class VideoPacing { Live, OnDemand };

class VideoDevice final : public MciDevice, public ui::ChildWindow {
 public:
  // Opens `realPath`; throws av::MediaError when it cannot be decoded.
  // `sound` may be null: the video then plays without its sound.
  VideoDevice(ui::EventLoop& loop, const std::string& realPath, VideoPacing pacing,
              MediaObserver* observer, SoundOutput* sound = nullptr);
  ~VideoDevice() override;

  // The control the window lives in ("parent" of the open command); null for none.
  void SetParent(ui::Control* parent);
  void PutWindow(const draw::Rect& rect) override;
  // Shows the window in its parent (as playing does).
  void ShowWindow();
  int NaturalWidth() const { return decoder_->Info().width; }
  int NaturalHeight() const { return decoder_->Info().height; }

  // ui::ChildWindow
  draw::Rect Bounds() const override;
  void Paint(draw::Surface& target, draw::Point origin) override;
  bool NeedsRepaint() override;

 private:
  VideoDevice(ui::EventLoop& loop, std::unique_ptr<av::VideoDecoder> decoder,
              const std::string& realPath, VideoPacing pacing, MediaObserver* observer,
              SoundOutput* sound);
  void PlaybackChanged() override;
  void Ended() override;
  void LevelChanged() override;
  void FollowSound();
  void ArmFrameTimer();
  VideoRecord Record() const;

  std::string file_;
  std::unique_ptr<av::VideoDecoder> decoder_;
  VideoPacing pacing_;
  MediaObserver* observer_;
  Ref<ui::Control> parent_;
  bool shown_ = false;
  bool wasPlaying_ = false;
  std::optional<draw::Rect> destination_;
  draw::Surface picture_;  // the current picture at the window's size
  bool pictureValid_ = false;
  ui::Timer frameTimer_;
  std::optional<DeviceSound> sound_;  // for a video with a sound track
};

}  // namespace sl

// AnimatedPicture: the animated-GIF player control. It shows a picture at its natural size (the
// control takes that size) and plays the images of a GIF of several images one after the other,
// each for its own delay scaled by the speed, as often as the file's looping extension says
// (once without one, without end for 0). Transparent parts show what lies beneath. Scripts see
// FileName, Speed, Play and Stop.
//
// API:
//   auto& gif = form.Add<AnimatedPicture>("AniGif");
//   gif.SetLoader([&](const std::string& file) { return cache.Load(file); });
//   gif.SetFileName("Areas\\gull.gif");   // loads and shows the first image
//   gif.SetSpeed(50);                     // the file's own delays
//   gif.Play();  gif.Stop();              // Stop goes back to the first image
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/dispatch_table.h"
#include "ui/control.h"
#include "ui/draw/gif_animation.h"
#include "ui/timer.h"

namespace sl::ui {

class AnimatedPicture final : public ControlBase<AnimatedPicture> {
 public:
  // The speed at which every image shows for the delay its file gives; twice that is twice as
  // fast.
  static constexpr int kNormalSpeed = 50;
  // What an image whose file gives no delay (or less than this) shows for, as web browsers do.
  static constexpr int kShortestDelayMs = 20;
  static constexpr int kDefaultDelayMs = 100;

  using Loader = std::function<draw::Picture(const std::string& fileName)>;

  AnimatedPicture(Form* form, std::string name);
  ~AnimatedPicture() override;

  // How FileName finds its picture; elements of a control array inherit it.
  void SetLoader(Loader loader) { loader_ = std::move(loader); }
  const std::string& FileName() const { return fileName_; }
  // Loads through the loader (its errors pass on) and shows the first image, stopped.
  void SetFileName(const std::string& fileName);
  // Shows `picture` under the name `fileName`, stopped on its first image.
  void SetPicture(draw::Picture picture, std::string fileName);
  const draw::Picture& Picture() const { return picture_; }

  int Speed() const { return speed_; }
  // Speeds below 1 count as 1.
  void SetSpeed(int speed);
  void Play();
  void Stop();
  bool Playing() const { return playing_; }

  // The image showing now, and the first one (what a still of the frame shows).
  const draw::Surface& CurrentImage() const;
  const draw::Surface& FirstImage() const { return picture_.Image(); }
  std::size_t FrameIndex() const { return canvas_ ? canvas_->FrameIndex() : 0; }
  // How long image `index` shows at the current speed, in milliseconds.
  int FrameDelayMs(std::size_t index) const;

  void Paint(draw::Surface& target, draw::Point origin) override;
  static const DispatchTable<AnimatedPicture>& Members();

 protected:
  void CopyPropertiesFrom(const Control& source) override;

 private:
  void ArmNextImage();
  void NextImage();

  Loader loader_;
  std::string fileName_;
  draw::Picture picture_;
  std::optional<draw::GifAnimationCanvas> canvas_;
  std::unique_ptr<Timer> timer_;
  int speed_ = kNormalSpeed;
  bool playing_ = false;
  int playsDone_ = 0;  // complete runs through the images since Play
};

}  // namespace sl::ui

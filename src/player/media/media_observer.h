// Who hears what the media command interpreter does (the run's trace): every command string
// sent, and every video that starts or reaches its end by itself.
#pragma once

#include <cstdint>
#include <string>

#include "ui/draw/geometry.h"

namespace sl {

struct VideoRecord {
  std::string file;    // the real path of the video file
  std::string target;  // the name of the control it plays in ("PictureBox", "CutSceneArea")
  bool stretched = false;
  draw::Rect rect;  // where it shows in the control, pixels
  std::int64_t durationMs = 0;
};

class MediaObserver {
 public:
  virtual ~MediaObserver() = default;
  virtual void MciCommandSent(const std::string& /*command*/) {}
  virtual void VideoStarted(const VideoRecord& /*video*/) {}
  virtual void VideoEnded(const VideoRecord& /*video*/) {}
};

}  // namespace sl

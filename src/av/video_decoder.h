// VideoDecoder: reads the pictures of a video file (AVI with any codec FFmpeg has, MPEG, WMV,
// ...) in presentation order and keeps the one to show at a given time. Callers move it along a
// clock with AdvanceTo: the frames whose time has passed are decoded but not converted, so a
// player that falls behind drops frames instead of showing them late. ConvertFrame scales the
// current picture to any size as RGBA.
//
// API:
//   av::VideoDecoder video("/games/x/intro.avi");   // throws av::MediaError
//   video.Info().width; video.Info().durationMs;
//   video.AdvanceTo(elapsedMs);                      // true when the picture changed
//   video.ConvertFrame(rgba, stride, 320, 240);
//   video.NextFrameMs();                             // when the next picture is due
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace sl::av {

// A media file that cannot be opened or decoded; what() says why.
class MediaError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct VideoInfo {
  int width = 0;  // natural size in pixels (square pixels)
  int height = 0;
  std::int64_t durationMs = 0;  // the whole file's length
  double framesPerSecond = 0;   // nominal rate, 0 when the file does not say
  bool hasAudio = false;
};

// Pictures larger than this on either side are refused (no real game video comes near it).
constexpr int kMaxVideoSide = 4096;

class VideoDecoder {
 public:
  // Opens the file and its first video stream and decodes the first picture. Throws MediaError
  // when the file cannot be read, holds no video stream or no picture can be decoded.
  explicit VideoDecoder(const std::string& path);
  ~VideoDecoder();
  VideoDecoder(const VideoDecoder&) = delete;
  VideoDecoder& operator=(const VideoDecoder&) = delete;

  const VideoInfo& Info() const;

  // Makes the current picture the last one whose time is at or before `ms` (milliseconds from
  // the start), decoding and dropping the pictures in between. Returns true when the current
  // picture changed. Times before the current picture go back to the start first.
  bool AdvanceTo(std::int64_t ms);
  // The time of the current picture.
  std::int64_t FrameMs() const;
  // The time of the picture after the current one, or nullopt when there is none.
  std::optional<std::int64_t> NextFrameMs();

  // Scales the current picture to `width` x `height` into `rgba` (bytes R, G, B, A, alpha 255;
  // `stride` bytes a row).
  void ConvertFrame(std::uint8_t* rgba, int stride, int width, int height);

 private:
  struct State;
  std::unique_ptr<State> s_;
};

}  // namespace sl::av

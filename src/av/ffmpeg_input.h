// MediaInput: a media file opened with libavformat the way every decoder of the player opens
// one: local files only (no network, no playlists pointing elsewhere), the demuxers of audio
// and video files only, stream information read. Also FFmpeg's error texts and packet handles.
// Only the av/ sources include this header: it exposes FFmpeg's own types.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

extern "C" {
#include <libavcodec/packet.h>
#include <libavformat/avformat.h>
}

namespace sl::av {

// The text of an FFmpeg error code.
std::string ErrorText(int code);

struct PacketDeleter {
  void operator()(AVPacket* p) const { av_packet_free(&p); }
};
using PacketPtr = std::unique_ptr<AVPacket, PacketDeleter>;

class MediaInput {
 public:
  // Opens `path` and reads its stream information; throws MediaError (video_decoder.h).
  explicit MediaInput(const std::string& path);
  ~MediaInput();
  MediaInput(const MediaInput&) = delete;
  MediaInput& operator=(const MediaInput&) = delete;

  AVFormatContext* Format() const { return format_; }
  // The file's length as its header gives it, or found by reading every packet's time when it
  // gives none; 0 when neither works. Reading leaves the file at its start.
  std::int64_t DurationMs();

 private:
  AVFormatContext* format_ = nullptr;
};

}  // namespace sl::av

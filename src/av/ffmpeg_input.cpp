// Opening media files with libavformat.
#include "av/ffmpeg_input.h"

#include <algorithm>
#include <filesystem>

#include "av/video_decoder.h"

extern "C" {
#include <libavutil/dict.h>
#include <libavutil/error.h>
#include <libavutil/log.h>
}

namespace sl::av {

namespace {

// The containers of game media: AVI, MPEG, Windows Media, QuickTime/MP4, Matroska, Ogg, Flash,
// raw streams, and the audio files. Playlist and image-sequence demuxers are left out: they
// would open other files than the one named.
constexpr const char* kDemuxers =
    "avi,mpeg,mpegts,mpegvideo,m4v,h261,h263,h264,hevc,asf,mov,mp4,m4a,3gp,3g2,mj2,matroska,"
    "webm,ogg,flv,mjpeg,dv,nut,rm,ivf,wav,mp3,aiff,flac,au,smk,bink,fli,flic,"
    "w64,voc,aac,ac3,eac3,mp2,caf,wv,ape,tta,amr,gsm";

}  // namespace

std::string ErrorText(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

MediaInput::MediaInput(const std::string& path) {
  // Only plain files: a device or a pipe in a game's folder could block or never end.
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) throw MediaError("the file cannot be read");
  // A damaged file is reported by the exception; FFmpeg's own remarks would only clutter the
  // program's standard error.
  av_log_set_level(AV_LOG_FATAL);
  AVDictionary* options = nullptr;
  av_dict_set(&options, "protocol_whitelist", "file", 0);
  av_dict_set(&options, "format_whitelist", kDemuxers, 0);
  // "file:" keeps a name with a colon in it from being taken for another protocol.
  int r = avformat_open_input(&format_, ("file:" + path).c_str(), nullptr, &options);
  av_dict_free(&options);
  if (r < 0) {
    format_ = nullptr;
    throw MediaError("the file cannot be read: " + ErrorText(r));
  }
  if (r = avformat_find_stream_info(format_, nullptr); r < 0) {
    avformat_close_input(&format_);
    throw MediaError("the file's streams cannot be read: " + ErrorText(r));
  }
}

MediaInput::~MediaInput() {
  avformat_close_input(&format_);
}

std::int64_t MediaInput::DurationMs() {
  // A length guessed from the bit rate (an MP3 file without its header) is not taken: the
  // packets tell the true one.
  if (format_->duration != AV_NOPTS_VALUE && format_->duration > 0 &&
      format_->duration_estimation_method != AVFMT_DURATION_FROM_BITRATE)
    return av_rescale(format_->duration, 1000, AV_TIME_BASE);
  std::int64_t endMs = 0;
  PacketPtr packet(av_packet_alloc());
  while (packet && av_read_frame(format_, packet.get()) >= 0) {
    const AVStream* st = format_->streams[packet->stream_index];
    if (packet->pts != AV_NOPTS_VALUE) {
      std::int64_t start = st->start_time == AV_NOPTS_VALUE ? 0 : st->start_time;
      std::int64_t end = packet->pts - start + std::max<std::int64_t>(packet->duration, 0);
      endMs = std::max(endMs, av_rescale_q(end, st->time_base, AVRational{1, 1000}));
    }
    av_packet_unref(packet.get());
  }
  avformat_seek_file(format_, -1, INT64_MIN, 0, 0, 0);
  return endMs;
}

}  // namespace sl::av

// Video decoding with libavformat and libavcodec, scaling with libswscale.
#include "av/video_decoder.h"

#include <utility>
#include <vector>

#include "av/ffmpeg_input.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

namespace sl::av {

namespace {

// Corrupt data the decoder keeps rejecting in a row ends the stream instead of looping on it.
constexpr int kMaxDecodeErrorsInARow = 64;

struct FrameDeleter {
  void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct CodecDeleter {
  void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct SwsDeleter {
  void operator()(SwsContext* c) const { sws_freeContext(c); }
};
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;

// A palette picture as RGBA: the palette (data[1]) holds 256 native 32-bit 0xAARRGGBB values.
void ExpandPalette(const AVFrame& f, std::uint8_t* rgba, int stride) {
  const auto* palette = reinterpret_cast<const std::uint32_t*>(f.data[1]);
  for (int y = 0; y < f.height; ++y) {
    const std::uint8_t* in = f.data[0] + static_cast<std::ptrdiff_t>(y) * f.linesize[0];
    std::uint8_t* out = rgba + static_cast<std::ptrdiff_t>(y) * stride;
    for (int x = 0; x < f.width; ++x) {
      std::uint32_t c = palette[in[x]];
      out[4 * x] = static_cast<std::uint8_t>(c >> 16);
      out[4 * x + 1] = static_cast<std::uint8_t>(c >> 8);
      out[4 * x + 2] = static_cast<std::uint8_t>(c);
      out[4 * x + 3] = 255;
    }
  }
}

}  // namespace

struct VideoDecoder::State {
  MediaInput input;
  std::unique_ptr<AVCodecContext, CodecDeleter> codec;
  std::unique_ptr<SwsContext, SwsDeleter> sws;
  PacketPtr packet{av_packet_alloc()};
  FramePtr current{av_frame_alloc()};
  FramePtr next{av_frame_alloc()};
  int stream = -1;
  AVRational timeBase{1, 1000};
  std::int64_t startPts = 0;
  std::int64_t frameStepMs = 0;  // nominal time between pictures
  std::int64_t currentMs = 0;
  std::int64_t nextMs = 0;
  bool nextValid = false;
  bool flushing = false;  // the file is read to its end; the decoder gives out what it holds
  bool ended = false;     // no picture comes any more
  VideoInfo info;
  std::vector<std::uint8_t> expanded;  // a palette picture as RGBA before scaling

  std::uint8_t* Expanded(int width, int height) {
    expanded.resize(static_cast<std::size_t>(width) * height * 4);
    return expanded.data();
  }

  explicit State(const std::string& path) : input(path) {}

  std::int64_t TimeOf(const AVFrame& f, std::int64_t previousMs) const {
    std::int64_t pts = f.best_effort_timestamp;
    if (pts == AV_NOPTS_VALUE) return previousMs + frameStepMs;
    return av_rescale_q(pts - startPts, timeBase, AVRational{1, 1000});
  }

  // Decodes the next picture into `f`; false when the stream has none left.
  bool Decode(AVFrame& f) {
    int errors = 0;
    while (!ended) {
      int r = avcodec_receive_frame(codec.get(), &f);
      if (r == 0) return true;
      if (r == AVERROR_EOF) break;
      if (r != AVERROR(EAGAIN) && ++errors > kMaxDecodeErrorsInARow) break;
      if (flushing) break;  // the decoder has given out everything it held
      if (av_read_frame(input.Format(), packet.get()) < 0) {
        avcodec_send_packet(codec.get(), nullptr);
        flushing = true;
        continue;
      }
      if (packet->stream_index == stream) {
        if (avcodec_send_packet(codec.get(), packet.get()) < 0) ++errors;
      }
      av_packet_unref(packet.get());
      if (errors > kMaxDecodeErrorsInARow) break;
    }
    ended = true;
    return false;
  }

  void Restart() {
    av_seek_frame(input.Format(), stream, startPts, AVSEEK_FLAG_BACKWARD);
    avcodec_flush_buffers(codec.get());
    flushing = false;
    ended = false;
    nextValid = false;
    if (!Decode(*current)) throw MediaError("no picture can be decoded");
    currentMs = TimeOf(*current, -frameStepMs);
  }
};

VideoDecoder::VideoDecoder(const std::string& path) : s_(std::make_unique<State>(path)) {
  AVFormatContext* fmt = s_->input.Format();
  const AVCodec* decoder = nullptr;
  s_->stream = av_find_best_stream(fmt, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
  if (s_->stream < 0 || !decoder) throw MediaError("no video stream that can be decoded");
  AVStream* st = fmt->streams[s_->stream];
  s_->codec.reset(avcodec_alloc_context3(decoder));
  if (!s_->codec || avcodec_parameters_to_context(s_->codec.get(), st->codecpar) < 0)
    throw MediaError("the video stream cannot be set up");
  // One thread: a game's video is small, and the player keeps the rest of the machine free.
  s_->codec->thread_count = 1;
  if (int r = avcodec_open2(s_->codec.get(), decoder, nullptr); r < 0)
    throw MediaError("the video decoder cannot start: " + ErrorText(r));
  if (st->codecpar->width <= 0 || st->codecpar->height <= 0 ||
      st->codecpar->width > kMaxVideoSide || st->codecpar->height > kMaxVideoSide)
    throw MediaError("the picture size is not usable");

  s_->timeBase = st->time_base;
  s_->startPts = st->start_time == AV_NOPTS_VALUE ? 0 : st->start_time;
  AVRational rate = av_guess_frame_rate(fmt, st, nullptr);
  VideoInfo& info = s_->info;
  info.framesPerSecond = rate.num > 0 && rate.den > 0 ? av_q2d(rate) : 0;
  s_->frameStepMs = info.framesPerSecond > 0
                        ? static_cast<std::int64_t>(1000.0 / info.framesPerSecond + 0.5)
                        : 40;
  info.hasAudio = av_find_best_stream(fmt, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0) >= 0;
  info.durationMs = s_->input.DurationMs();
  s_->Restart();
  info.width = s_->current->width;
  info.height = s_->current->height;
  if (info.width <= 0 || info.height <= 0 || info.width > kMaxVideoSide ||
      info.height > kMaxVideoSide)
    throw MediaError("the picture size is not usable");
  if (info.durationMs <= 0) info.durationMs = s_->currentMs + s_->frameStepMs;
}

VideoDecoder::~VideoDecoder() = default;

const VideoInfo& VideoDecoder::Info() const {
  return s_->info;
}

std::int64_t VideoDecoder::FrameMs() const {
  return s_->currentMs;
}

std::optional<std::int64_t> VideoDecoder::NextFrameMs() {
  State& s = *s_;
  if (!s.nextValid && !s.ended) {
    s.nextValid = s.Decode(*s.next);
    if (s.nextValid) s.nextMs = s.TimeOf(*s.next, s.currentMs);
  }
  if (!s.nextValid) return std::nullopt;
  return s.nextMs;
}

bool VideoDecoder::AdvanceTo(std::int64_t ms) {
  State& s = *s_;
  bool changed = false;
  if (ms < s.currentMs) {
    s.Restart();
    changed = true;
  }
  for (std::optional<std::int64_t> next = NextFrameMs(); next && *next <= ms;
       next = NextFrameMs()) {
    std::swap(s.current, s.next);
    s.currentMs = s.nextMs;
    s.nextValid = false;
    changed = true;
  }
  return changed;
}

void VideoDecoder::ConvertFrame(std::uint8_t* rgba, int stride, int width, int height) {
  State& s = *s_;
  const AVFrame& f = *s.current;
  if (width <= 0 || height <= 0) return;
  const std::uint8_t* const* source = f.data;
  const int* sourceStrides = f.linesize;
  auto format = static_cast<AVPixelFormat>(f.format);
  const std::uint8_t* expandedPlanes[4] = {};
  int expandedStrides[4] = {};
  if (format == AV_PIX_FMT_PAL8) {
    // Palette pictures (RLE, 8-bit Video 1, ...) keep their exact colours.
    bool natural = width == f.width && height == f.height;
    ExpandPalette(f, natural ? rgba : s.Expanded(f.width, f.height),
                  natural ? stride : f.width * 4);
    if (natural) return;
    expandedPlanes[0] = s.expanded.data();
    expandedStrides[0] = f.width * 4;
    source = expandedPlanes;
    sourceStrides = expandedStrides;
    format = AV_PIX_FMT_RGBA;
  }
  s.sws.reset(sws_getCachedContext(s.sws.release(), f.width, f.height, format, width, height,
                                   AV_PIX_FMT_RGBA, SWS_BILINEAR, nullptr, nullptr, nullptr));
  if (!s.sws) throw MediaError("the picture cannot be converted");
  std::uint8_t* planes[4] = {rgba, nullptr, nullptr, nullptr};
  int strides[4] = {stride, 0, 0, 0};
  sws_scale(s.sws.get(), source, sourceStrides, 0, f.height, planes, strides);
}

}  // namespace sl::av

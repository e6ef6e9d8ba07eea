// Writes small AVI files with libavcodec for the video tests: every picture is drawn by a
// function of (picture number, x, y), encoded with a codec of the classic era (Microsoft Video 1
// by default; Cinepak, Motion JPEG, MPEG-4 part 2 and others by name). Programs that use this
// link FFmpeg's libraries (PkgConfig::FFMPEG). A video may have a sound track: 16-bit PCM of
// the given mono samples.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace sl::test {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
};

struct TestVideo {
  int width = 32;
  int height = 24;
  int frames = 10;
  int fps = 10;
  std::string codec = "msvideo1";
  std::function<Rgb(int frame, int x, int y)> pixel = [](int, int, int) { return Rgb{}; };
  std::vector<float> sound;  // mono samples of the sound track; none when empty
  int soundRate = 8000;
};

namespace detail {

inline void Check(int result, const char* what) {
  if (result < 0) throw std::runtime_error(std::string("test video: ") + what);
}

inline void Drain(AVCodecContext* enc, AVFormatContext* out, AVStream* st, AVPacket* pkt) {
  while (avcodec_receive_packet(enc, pkt) == 0) {
    av_packet_rescale_ts(pkt, enc->time_base, st->time_base);
    pkt->stream_index = st->index;
    Check(av_interleaved_write_frame(out, pkt), "write");
  }
}

// A PCM sound stream, written as it is (no encoder).
inline AVStream* AddSoundStream(AVFormatContext* out, int rate) {
  AVStream* st = avformat_new_stream(out, nullptr);
  AVCodecParameters* par = st->codecpar;
  par->codec_type = AVMEDIA_TYPE_AUDIO;
  par->codec_id = AV_CODEC_ID_PCM_S16LE;
  par->sample_rate = rate;
  av_channel_layout_default(&par->ch_layout, 1);
  par->bits_per_coded_sample = 16;
  par->block_align = 2;
  par->bit_rate = 16LL * rate;
  st->time_base = AVRational{1, rate};
  return st;
}

// The samples of the sound track from `from` on, up to `count`, as one packet.
inline void WriteSound(AVFormatContext* out, AVStream* st, AVPacket* pkt,
                       const std::vector<float>& sound, std::size_t from, std::size_t count) {
  count = std::min(count, sound.size() - std::min(from, sound.size()));
  if (count == 0) return;
  Check(av_new_packet(pkt, static_cast<int>(2 * count)), "sound packet");
  for (std::size_t i = 0; i < count; ++i) {
    auto v =
        static_cast<std::int16_t>(std::lround(std::clamp(sound[from + i], -1.0f, 1.0f) * 32767));
    pkt->data[2 * i] = static_cast<std::uint8_t>(v & 0xFF);
    pkt->data[2 * i + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
  }
  pkt->pts = pkt->dts = static_cast<std::int64_t>(from);
  pkt->duration = static_cast<std::int64_t>(count);
  pkt->stream_index = st->index;
  Check(av_interleaved_write_frame(out, pkt), "write");
}

}  // namespace detail

inline void WriteTestVideo(const std::string& path, const TestVideo& v) {
  using detail::Check;
  AVFormatContext* out = nullptr;
  Check(avformat_alloc_output_context2(&out, nullptr, "avi", path.c_str()), "container");
  const AVCodec* codec = avcodec_find_encoder_by_name(v.codec.c_str());
  if (!codec) throw std::runtime_error("test video: no encoder " + v.codec);
  AVStream* st = avformat_new_stream(out, nullptr);
  AVCodecContext* enc = avcodec_alloc_context3(codec);
  enc->width = v.width;
  enc->height = v.height;
  enc->time_base = AVRational{1, v.fps};
  enc->framerate = AVRational{v.fps, 1};
  enc->pix_fmt = codec->pix_fmts ? codec->pix_fmts[0] : AV_PIX_FMT_YUV420P;
  enc->gop_size = 12;
  enc->bit_rate = 2'000'000;
  enc->thread_count = 1;
  if (out->oformat->flags & AVFMT_GLOBALHEADER) enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  Check(avcodec_open2(enc, codec, nullptr), "encoder");
  Check(avcodec_parameters_from_context(st->codecpar, enc), "parameters");
  st->time_base = enc->time_base;
  AVStream* soundStream = v.sound.empty() ? nullptr : detail::AddSoundStream(out, v.soundRate);
  Check(avio_open(&out->pb, path.c_str(), AVIO_FLAG_WRITE), "file");
  Check(avformat_write_header(out, nullptr), "header");

  AVFrame* rgb = av_frame_alloc();
  rgb->format = AV_PIX_FMT_RGB24;
  rgb->width = v.width;
  rgb->height = v.height;
  Check(av_frame_get_buffer(rgb, 0), "picture");
  AVFrame* frame = av_frame_alloc();
  frame->format = enc->pix_fmt;
  frame->width = v.width;
  frame->height = v.height;
  Check(av_frame_get_buffer(frame, 0), "picture");
  SwsContext* sws = sws_getContext(v.width, v.height, AV_PIX_FMT_RGB24, v.width, v.height,
                                   enc->pix_fmt, SWS_POINT, nullptr, nullptr, nullptr);
  AVPacket* pkt = av_packet_alloc();
  for (int k = 0; k < v.frames; ++k) {
    Check(av_frame_make_writable(frame), "picture");
    for (int y = 0; y < v.height; ++y) {
      std::uint8_t* row = rgb->data[0] + static_cast<std::ptrdiff_t>(y) * rgb->linesize[0];
      for (int x = 0; x < v.width; ++x) {
        Rgb c = v.pixel(k, x, y);
        row[3 * x] = c.r;
        row[3 * x + 1] = c.g;
        row[3 * x + 2] = c.b;
      }
    }
    sws_scale(sws, rgb->data, rgb->linesize, 0, v.height, frame->data, frame->linesize);
    frame->pts = k;
    Check(avcodec_send_frame(enc, frame), "encode");
    detail::Drain(enc, out, st, pkt);
    if (soundStream) {
      auto perFrame = static_cast<std::size_t>(v.soundRate / v.fps);
      bool last = k + 1 == v.frames;
      detail::WriteSound(out, soundStream, pkt, v.sound, static_cast<std::size_t>(k) * perFrame,
                         last ? v.sound.size() : perFrame);
    }
  }
  Check(avcodec_send_frame(enc, nullptr), "flush");
  detail::Drain(enc, out, st, pkt);
  Check(av_write_trailer(out), "trailer");
  av_packet_free(&pkt);
  sws_freeContext(sws);
  av_frame_free(&frame);
  av_frame_free(&rgb);
  avcodec_free_context(&enc);
  avio_closep(&out->pb);
  avformat_free_context(out);
}

// Pictures of plain colour: picture k is filled with `colours[k % colours.size()]`.
inline std::function<Rgb(int, int, int)> PlainColours(std::vector<Rgb> colours) {
  return [colours = std::move(colours)](int k, int, int) {
    return colours[static_cast<std::size_t>(k) % colours.size()];
  };
}

}  // namespace sl::test

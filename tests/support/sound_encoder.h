// Writes sound files of any format FFmpeg's libraries can encode (wave of every PCM width and
// ADPCM, MP3, WMA, Ogg Vorbis) from float samples, so that decoding tests have small fixtures
// made on the spot. Programs that include this link libavformat, libavcodec, libswresample and
// libavutil.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <string>
#include <vector>

namespace sl::test {

// Whether this FFmpeg build has an encoder of that name.
inline bool HasEncoder(const char* codec) {
  return avcodec_find_encoder_by_name(codec) != nullptr;
}

// Encodes interleaved float samples into `path` with the encoder `codec` in the container
// `container` (an FFmpeg muxer name: "wav", "mp3", "asf", "ogg"). Returns an empty string, or
// what went wrong.
inline std::string EncodeSoundFile(const std::string& path, const char* container,
                                   const char* codec, int rate, int channels,
                                   const std::vector<float>& samples, std::int64_t bitRate = 0) {
  const AVCodec* encoder = avcodec_find_encoder_by_name(codec);
  if (!encoder) return std::string("no encoder ") + codec;
  AVFormatContext* out = nullptr;
  if (avformat_alloc_output_context2(&out, nullptr, container, path.c_str()) < 0) {
    return "no muxer";
  }
  std::string error;
  AVCodecContext* ctx = avcodec_alloc_context3(encoder);
  AVStream* stream = avformat_new_stream(out, nullptr);
  SwrContext* swr = nullptr;
  AVFrame* frame = av_frame_alloc();
  AVPacket* packet = av_packet_alloc();
  auto drain = [&](AVFrame* f) {
    if (avcodec_send_frame(ctx, f) < 0) return false;
    while (avcodec_receive_packet(ctx, packet) == 0) {
      av_packet_rescale_ts(packet, ctx->time_base, stream->time_base);
      packet->stream_index = stream->index;
      av_interleaved_write_frame(out, packet);
    }
    return true;
  };
  do {
    ctx->sample_rate = rate;
    av_channel_layout_default(&ctx->ch_layout, channels);
    ctx->sample_fmt = encoder->sample_fmts ? encoder->sample_fmts[0] : AV_SAMPLE_FMT_S16;
    ctx->time_base = {1, rate};
    if (bitRate) ctx->bit_rate = bitRate;
    ctx->strict_std_compliance = FF_COMPLIANCE_EXPERIMENTAL;
    if (out->oformat->flags & AVFMT_GLOBALHEADER) ctx->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (avcodec_open2(ctx, encoder, nullptr) < 0) {
      error = "the encoder does not open";
      break;
    }
    avcodec_parameters_from_context(stream->codecpar, ctx);
    stream->time_base = ctx->time_base;
    if (avio_open(&out->pb, path.c_str(), AVIO_FLAG_WRITE) < 0 ||
        avformat_write_header(out, nullptr) < 0) {
      error = "the file cannot be written";
      break;
    }
    swr_alloc_set_opts2(&swr, &ctx->ch_layout, ctx->sample_fmt, rate, &ctx->ch_layout,
                        AV_SAMPLE_FMT_FLT, rate, 0, nullptr);
    swr_init(swr);
    int frameSize = ctx->frame_size > 0 ? ctx->frame_size : 1024;
    // Encoders that take only whole frames get the last one filled up with silence.
    std::vector<float> padded = samples;
    if (!(encoder->capabilities &
          (AV_CODEC_CAP_SMALL_LAST_FRAME | AV_CODEC_CAP_VARIABLE_FRAME_SIZE))) {
      std::size_t block = static_cast<std::size_t>(frameSize * channels);
      padded.resize((padded.size() + block - 1) / block * block, 0.0f);
    }
    int total = static_cast<int>(padded.size()) / channels;
    std::int64_t pts = 0;
    for (int at = 0; at < total; at += frameSize) {
      int n = std::min(frameSize, total - at);
      frame->nb_samples = n;
      frame->format = ctx->sample_fmt;
      frame->sample_rate = rate;
      av_channel_layout_copy(&frame->ch_layout, &ctx->ch_layout);
      av_frame_get_buffer(frame, 0);
      const auto* in = reinterpret_cast<const std::uint8_t*>(padded.data() + at * channels);
      swr_convert(swr, frame->data, n, &in, n);
      frame->pts = pts;
      pts += n;
      bool sent = drain(frame);
      av_frame_unref(frame);
      if (!sent) {
        error = "the encoder refused a frame";
        break;
      }
    }
    drain(nullptr);
    av_write_trailer(out);
  } while (false);
  swr_free(&swr);
  av_packet_free(&packet);
  av_frame_free(&frame);
  avcodec_free_context(&ctx);
  if (out->pb) avio_closep(&out->pb);
  avformat_free_context(out);
  return error;
}

}  // namespace sl::test

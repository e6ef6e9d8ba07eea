// Sound files through libavformat, libavcodec and libswresample.
#include "av/decoded_sound.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "av/ffmpeg_input.h"
#include "av/video_decoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

namespace sl::av {

namespace {

// Broken packets in a row that end a sound.
constexpr int kMaxBadPackets = 64;

}  // namespace

struct DecodedSound::State {
  std::unique_ptr<MediaInput> input;
  AVFormatContext* format = nullptr;  // the input's
  AVCodecContext* codec = nullptr;
  SwrContext* swr = nullptr;
  AVPacket* packet = nullptr;
  AVFrame* frame = nullptr;
  int stream = -1;
  AudioFormat out;
  // The input the converter was set up for.
  int swrRate = 0;
  int swrFormat = -1;
  AVChannelLayout swrLayout{};
  std::vector<float> buffer;  // decoded samples not read yet
  std::size_t bufferPos = 0;
  bool inputEnded = false;
  bool ended = false;
  int badPackets = 0;
  // After a seek: the time, in the stream's units, before which decoded samples are dropped.
  std::optional<std::int64_t> target;

  // After the input has moved: decoding starts afresh from there.
  void Restart() {
    avcodec_flush_buffers(codec);
    buffer.clear();
    bufferPos = 0;
    inputEnded = false;
    ended = false;
    badPackets = 0;
    target.reset();
  }

  std::int64_t StartTime() const {
    const AVStream* st = format->streams[stream];
    return st->start_time != AV_NOPTS_VALUE ? st->start_time : 0;
  }

  ~State() {
    av_channel_layout_uninit(&swrLayout);
    swr_free(&swr);
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&codec);
  }

  bool OpenFile(const std::string& path, std::string& why) {
    try {
      input = std::make_unique<MediaInput>(path);
    } catch (const MediaError& e) {
      why = e.what();
      return false;
    }
    format = input->Format();
    stream = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (stream < 0) {
      why = "no sound in the file";
      return false;
    }
    for (unsigned i = 0; i < format->nb_streams; ++i) {
      if (static_cast<int>(i) != stream) format->streams[i]->discard = AVDISCARD_ALL;
    }
    return true;
  }

  bool OpenCodec(std::string& why) {
    const AVCodecParameters* par = format->streams[stream]->codecpar;
    const AVCodec* decoder = avcodec_find_decoder(par->codec_id);
    if (!decoder) {
      why = "no decoder for this kind of sound";
      return false;
    }
    codec = avcodec_alloc_context3(decoder);
    if (!codec || avcodec_parameters_to_context(codec, par) < 0) {
      why = "out of memory";
      return false;
    }
    AVDictionary* options = nullptr;
    av_dict_set(&options, "threads", "1", 0);
    int rc = avcodec_open2(codec, decoder, &options);
    av_dict_free(&options);
    if (rc < 0) {
      why = "the sound cannot be decoded";
      return false;
    }
    int channels = codec->ch_layout.nb_channels;
    if (channels < 1 || codec->sample_rate < kMinSampleRate ||
        codec->sample_rate > kMaxSampleRate) {
      why = "unusable sample rate or channel count";
      return false;
    }
    out.sampleRate = codec->sample_rate;
    out.channels = std::min(channels, 2);
    packet = av_packet_alloc();
    frame = av_frame_alloc();
    if (!packet || !frame) {
      why = "out of memory";
      return false;
    }
    return true;
  }
};

DecodedSound::DecodedSound(std::unique_ptr<State> state) : s_(std::move(state)) {}
DecodedSound::~DecodedSound() = default;

std::unique_ptr<DecodedSound> DecodedSound::Open(const std::string& path, std::string* error) {
  auto state = std::make_unique<State>();
  std::string why;
  if (!state->OpenFile(path, why) || !state->OpenCodec(why)) {
    if (error) *error = why;
    return nullptr;
  }
  return std::unique_ptr<DecodedSound>(new DecodedSound(std::move(state)));
}

AudioFormat DecodedSound::Format() const {
  return s_->out;
}

// Converts the decoded frame to floats at the output rate and channel count into the buffer.
// Float samples at the output's rate and channel count (what most decoders of lossy formats
// give) are only interleaved, without the converter.
bool DecodedSound::CopyFloats() {
  State& s = *s_;
  AVFrame* f = s.frame;
  int channels = f->ch_layout.nb_channels;
  if (f->sample_rate != s.out.sampleRate || channels != s.out.channels ||
      (f->format != AV_SAMPLE_FMT_FLT && f->format != AV_SAMPLE_FMT_FLTP)) {
    return false;
  }
  auto n = static_cast<std::size_t>(f->nb_samples);
  s.buffer.resize(n * static_cast<std::size_t>(channels));
  if (f->format == AV_SAMPLE_FMT_FLT || channels == 1) {
    std::copy_n(reinterpret_cast<const float*>(f->extended_data[0]), s.buffer.size(),
                s.buffer.begin());
  } else {
    const auto* left = reinterpret_cast<const float*>(f->extended_data[0]);
    const auto* right = reinterpret_cast<const float*>(f->extended_data[1]);
    for (std::size_t i = 0; i < n; ++i) {
      s.buffer[2 * i] = left[i];
      s.buffer[2 * i + 1] = right[i];
    }
  }
  s.bufferPos = 0;
  return true;
}

bool DecodedSound::Convert() {
  State& s = *s_;
  AVFrame* f = s.frame;
  if (f->nb_samples <= 0 || f->ch_layout.nb_channels < 1 || f->sample_rate < kMinSampleRate ||
      f->sample_rate > kMaxSampleRate) {
    return false;
  }
  if (CopyFloats()) return true;
  if (!s.swr || s.swrRate != f->sample_rate || s.swrFormat != f->format ||
      av_channel_layout_compare(&s.swrLayout, &f->ch_layout) != 0) {
    swr_free(&s.swr);
    AVChannelLayout outLayout;
    av_channel_layout_default(&outLayout, s.out.channels);
    int rc =
        swr_alloc_set_opts2(&s.swr, &outLayout, AV_SAMPLE_FMT_FLT, s.out.sampleRate, &f->ch_layout,
                            static_cast<AVSampleFormat>(f->format), f->sample_rate, 0, nullptr);
    av_channel_layout_uninit(&outLayout);
    if (rc < 0 || swr_init(s.swr) < 0) {
      swr_free(&s.swr);
      return false;
    }
    s.swrRate = f->sample_rate;
    s.swrFormat = f->format;
    av_channel_layout_uninit(&s.swrLayout);
    av_channel_layout_copy(&s.swrLayout, &f->ch_layout);
  }
  int room = swr_get_out_samples(s.swr, f->nb_samples);
  if (room <= 0) return false;
  s.buffer.resize(static_cast<std::size_t>(room) * static_cast<std::size_t>(s.out.channels));
  auto* dst = reinterpret_cast<std::uint8_t*>(s.buffer.data());
  int made = swr_convert(s.swr, &dst, room, const_cast<const std::uint8_t**>(f->extended_data),
                         f->nb_samples);
  s.buffer.resize(static_cast<std::size_t>(std::max(made, 0)) *
                  static_cast<std::size_t>(s.out.channels));
  s.bufferPos = 0;
  return made > 0;
}

// Decodes until the buffer holds samples again; false at the end of the sound.
bool DecodedSound::DecodeMore() {
  State& s = *s_;
  while (!s.ended) {
    int rc = avcodec_receive_frame(s.codec, s.frame);
    if (rc == 0) {
      std::int64_t timestamp = s.frame->best_effort_timestamp;
      bool got = Convert();
      av_frame_unref(s.frame);
      if (got && DropBeforeTarget(timestamp)) return true;
      continue;
    }
    if (rc == AVERROR_EOF) break;
    if (rc != AVERROR(EAGAIN)) {
      if (++s.badPackets > kMaxBadPackets) break;
      continue;
    }
    if (s.inputEnded) break;
    if (av_read_frame(s.format, s.packet) < 0) {
      s.inputEnded = true;
      avcodec_send_packet(s.codec, nullptr);
      continue;
    }
    if (s.packet->stream_index == s.stream) {
      rc = avcodec_send_packet(s.codec, s.packet);
      if (rc == 0) {
        s.badPackets = 0;
      } else if (rc != AVERROR(EAGAIN) && ++s.badPackets > kMaxBadPackets) {
        s.ended = true;
      }
    }
    av_packet_unref(s.packet);
  }
  s.ended = true;
  return false;
}

int DecodedSound::Read(float* out, int frames) {
  State& s = *s_;
  const auto ch = static_cast<std::size_t>(s.out.channels);
  std::size_t want = static_cast<std::size_t>(std::max(frames, 0)) * ch;
  std::size_t done = 0;
  while (done < want) {
    if (s.bufferPos >= s.buffer.size() && !DecodeMore()) break;
    std::size_t n = std::min(want - done, s.buffer.size() - s.bufferPos);
    std::copy_n(s.buffer.begin() + static_cast<long>(s.bufferPos), n, out + done);
    s.bufferPos += n;
    done += n;
  }
  return static_cast<int>(done / ch);
}

// Drops the samples of a frame decoded after a seek that lie before the seek's target (the
// demuxer goes to a packet at or before it). False when nothing of the frame is left.
bool DecodedSound::DropBeforeTarget(std::int64_t timestamp) {
  State& s = *s_;
  if (!s.target) return true;
  if (timestamp == AV_NOPTS_VALUE) {
    s.target.reset();  // the frame's time is unknown: play from here
    return true;
  }
  AVRational base = s.format->streams[s.stream]->time_base;
  std::int64_t drop = av_rescale_q(*s.target - timestamp, base, AVRational{1, s.out.sampleRate});
  auto channels = static_cast<std::size_t>(s.out.channels);
  std::size_t frames = s.buffer.size() / channels;
  if (drop > 0 && static_cast<std::size_t>(drop) >= frames) {
    s.bufferPos = s.buffer.size();
    return false;
  }
  s.bufferPos = static_cast<std::size_t>(std::max<std::int64_t>(drop, 0)) * channels;
  s.target.reset();
  return true;
}

bool DecodedSound::Rewind() {
  State& s = *s_;
  if (av_seek_frame(s.format, s.stream, s.StartTime(), AVSEEK_FLAG_BACKWARD) < 0 &&
      avformat_seek_file(s.format, -1, INT64_MIN, 0, INT64_MAX, 0) < 0) {
    return false;
  }
  s.Restart();
  return true;
}

bool DecodedSound::Seek(double seconds) {
  State& s = *s_;
  if (!(seconds > 0)) return Rewind();
  AVRational base = s.format->streams[s.stream]->time_base;
  // FFmpeg's AV_TIME_BASE_Q is a C compound literal, which C++ compilers other than GCC reject.
  constexpr AVRational kMicroseconds{1, AV_TIME_BASE};
  std::int64_t offset = av_rescale_q(std::llround(seconds * AV_TIME_BASE), kMicroseconds, base);
  std::int64_t timestamp = s.StartTime() + offset;
  if (av_seek_frame(s.format, s.stream, timestamp, AVSEEK_FLAG_BACKWARD) < 0) return false;
  s.Restart();
  s.target = timestamp;
  return true;
}

double DecodedSound::Duration() {
  double seconds = static_cast<double>(s_->input->DurationMs()) / 1000;
  Rewind();
  return seconds;
}

std::optional<double> DecodedSoundDuration(const std::string& path) {
  std::unique_ptr<DecodedSound> sound = DecodedSound::Open(path);
  if (!sound) return std::nullopt;
  return sound->Duration();
}

}  // namespace sl::av

// Sound files through libavformat, libavcodec and libswresample.
#include "av/decoded_sound.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/log.h>
#include <libswresample/swresample.h>
}

namespace sl::av {

namespace {

// The demuxers a game's sound may need (names as FFmpeg gives them).
constexpr const char* kSoundFormats =
    "wav,w64,mp3,asf,ogg,flac,aiff,au,voc,mov,matroska,aac,ac3,eac3,mp2,caf,wv,ape,tta,amr,gsm";
constexpr int kIoBufferSize = 32768;
// Broken packets in a row that end a sound.
constexpr int kMaxBadPackets = 64;

void QuietLibraries() {
  static const bool done = [] {
    av_log_set_level(AV_LOG_QUIET);
    return true;
  }();
  (void)done;
}

int ReadFile(void* opaque, std::uint8_t* buffer, int size) {
  std::size_t n =
      std::fread(buffer, 1, static_cast<std::size_t>(size), static_cast<std::FILE*>(opaque));
  return n == 0 ? AVERROR_EOF : static_cast<int>(n);
}

std::int64_t SeekFile(void* opaque, std::int64_t offset, int whence) {
  auto* f = static_cast<std::FILE*>(opaque);
  if (whence & AVSEEK_SIZE) {
    off_t here = ftello(f);
    if (fseeko(f, 0, SEEK_END) != 0) return -1;
    off_t size = ftello(f);
    fseeko(f, here, SEEK_SET);
    return size;
  }
  whence &= ~AVSEEK_FORCE;
  if (fseeko(f, static_cast<off_t>(offset), whence) != 0) return -1;
  return ftello(f);
}

// Formats that would open other files or addresses get nothing.
int RefuseNestedOpen(AVFormatContext*, AVIOContext**, const char*, int, AVDictionary**) {
  return AVERROR(EPERM);
}

}  // namespace

struct DecodedSound::State {
  std::FILE* file = nullptr;
  AVIOContext* io = nullptr;
  AVFormatContext* format = nullptr;
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

  ~State() {
    av_channel_layout_uninit(&swrLayout);
    swr_free(&swr);
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&codec);
    avformat_close_input(&format);
    if (io) av_freep(&io->buffer);
    avio_context_free(&io);
    if (file) std::fclose(file);
  }

  bool OpenFile(const std::string& path, std::string& why) {
    // Only plain files: a device or a pipe in a game's folder could block or never end.
    std::error_code ec;
    if (std::filesystem::is_regular_file(path, ec)) file = std::fopen(path.c_str(), "rb");
    if (!file) {
      why = "cannot open the file";
      return false;
    }
    auto* ioBuffer = static_cast<std::uint8_t*>(av_malloc(kIoBufferSize));
    io = avio_alloc_context(ioBuffer, kIoBufferSize, 0, file, &ReadFile, nullptr, &SeekFile);
    format = avformat_alloc_context();
    if (!io || !format) {
      if (!io) av_free(ioBuffer);
      why = "out of memory";
      return false;
    }
    format->pb = io;
    format->flags |= AVFMT_FLAG_CUSTOM_IO;
    format->io_open = &RefuseNestedOpen;
    AVDictionary* options = nullptr;
    av_dict_set(&options, "format_whitelist", kSoundFormats, 0);
    int rc = avformat_open_input(&format, "", nullptr, &options);
    av_dict_free(&options);
    if (rc < 0) {
      // avformat_open_input frees the context on failure.
      why = "not a sound file";
      return false;
    }
    if (avformat_find_stream_info(format, nullptr) < 0) {
      why = "unreadable sound file";
      return false;
    }
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

  double StatedDuration() const {
    const AVStream* st = format->streams[stream];
    if (st->duration != AV_NOPTS_VALUE && st->duration > 0) {
      return static_cast<double>(st->duration) * av_q2d(st->time_base);
    }
    if (format->duration != AV_NOPTS_VALUE && format->duration > 0) {
      return static_cast<double>(format->duration) / AV_TIME_BASE;
    }
    return -1;
  }

  // Sums the lengths of the stream's packets from where the file stands.
  double CountedDuration() {
    const AVStream* st = format->streams[stream];
    std::int64_t total = 0;
    AVPacket* p = av_packet_alloc();
    if (!p) return 0;
    while (av_read_frame(format, p) >= 0) {
      if (p->stream_index == stream && p->duration > 0) total += p->duration;
      av_packet_unref(p);
    }
    av_packet_free(&p);
    return static_cast<double>(total) * av_q2d(st->time_base);
  }
};

DecodedSound::DecodedSound(std::unique_ptr<State> state) : s_(std::move(state)) {}
DecodedSound::~DecodedSound() = default;

std::unique_ptr<DecodedSound> DecodedSound::Open(const std::string& path, std::string* error) {
  QuietLibraries();
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
      bool got = Convert();
      av_frame_unref(s.frame);
      if (got) return true;
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

bool DecodedSound::Rewind() {
  State& s = *s_;
  const AVStream* st = s.format->streams[s.stream];
  std::int64_t start = st->start_time != AV_NOPTS_VALUE ? st->start_time : 0;
  if (av_seek_frame(s.format, s.stream, start, AVSEEK_FLAG_BACKWARD) < 0 &&
      avformat_seek_file(s.format, -1, INT64_MIN, 0, INT64_MAX, 0) < 0) {
    return false;
  }
  avcodec_flush_buffers(s.codec);
  s.buffer.clear();
  s.bufferPos = 0;
  s.inputEnded = false;
  s.ended = false;
  s.badPackets = 0;
  return true;
}

double DecodedSound::Duration() {
  State& s = *s_;
  double stated = s.StatedDuration();
  if (stated > 0 && s.format->duration_estimation_method != AVFMT_DURATION_FROM_BITRATE) {
    return stated;
  }
  double counted = s.CountedDuration();
  Rewind();
  return counted > 0 ? counted : std::max(stated, 0.0);
}

std::optional<double> DecodedSoundDuration(const std::string& path) {
  std::unique_ptr<DecodedSound> sound = DecodedSound::Open(path);
  if (!sound) return std::nullopt;
  return sound->Duration();
}

}  // namespace sl::av

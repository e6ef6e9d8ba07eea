// Rate conversion over libswresample.
#include "av/rate_converter.h"

#include <stdexcept>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/mathematics.h>
#include <libswresample/swresample.h>
}

namespace sl::av {

RateConverter::RateConverter(int inRate, int outRate, int channels)
    : inRate_(inRate), outRate_(outRate), channels_(channels) {
  AVChannelLayout layout;
  av_channel_layout_default(&layout, channels);
  int rc = swr_alloc_set_opts2(&swr_, &layout, AV_SAMPLE_FMT_FLT, outRate, &layout,
                               AV_SAMPLE_FMT_FLT, inRate, 0, nullptr);
  av_channel_layout_uninit(&layout);
  if (rc < 0 || swr_init(swr_) < 0) {
    swr_free(&swr_);
    throw std::runtime_error("sample rate conversion is not possible");
  }
}

RateConverter::~RateConverter() {
  swr_free(&swr_);
}

void RateConverter::Run(const float* in, int frames, std::vector<float>& out) {
  int room = swr_get_out_samples(swr_, frames);
  if (room <= 0) return;
  std::size_t old = out.size();
  out.resize(old + static_cast<std::size_t>(room) * static_cast<std::size_t>(channels_));
  auto* dst = reinterpret_cast<std::uint8_t*>(out.data() + old);
  const auto* src = reinterpret_cast<const std::uint8_t*>(in);
  int made = swr_convert(swr_, &dst, room, in ? &src : nullptr, in ? frames : 0);
  if (made < 0) made = 0;
  out.resize(old + static_cast<std::size_t>(made) * static_cast<std::size_t>(channels_));
}

void RateConverter::Convert(const float* in, int frames, std::vector<float>& out) {
  if (frames > 0) Run(in, frames, out);
}

void RateConverter::Flush(std::vector<float>& out) {
  Run(nullptr, 0, out);
}

int RateConverter::InputFor(int outFrames) const {
  return static_cast<int>(av_rescale_rnd(outFrames, inRate_, outRate_, AV_ROUND_UP)) + 1;
}

}  // namespace sl::av

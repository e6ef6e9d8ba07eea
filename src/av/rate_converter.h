// RateConverter: changes the sample rate of interleaved float samples (libswresample's
// filter), keeping the channel count. Fed in pieces of any size; the output of each piece is
// appended to the caller's buffer, and Flush() drains what the filter still holds at the end.
#pragma once

#include <vector>

struct SwrContext;

namespace sl::av {

class RateConverter {
 public:
  // Throws std::runtime_error when the rates or channel count cannot be converted.
  RateConverter(int inRate, int outRate, int channels);
  ~RateConverter();
  RateConverter(const RateConverter&) = delete;
  RateConverter& operator=(const RateConverter&) = delete;

  // Converts `frames` frames of `in` and appends the frames that come out to `out`.
  void Convert(const float* in, int frames, std::vector<float>& out);
  // Appends the frames still held back by the filter (after the last input).
  void Flush(std::vector<float>& out);
  // About how many input frames give `outFrames` output frames.
  int InputFor(int outFrames) const;

 private:
  void Run(const float* in, int frames, std::vector<float>& out);

  SwrContext* swr_ = nullptr;
  int inRate_;
  int outRate_;
  int channels_;
};

}  // namespace sl::av

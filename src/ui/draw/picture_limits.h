// The largest picture the decoders accept. A damaged header can announce any size; every decoder
// checks the announced size against these limits before it allocates for the pixels, and
// refuses larger pictures as invalid.
#pragma once

#include <cstdint>

namespace sl::draw {

constexpr std::int64_t kMaxPictureSide = 32768;
// 64 M pixels: 256 MB once decoded to 32-bit pixels.
constexpr std::int64_t kMaxPicturePixels = std::int64_t{1} << 26;

constexpr bool PictureSizeAcceptable(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
         width * height <= kMaxPicturePixels;
}

}  // namespace sl::draw

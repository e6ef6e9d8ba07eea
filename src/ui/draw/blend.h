// Inline pixel arithmetic shared by the raster loops: premultiplied source-over blending and
// scaling a pixel by a coverage, two channels at a time.
#pragma once

#include <cstdint>

#include "ui/draw/color.h"

namespace sl::draw::detail {

// Multiplies all four channels of `p` by f / 255 (f in 0..255), rounded.
inline Pixel ScalePixel(Pixel p, std::uint32_t f) {
  std::uint32_t rb = (p & 0x00FF00FFu) * f + 0x00800080u;
  std::uint32_t ag = ((p >> 8) & 0x00FF00FFu) * f + 0x00800080u;
  rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
  ag = (ag + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
  return rb | ag;
}

// Premultiplied source over destination.
inline Pixel BlendOver(Pixel src, Pixel dst) {
  std::uint32_t a = src >> 24;
  if (a == 255) return src;
  if (a == 0) return dst;
  return src + ScalePixel(dst, 255 - a);
}

// Same, for runs where most pixels are fully opaque or fully transparent.
inline void BlendRow(Pixel* dst, const Pixel* src, int count) {
  for (int i = 0; i < count; ++i) {
    Pixel s = src[i];
    std::uint32_t a = s >> 24;
    if (a == 255) {
      dst[i] = s;
    } else if (a != 0) {
      dst[i] = s + ScalePixel(dst[i], 255 - a);
    }
  }
}

}  // namespace sl::draw::detail

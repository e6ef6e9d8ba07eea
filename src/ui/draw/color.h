// Colours: the pixel format of every Surface, straight RGBA values, the classic 32-bit colour
// values (&HBBGGRR, red in the low byte) and the classic system colours.
#pragma once

#include <cstdint>

namespace sl::draw {

// One pixel of a Surface: premultiplied-alpha RGBA, 8 bits a channel, stored as the bytes R, G,
// B, A in memory order. As a 32-bit integer on a little-endian machine that is 0xAABBGGRR, so an
// opaque pixel's low 24 bits are exactly the classic colour value &HBBGGRR.
using Pixel = std::uint32_t;

// A colour with straight (not premultiplied) alpha.
struct Rgba {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  std::uint8_t a = 255;
  friend bool operator==(const Rgba&, const Rgba&) = default;
};

constexpr std::uint8_t PixelRed(Pixel p) {
  return static_cast<std::uint8_t>(p);
}
constexpr std::uint8_t PixelGreen(Pixel p) {
  return static_cast<std::uint8_t>(p >> 8);
}
constexpr std::uint8_t PixelBlue(Pixel p) {
  return static_cast<std::uint8_t>(p >> 16);
}
constexpr std::uint8_t PixelAlpha(Pixel p) {
  return static_cast<std::uint8_t>(p >> 24);
}

// Builds a pixel from premultiplied channel values.
constexpr Pixel PackPixel(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {
  return static_cast<Pixel>(r) | static_cast<Pixel>(g) << 8 | static_cast<Pixel>(b) << 16 |
         static_cast<Pixel>(a) << 24;
}
constexpr Pixel OpaquePixel(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return PackPixel(r, g, b, 255);
}
constexpr Pixel kTransparent = 0;
constexpr Pixel kBlack = OpaquePixel(0, 0, 0);
constexpr Pixel kWhite = OpaquePixel(255, 255, 255);

// Straight colour -> premultiplied pixel (rounded).
constexpr Pixel ToPixel(Rgba c) {
  if (c.a == 255) return OpaquePixel(c.r, c.g, c.b);
  auto mul = [a = c.a](std::uint8_t v) { return static_cast<std::uint8_t>((v * a + 127) / 255); };
  return PackPixel(mul(c.r), mul(c.g), mul(c.b), c.a);
}
// Premultiplied pixel -> straight colour (a fully transparent pixel gives transparent black).
constexpr Rgba ToRgba(Pixel p) {
  std::uint8_t a = PixelAlpha(p);
  if (a == 255) return {PixelRed(p), PixelGreen(p), PixelBlue(p), 255};
  if (a == 0) return {0, 0, 0, 0};
  auto div = [a](std::uint8_t v) {
    unsigned q = (v * 255u + a / 2) / a;
    return static_cast<std::uint8_t>(q > 255 ? 255 : q);
  };
  return {div(PixelRed(p)), div(PixelGreen(p)), div(PixelBlue(p)), a};
}

// The classic system colours, numbered as the window system numbers them. A classic colour
// value with the high bit set (&H80000000 + number) means "this system colour".
enum class SystemColor : int {
  kScrollBar = 0,
  kDesktop = 1,
  kActiveTitleBar = 2,
  kInactiveTitleBar = 3,
  kMenuBar = 4,
  kWindowBackground = 5,
  kWindowFrame = 6,
  kMenuText = 7,
  kWindowText = 8,
  kTitleBarText = 9,
  kActiveBorder = 10,
  kInactiveBorder = 11,
  kApplicationWorkspace = 12,
  kHighlight = 13,
  kHighlightText = 14,
  kButtonFace = 15,
  kButtonShadow = 16,
  kGrayText = 17,
  kButtonText = 18,
  kInactiveCaptionText = 19,
  kButtonHighlight = 20,
  k3DDarkShadow = 21,
  k3DLight = 22,
  kInfoText = 23,
  kInfoBackground = 24,
};
constexpr int kSystemColorCount = 25;

// The system colour of the default (standard) classic scheme, always opaque.
Rgba SystemColorRgba(SystemColor color);
inline Pixel SystemPixel(SystemColor color) {
  return ToPixel(SystemColorRgba(color));
}

// True for &H80000000 + n, a reference to system colour n.
constexpr bool IsSystemColorValue(std::uint32_t classic) {
  return (classic & 0x80000000u) != 0;
}

// A classic colour value to an opaque colour: &HBBGGRR, or a system colour reference (an unknown
// system colour number gives black). Bits 24..30 of a plain colour are ignored.
Rgba ClassicToRgba(std::uint32_t classic);
inline Pixel ClassicToPixel(std::uint32_t classic) {
  return ToPixel(ClassicToRgba(classic));
}
// A colour to its classic value &HBBGGRR (alpha is dropped).
constexpr std::uint32_t RgbaToClassic(Rgba c) {
  return static_cast<std::uint32_t>(c.r) | static_cast<std::uint32_t>(c.g) << 8 |
         static_cast<std::uint32_t>(c.b) << 16;
}

}  // namespace sl::draw

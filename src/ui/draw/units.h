// Unit conversions of the classic window system: twips (15 to the pixel at 96 DPI), HIMETRIC
// (hundredths of a millimetre, in which pictures report their size) and font points.
#pragma once

#include <cmath>

namespace sl::draw {

constexpr int kTwipsPerPixel = 15;
constexpr int kScreenDpi = 96;

// Positions and sizes are held in twips as doubles, so both conversions compute in double (no
// pixel count can overflow); callers round or truncate a result in pixels as they need.
constexpr double PixelsToTwips(double pixels) {
  return pixels * kTwipsPerPixel;
}
constexpr double TwipsToPixels(double twips) {
  return twips / kTwipsPerPixel;
}

// 2540 HIMETRIC units to the inch, 96 pixels to the inch; rounded to the nearest unit.
constexpr int PixelsToHimetric(int pixels) {
  long long v = static_cast<long long>(pixels) * 2540;
  return static_cast<int>(v >= 0 ? (v + 48) / 96 : (v - 48) / 96);
}
constexpr int HimetricToPixels(int himetric) {
  long long v = static_cast<long long>(himetric) * 96;
  return static_cast<int>(v >= 0 ? (v + 1270) / 2540 : (v - 1270) / 2540);
}
constexpr int HimetricToTwips(int himetric) {
  long long v = static_cast<long long>(himetric) * 1440;
  return static_cast<int>(v >= 0 ? (v + 1270) / 2540 : (v - 1270) / 2540);
}

// Font points to pixels at 96 DPI (pixels = points * 96 / 72), rounded to the nearest pixel.
inline int PointsToPixels(double points) {
  return static_cast<int>(std::lround(points * kScreenDpi / 72.0));
}

}  // namespace sl::draw

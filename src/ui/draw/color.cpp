// System colour table of the default classic scheme and classic colour decoding.
#include "ui/draw/color.h"

#include <array>

namespace sl::draw {

namespace {

// The standard scheme of the classic desktop (grey 3-D faces, navy selection).
constexpr std::array<std::uint32_t, kSystemColorCount> kSchemeRgb = {
    0xD4D0C8,  // scroll bar
    0x3A6EA5,  // desktop
    0x0A246A,  // active title bar
    0x808080,  // inactive title bar
    0xD4D0C8,  // menu bar
    0xFFFFFF,  // window background
    0x000000,  // window frame
    0x000000,  // menu text
    0x000000,  // window text
    0xFFFFFF,  // title bar text
    0xD4D0C8,  // active border
    0xD4D0C8,  // inactive border
    0x808080,  // application workspace
    0x0A246A,  // highlight
    0xFFFFFF,  // highlight text
    0xD4D0C8,  // button face
    0x808080,  // button shadow
    0x808080,  // grey text
    0x000000,  // button text
    0xD4D0C8,  // inactive caption text
    0xFFFFFF,  // button highlight
    0x404040,  // 3-D dark shadow
    0xD4D0C8,  // 3-D light
    0x000000,  // info text
    0xFFFFE1,  // info background
};

}  // namespace

Rgba SystemColorRgba(SystemColor color) {
  auto index = static_cast<int>(color);
  if (index < 0 || index >= kSystemColorCount) return {0, 0, 0, 255};
  std::uint32_t rgb = kSchemeRgb[static_cast<std::size_t>(index)];
  return {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
          static_cast<std::uint8_t>(rgb), 255};
}

Rgba ClassicToRgba(std::uint32_t classic) {
  if (IsSystemColorValue(classic)) {
    std::uint32_t index = classic & 0x7FFFFFFFu;
    if (index >= kSystemColorCount) return {0, 0, 0, 255};
    return SystemColorRgba(static_cast<SystemColor>(index));
  }
  return {static_cast<std::uint8_t>(classic), static_cast<std::uint8_t>(classic >> 8),
          static_cast<std::uint8_t>(classic >> 16), 255};
}

}  // namespace sl::draw

// How the desktop scales a game's pictures to the screen: `auto` (whole factors where they fit
// well, else the exact fit, sharp pixels), `pixel-perfect` (whole factors only, black borders)
// or `smooth` (the exact fit, filtered where the factor is fractional).
#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <utility>

namespace sl::ui {

enum class ScaleMode { Auto, PixelPerfect, Smooth };

inline constexpr std::array<std::pair<ScaleMode, std::string_view>, 3> kScaleModeNames{{
    {ScaleMode::Auto, "auto"},
    {ScaleMode::PixelPerfect, "pixel-perfect"},
    {ScaleMode::Smooth, "smooth"},
}};

inline std::string_view ScaleModeName(ScaleMode mode) {
  for (const auto& [m, name] : kScaleModeNames) {
    if (m == mode) return name;
  }
  return "auto";
}

inline std::optional<ScaleMode> ParseScaleMode(std::string_view name) {
  for (const auto& [m, text] : kScaleModeNames) {
    if (text == name) return m;
  }
  return std::nullopt;
}

}  // namespace sl::ui

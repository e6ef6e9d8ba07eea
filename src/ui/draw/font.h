// Fonts: the classic font description (name, size in points, styles), the mapping of classic
// font names to installed metric-compatible fonts, and Font, a measured and drawable font.
// Rendering goes through SDL_ttf (no video device needed); files are found with fontconfig.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "ui/draw/color.h"
#include "ui/draw/geometry.h"
#include "ui/draw/surface.h"

namespace sl::draw {

struct FontSpec {
  std::string name = "MS Sans Serif";
  double size = 8.25;  // points; pixels = points * 96 / 72
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// The installed font file that serves a FontSpec.
struct FontMatch {
  std::filesystem::path file;
  int faceIndex = 0;
  std::string family;          // family name of the file found
  bool syntheticBold = false;  // the file is not bold, so boldness is drawn
  bool syntheticItalic = false;
};

// A font at one size and style. Copies share the same loaded font. A default-constructed Font
// (or one whose file could not be loaded) measures every text as 0 wide and draws nothing, so
// a missing font never stops a game.
class Font {
 public:
  Font() = default;
  bool Valid() const { return impl_ != nullptr; }
  const FontSpec& Spec() const;
  int PixelSize() const;  // em height in pixels

  // Vertical metrics in pixels: Ascent above the baseline, Descent below it (positive),
  // Height = Ascent + Descent (the distance between lines of a label).
  int Ascent() const;
  int Descent() const;
  int Height() const;

  // Width in pixels of one line of UTF-8 text (line breaks are not interpreted).
  int TextWidth(std::string_view utf8) const;
  Size TextSize(std::string_view utf8) const { return {TextWidth(utf8), Height()}; }

  // Draws one line of UTF-8 text, anti-aliased, with the top of its line box at (x, y) and
  // the baseline at y + Ascent(). The font's underline and strikethrough are drawn too. Only
  // what falls inside the target's clip costs work: a line of a million characters renders the
  // few that show.
  void DrawText(Surface& target, int x, int y, std::string_view utf8, Pixel color) const;

 private:
  void DrawVisiblePart(Surface& target, int x, int y, std::string_view utf8, Pixel color) const;
  friend class FontSystem;
  struct Impl;
  explicit Font(std::shared_ptr<Impl> impl) : impl_(std::move(impl)) {}
  std::shared_ptr<Impl> impl_;
};

// Owns the font machinery (SDL_ttf, fontconfig) and caches loaded fonts by FontSpec. Fonts it
// hands out stay usable after it is destroyed.
class FontSystem {
 public:
  FontSystem();
  ~FontSystem();
  FontSystem(const FontSystem&) = delete;
  FontSystem& operator=(const FontSystem&) = delete;

  Font Get(const FontSpec& spec);
  // The file that serves `spec`: the classic name's substitute if it has one, else
  // fontconfig's best match for the name.
  FontMatch Resolve(const FontSpec& spec);

  // The free family that stands in for a classic font name ("Arial" -> "Liberation Sans"),
  // compared without regard to case; empty when the name has no fixed substitute.
  static std::string_view SubstituteFamily(std::string_view classicName);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace sl::draw

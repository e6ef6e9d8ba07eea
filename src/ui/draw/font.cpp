// Fonts through SDL_ttf, files found through fontconfig. Rendered lines are kept per font as
// 8-bit coverage masks, so labels that are drawn every frame cost a masked blend, not a
// rasterisation.
#include "ui/draw/font.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <unordered_map>

#include "core/case_fold.h"
#include "ui/draw/units.h"

namespace sl::draw {

namespace {

// Keeps SDL_ttf initialised while any font or font system lives (its init is counted).
struct TtfLibrary {
  TtfLibrary() : ok(TTF_Init() == 0) {}
  ~TtfLibrary() {
    if (ok) TTF_Quit();
  }
  TtfLibrary(const TtfLibrary&) = delete;
  TtfLibrary& operator=(const TtfLibrary&) = delete;
  bool ok;
};

struct Substitute {
  std::string_view classic;
  std::string_view family;
};

// Classic names and the free families with the same (or very close) metrics.
constexpr std::array<Substitute, 14> kSubstitutes = {{
    {"arial", "Liberation Sans"},
    {"helvetica", "Liberation Sans"},
    {"ms sans serif", "Liberation Sans"},
    {"microsoft sans serif", "Liberation Sans"},
    {"ms shell dlg", "Liberation Sans"},
    {"system", "Liberation Sans"},
    {"times new roman", "Liberation Serif"},
    {"times", "Liberation Serif"},
    {"ms serif", "Liberation Serif"},
    {"courier new", "Liberation Mono"},
    {"courier", "Liberation Mono"},
    {"fixedsys", "Liberation Mono"},
    {"terminal", "Liberation Mono"},
    {"verdana", "DejaVu Sans"},
}};

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && s.front() == ' ')
    s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ')
    s.remove_suffix(1);
  return s;
}

// One rendered line: coverage bytes, width x height.
struct LineMask {
  std::vector<std::uint8_t> coverage;
  int width = 0;
  int height = 0;
};

constexpr std::size_t kLineCacheBytes = 4u << 20;

// Lines up to this length are always rendered whole; longer ones only in part when they reach
// far out of the clip (Font::DrawVisiblePart).
constexpr std::size_t kShortLineBytes = 256;
// How far a glyph may lean over its advance, in pixels, beyond which a line counts as outside.
constexpr int kLineOverhang = 64;
// About how wide the pieces of a long line are measured.
constexpr int kPiecePixels = 256;

std::size_t Utf8SequenceLength(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

}  // namespace

struct Font::Impl {
  std::shared_ptr<TtfLibrary> library;
  TTF_Font* font = nullptr;
  FontSpec spec;
  int pixelSize = 0;
  int ascent = 0;
  int height = 0;
  std::unordered_map<std::string, LineMask> lines;
  std::size_t lineBytes = 0;

  ~Impl() {
    if (font) TTF_CloseFont(font);
  }

  const LineMask* Render(std::string_view utf8) {
    std::string key(utf8);
    auto found = lines.find(key);
    if (found != lines.end()) return &found->second;
    SDL_Surface* s = TTF_RenderUTF8_Blended(font, key.c_str(), SDL_Color{255, 255, 255, 255});
    if (!s) return nullptr;
    LineMask mask;
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(s);
    if (!argb) return nullptr;
    mask.width = argb->w;
    mask.height = argb->h;
    mask.coverage.resize(static_cast<std::size_t>(mask.width) * mask.height);
    for (int y = 0; y < mask.height; ++y) {
      const auto* row =
          reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(argb->pixels) +
                                                 static_cast<std::ptrdiff_t>(y) * argb->pitch);
      for (int x = 0; x < mask.width; ++x) {
        mask.coverage[static_cast<std::size_t>(y) * mask.width + x] =
            static_cast<std::uint8_t>(row[x] >> 24);
      }
    }
    SDL_FreeSurface(argb);
    if (lineBytes + mask.coverage.size() > kLineCacheBytes) {
      lines.clear();
      lineBytes = 0;
    }
    lineBytes += mask.coverage.size();
    return &lines.emplace(std::move(key), std::move(mask)).first->second;
  }
};

const FontSpec& Font::Spec() const {
  static const FontSpec kDefault;
  return impl_ ? impl_->spec : kDefault;
}

int Font::PixelSize() const {
  return impl_ ? impl_->pixelSize : 0;
}
int Font::Ascent() const {
  return impl_ ? impl_->ascent : 0;
}
int Font::Descent() const {
  return impl_ ? impl_->height - impl_->ascent : 0;
}
int Font::Height() const {
  return impl_ ? impl_->height : 0;
}

int Font::TextWidth(std::string_view utf8) const {
  if (!impl_ || utf8.empty()) return 0;
  std::string text(utf8);
  int w = 0, h = 0;
  if (TTF_SizeUTF8(impl_->font, text.c_str(), &w, &h) != 0) return 0;
  return w;
}

void Font::DrawText(Surface& target, int x, int y, std::string_view utf8, Pixel color) const {
  if (!impl_ || utf8.empty()) return;
  Rect clip = target.Clip();
  if (clip.Empty() || y >= clip.Bottom() || y + impl_->height <= clip.y) return;
  if (utf8.size() > kShortLineBytes && !impl_->lines.contains(std::string(utf8))) {
    int width = TextWidth(utf8);
    if (x < clip.x - kLineOverhang || x + width > clip.Right() + kLineOverhang) {
      DrawVisiblePart(target, x, y, utf8, color);
      return;
    }
  }
  const LineMask* mask = impl_->Render(utf8);
  if (!mask) return;
  target.BlendMask(mask->coverage.data(), mask->width, mask->height, mask->width, x, y, color);
}

// A line that reaches far out of the clip is cut into pieces of a few characters, measured one
// by one; only the pieces inside the clip (and one more at either side, for glyphs that lean
// over) are rendered, at the place their measured widths give. Kerning across the cuts is the
// only difference from the whole line, and it falls outside the clip.
void Font::DrawVisiblePart(Surface& target, int x, int y, std::string_view utf8,
                           Pixel color) const {
  Rect clip = target.Clip();
  // About kPiecePixels wide at this size, so a piece never overshoots the clip by much.
  std::size_t piece =
      static_cast<std::size_t>(std::max(1, kPiecePixels / std::max(1, impl_->pixelSize)));
  std::size_t from = std::string_view::npos, to = utf8.size();
  int fromX = x;
  int at = x;
  std::size_t i = 0;
  while (i < utf8.size()) {
    std::size_t end = i;
    for (std::size_t n = 0; n < piece && end < utf8.size(); ++n)
      end += Utf8SequenceLength(static_cast<unsigned char>(utf8[end]));
    end = std::min(end, utf8.size());
    int next = at + TextWidth(utf8.substr(i, end - i));
    if (from == std::string_view::npos && next >= clip.x - kLineOverhang) {
      from = i;
      fromX = at;
    }
    if (at > clip.Right() + kLineOverhang) {
      to = i;
      break;
    }
    at = next;
    i = end;
  }
  if (from == std::string_view::npos || to <= from) return;
  const LineMask* mask = impl_->Render(utf8.substr(from, to - from));
  if (!mask) return;
  target.BlendMask(mask->coverage.data(), mask->width, mask->height, mask->width, fromX, y, color);
}

struct FontSystem::Impl {
  std::shared_ptr<TtfLibrary> library = std::make_shared<TtfLibrary>();
  FcConfig* config = FcInitLoadConfigAndFonts();
  std::unordered_map<std::string, FontMatch> matches;
  std::unordered_map<std::string, Font> fonts;

  ~Impl() {
    fonts.clear();
    if (config) FcConfigDestroy(config);
  }

  FontMatch Match(const std::string& family, bool bold, bool italic) {
    std::string key = ToLowerAscii(family) + (bold ? "|b" : "|") + (italic ? "i" : "");
    auto found = matches.find(key);
    if (found != matches.end()) return found->second;
    FontMatch result;
    FcPattern* pattern = FcPatternCreate();
    if (config && pattern) {
      FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
      FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
      FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
      FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
      FcConfigSubstitute(config, pattern, FcMatchPattern);
      FcDefaultSubstitute(pattern);
      FcResult status = FcResultNoMatch;
      FcPattern* match = FcFontMatch(config, pattern, &status);
      if (match) {
        FcChar8* file = nullptr;
        FcChar8* matchedFamily = nullptr;
        int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
        if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
          result.file = reinterpret_cast<const char*>(file);
        }
        if (FcPatternGetString(match, FC_FAMILY, 0, &matchedFamily) == FcResultMatch) {
          result.family = reinterpret_cast<const char*>(matchedFamily);
        }
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(match, FC_SLANT, 0, &slant);
        result.faceIndex = index;
        result.syntheticBold = bold && weight < FC_WEIGHT_DEMIBOLD;
        result.syntheticItalic = italic && slant == FC_SLANT_ROMAN;
        FcPatternDestroy(match);
      }
    }
    if (pattern) FcPatternDestroy(pattern);
    matches.emplace(std::move(key), result);
    return result;
  }
};

FontSystem::FontSystem() : impl_(std::make_unique<Impl>()) {}
FontSystem::~FontSystem() = default;

std::string_view FontSystem::SubstituteFamily(std::string_view classicName) {
  std::string name = ToLowerAscii(Trimmed(classicName));
  for (const auto& s : kSubstitutes) {
    if (s.classic == name) return s.family;
  }
  return {};
}

FontMatch FontSystem::Resolve(const FontSpec& spec) {
  std::string_view name = Trimmed(spec.name);
  std::string_view substitute = SubstituteFamily(name);
  std::string family(substitute.empty() ? name : substitute);
  if (family.empty()) family = "Liberation Sans";
  return impl_->Match(family, spec.bold, spec.italic);
}

Font FontSystem::Get(const FontSpec& spec) {
  int pixels = std::clamp(PointsToPixels(spec.size), 1, 2048);
  std::string key = ToLowerAscii(Trimmed(spec.name)) + '|' + std::to_string(pixels) + '|' +
                    char('0' + spec.bold) + char('0' + spec.italic) + char('0' + spec.underline) +
                    char('0' + spec.strikethrough);
  auto found = impl_->fonts.find(key);
  if (found != impl_->fonts.end()) return found->second;

  Font font;
  FontMatch match = Resolve(spec);
  if (impl_->library->ok && !match.file.empty()) {
    TTF_Font* ttf = TTF_OpenFontIndex(match.file.c_str(), pixels, match.faceIndex);
    if (ttf) {
      int style = TTF_STYLE_NORMAL;
      if (match.syntheticBold) style |= TTF_STYLE_BOLD;
      if (match.syntheticItalic) style |= TTF_STYLE_ITALIC;
      if (spec.underline) style |= TTF_STYLE_UNDERLINE;
      if (spec.strikethrough) style |= TTF_STYLE_STRIKETHROUGH;
      TTF_SetFontStyle(ttf, style);
      auto impl = std::make_shared<Font::Impl>();
      impl->library = impl_->library;
      impl->font = ttf;
      impl->spec = spec;
      impl->pixelSize = pixels;
      impl->ascent = TTF_FontAscent(ttf);
      impl->height = TTF_FontHeight(ttf);
      font = Font(std::move(impl));
    }
  }
  impl_->fonts.emplace(std::move(key), font);
  return font;
}

}  // namespace sl::draw

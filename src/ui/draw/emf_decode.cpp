// Enhanced metafiles: converted to SVG by libemf2svg, the SVG rasterised by SDL_image, both in
// a child process (isolated_decode.h) because neither has a fuzzing history. Text records are
// not drawn (the rasteriser has no text), shapes and bitmaps are.
#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>
#include <emf2svg.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/runtime_error.h"
#include "ui/draw/isolated_decode.h"
#include "ui/draw/picture_decoders.h"

namespace sl::draw::detail {

namespace {
struct MallocFree {
  void operator()(char* p) const { std::free(p); }
};
struct SurfaceFree {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
constexpr int kMaxSide = 4096;
// Zero bytes kept after the file's contents: the converter reads some record structures whole
// without checking them against the record's size, so a short record must not make it read
// beyond our buffer.
constexpr std::size_t kReadPadding = 64 * 1024;

std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
         static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// The record chain of an enhanced metafile: a header record first, records whose sizes are
// multiples of four that tile the file exactly, and an end-of-file record last. A file that
// breaks it is refused before the converter walks it.
bool RecordsWellFormed(std::span<const std::uint8_t> bytes) {
  constexpr std::uint32_t kHeader = 1;
  constexpr std::uint32_t kEndOfFile = 14;
  constexpr std::uint32_t kHeaderMinSize = 88;
  if (bytes.size() < kHeaderMinSize || ReadU32(bytes, 0) != kHeader) return false;
  std::size_t at = 0;
  std::uint32_t type = 0;
  while (at < bytes.size()) {
    if (bytes.size() - at < 8) return false;
    type = ReadU32(bytes, at);
    std::uint32_t size = ReadU32(bytes, at + 4);
    if (size < 8 || size % 4 != 0 || size > bytes.size() - at) return false;
    if (at == 0 && size < kHeaderMinSize) return false;
    at += size;
    if (type == kEndOfFile) break;
  }
  return type == kEndOfFile;
}

// The size the rasteriser will draw SVG text at when asked for its own size: the width and
// height of the root element. Checked before rasterising, which allocates that size at once.
bool SvgSizeAcceptable(const char* svg, std::size_t length) {
  std::string_view text(svg, length);
  std::size_t start = text.find("<svg");
  if (start == std::string_view::npos) return false;
  std::size_t end = text.find('>', start);
  if (end == std::string_view::npos) return false;
  std::string tag(text.substr(start, end - start));
  auto number = [&tag](const char* name) {
    std::size_t at = tag.find(name);
    return at == std::string::npos ? -1.0
                                   : std::strtod(tag.c_str() + at + std::strlen(name), nullptr);
  };
  double width = number(" width=\""), height = number(" height=\"");
  return width >= 0 && height >= 0 && width <= kMaxSide && height <= kMaxSide;
}

// Rasterises SVG text at its own size (0 x 0) or at a size with its aspect kept.
Surface RasteriseSvg(const char* svg, std::size_t length, int width, int height) {
  SDL_RWops* rw = SDL_RWFromConstMem(svg, static_cast<int>(length));
  if (!rw) throw RuntimeError(kErrInvalidPicture);
  std::unique_ptr<SDL_Surface, SurfaceFree> image(IMG_LoadSizedSVG_RW(rw, width, height));
  SDL_RWclose(rw);
  if (!image || image->w <= 0 || image->h <= 0 || image->w > kMaxSide || image->h > kMaxSide) {
    throw RuntimeError(kErrInvalidPicture);
  }
  std::unique_ptr<SDL_Surface, SurfaceFree> rgba(
      SDL_ConvertSurfaceFormat(image.get(), SDL_PIXELFORMAT_RGBA32, 0));
  if (!rgba) throw RuntimeError(kErrOutOfMemory);
  return Surface::FromStraightRgba(static_cast<const std::uint8_t*>(rgba->pixels), rgba->w, rgba->h,
                                   rgba->pitch);
}

// Converts and rasterises a file whose records have been checked.
Surface RenderEmf(std::span<const std::uint8_t> bytes, int width, int height) {
  std::vector<char> contents(bytes.size() + kReadPadding, 0);
  std::copy(bytes.begin(), bytes.end(), contents.begin());
  generatorOptions options{};
  options.nameSpace = nullptr;
  options.verbose = false;
  options.emfplus = true;
  options.svgDelimiter = true;
  char* out = nullptr;
  std::size_t outLength = 0;
  int ok = emf2svg(contents.data(), bytes.size(), &out, &outLength, &options);
  std::unique_ptr<char, MallocFree> svg(out);
  if (!ok || !svg || outLength == 0 || !SvgSizeAcceptable(svg.get(), outLength))
    throw RuntimeError(kErrInvalidPicture);
  Surface native = RasteriseSvg(svg.get(), outLength, 0, 0);
  if (width <= 0 || height <= 0 || native.Dimensions() == Size{width, height}) return native;
  // The rasteriser keeps the aspect ratio: draw large enough for both sides, then stretch.
  double scale = std::max(static_cast<double>(width) / native.Width(),
                          static_cast<double>(height) / native.Height());
  int w = std::min(kMaxSide, static_cast<int>(std::ceil(native.Width() * scale)));
  int h = std::min(kMaxSide, static_cast<int>(std::ceil(native.Height() * scale)));
  Surface sized = RasteriseSvg(svg.get(), outLength, w, h);
  return sized.Dimensions() == Size{width, height} ? sized : sized.Scaled(width, height);
}

}  // namespace

Surface DecodeEmf(std::span<const std::uint8_t> bytes, int width, int height) {
  if (!RecordsWellFormed(bytes) || !EmfHeaderAcceptable(bytes))
    throw RuntimeError(kErrInvalidPicture);
  return DecodeInChildProcess([&] { return RenderEmf(bytes, width, height); });
}

}  // namespace sl::draw::detail

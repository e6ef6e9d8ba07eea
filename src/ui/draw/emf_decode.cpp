// Enhanced metafiles: converted to SVG by libemf2svg, the SVG rasterised by SDL_image. Text
// records are not drawn (the rasteriser has no text), shapes and bitmaps are.
#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>
#include <emf2svg.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "core/runtime_error.h"
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

// Rasterises SVG text at its own size (0 x 0) or at a size with its aspect kept.
Surface RasteriseSvg(const char* svg, std::size_t length, int width, int height) {
  SDL_RWops* rw = SDL_RWFromConstMem(svg, static_cast<int>(length));
  if (!rw) throw RuntimeError(481);
  std::unique_ptr<SDL_Surface, SurfaceFree> image(IMG_LoadSizedSVG_RW(rw, width, height));
  SDL_RWclose(rw);
  if (!image || image->w <= 0 || image->h <= 0 || image->w > kMaxSide || image->h > kMaxSide) {
    throw RuntimeError(481);
  }
  std::unique_ptr<SDL_Surface, SurfaceFree> rgba(
      SDL_ConvertSurfaceFormat(image.get(), SDL_PIXELFORMAT_RGBA32, 0));
  if (!rgba) throw RuntimeError(7);
  return Surface::FromStraightRgba(static_cast<const std::uint8_t*>(rgba->pixels), rgba->w, rgba->h,
                                   rgba->pitch);
}

}  // namespace

Surface DecodeEmf(std::span<const std::uint8_t> bytes, int width, int height) {
  std::vector<char> contents(bytes.begin(), bytes.end());
  generatorOptions options{};
  options.nameSpace = nullptr;
  options.verbose = false;
  options.emfplus = true;
  options.svgDelimiter = true;
  char* out = nullptr;
  std::size_t outLength = 0;
  int ok = emf2svg(contents.data(), contents.size(), &out, &outLength, &options);
  std::unique_ptr<char, MallocFree> svg(out);
  if (!ok || !svg || outLength == 0) throw RuntimeError(481);
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

}  // namespace sl::draw::detail

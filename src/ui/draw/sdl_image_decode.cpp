// BMP and JPEG decoding through SDL_image. Only surface functions are used, which need no
// video device.
#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>

#include <memory>

#include "core/runtime_error.h"
#include "ui/draw/picture_decoders.h"

namespace sl::draw::detail {

namespace {
struct SurfaceFree {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SdlSurface = std::unique_ptr<SDL_Surface, SurfaceFree>;
struct RwClose {
  void operator()(SDL_RWops* rw) const { SDL_RWclose(rw); }
};
using SdlRw = std::unique_ptr<SDL_RWops, RwClose>;
constexpr int kMaxSide = 1 << 15;
}  // namespace

Surface DecodeWithSdlImage(std::span<const std::uint8_t> bytes, SdlImageFormat format) {
  SdlRw rw(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())));
  if (!rw) throw RuntimeError(kErrInvalidPicture);
  SdlSurface loaded(format == SdlImageFormat::kBmp ? IMG_LoadBMP_RW(rw.get())
                                                   : IMG_LoadJPG_RW(rw.get()));
  if (!loaded || loaded->w <= 0 || loaded->h <= 0 || loaded->w > kMaxSide || loaded->h > kMaxSide) {
    throw RuntimeError(kErrInvalidPicture);
  }
  SdlSurface rgba(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_RGBA32, 0));
  if (!rgba) throw RuntimeError(kErrOutOfMemory);
  if (SDL_MUSTLOCK(rgba.get())) SDL_LockSurface(rgba.get());
  Surface out = Surface::FromStraightRgba(static_cast<const std::uint8_t*>(rgba->pixels), rgba->w,
                                          rgba->h, rgba->pitch);
  if (SDL_MUSTLOCK(rgba.get())) SDL_UnlockSurface(rgba.get());
  return out;
}

}  // namespace sl::draw::detail

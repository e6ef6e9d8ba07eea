// Windows metafiles rendered through libwmf's raster (gd) device at 96 DPI, in a child process
// (isolated_decode.h): libwmf has no fuzzing history, and damaged files make it loop for ever.
// libwmf needs its standard Type 1 fonts (fonts-urw-base35) even for pictures without text.
#include <libwmf/api.h>
#include <libwmf/gd.h>
#include <libwmf/gd/gd.h>

#include <cstdlib>
#include <vector>

#include "core/runtime_error.h"
#include "ui/draw/isolated_decode.h"
#include "ui/draw/picture_decoders.h"

namespace sl::draw::detail {

namespace {

constexpr unsigned kMaxSide = 4096;

// libwmf hands the rendered image over to the caller but exports no function to free it; its
// parts are plain malloc blocks described by the public gd header.
void FreeGdImage(void* image) {
  auto* im = static_cast<gdImagePtr>(image);
  if (!im) return;
  if (im->pixels) {
    for (int y = 0; y < im->sy; ++y)
      std::free(im->pixels[y]);
    std::free(im->pixels);
  }
  std::free(im->_tpixels);
  std::free(im->tpixels);
  std::free(im->polyInts);
  std::free(im->style);
  if (im->clip) {
    std::free(im->clip->list);
    std::free(im->clip);
  }
  std::free(im);
}

// Owns a libwmf player and closes it on every path.
class WmfPlayer {
 public:
  WmfPlayer() {
    wmfAPI_Options options{};
    options.function = wmf_gd_function;
    unsigned long flags =
        WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&api_, flags, &options) != wmf_E_None) {
      if (api_) wmf_api_destroy(api_);
      api_ = nullptr;
      throw RuntimeError(kErrInvalidPicture);
    }
  }
  ~WmfPlayer() {
    if (!api_) return;
    void* image = WMF_GD_GetData(api_)->gd_image;
    if (open_) wmf_mem_close(api_);
    wmf_api_destroy(api_);
    FreeGdImage(image);
  }
  WmfPlayer(const WmfPlayer&) = delete;
  WmfPlayer& operator=(const WmfPlayer&) = delete;

  Surface Render(std::vector<unsigned char>& data, int wantWidth, int wantHeight) {
    wmf_gd_t* device = WMF_GD_GetData(api_);
    device->type = wmf_gd_image;
    Check(wmf_mem_open(api_, data.data(), static_cast<long>(data.size())));
    open_ = true;
    wmfD_Rect box;
    Check(wmf_scan(api_, 0, &box));
    unsigned width = 0, height = 0;
    Check(wmf_display_size(api_, &width, &height, 96.0, 96.0));
    if (wantWidth > 0 && wantHeight > 0) {
      width = static_cast<unsigned>(wantWidth);
      height = static_cast<unsigned>(wantHeight);
    }
    if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) {
      throw RuntimeError(kErrInvalidPicture);
    }
    device->bbox = box;
    device->width = width;
    device->height = height;
    Check(wmf_play(api_, 0, &box));
    const int* pixels = device->gd_image ? wmf_gd_image_pixels(device->gd_image) : nullptr;
    if (!pixels) throw RuntimeError(kErrInvalidPicture);
    return ToSurface(pixels, static_cast<int>(width), static_cast<int>(height));
  }

 private:
  void Check(wmf_error_t e) const {
    if (e != wmf_E_None || api_->err != wmf_E_None) throw RuntimeError(kErrInvalidPicture);
  }
  // gd true-colour pixels: 0xAARRGGBB with a 7-bit alpha where 0 is opaque.
  static Surface ToSurface(const int* pixels, int width, int height) {
    Surface s(width, height);
    for (int y = 0; y < height; ++y) {
      Pixel* out = s.MutableRow(y);
      for (int x = 0; x < width; ++x) {
        auto p = static_cast<std::uint32_t>(pixels[static_cast<std::size_t>(y) * width + x]);
        std::uint32_t gdAlpha = (p >> 24) & 0x7F;
        auto a = static_cast<std::uint8_t>(gdAlpha == 0 ? 255 : (127 - gdAlpha) * 2);
        out[x] = ToPixel({static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                          static_cast<std::uint8_t>(p), a});
      }
    }
    s.UpdateOpacity();
    return s;
  }

  wmfAPI* api_ = nullptr;
  bool open_ = false;
};

}  // namespace

Surface DecodeWmf(std::span<const std::uint8_t> bytes, int width, int height) {
  return DecodeInChildProcess([&] {
    std::vector<unsigned char> data(bytes.begin(), bytes.end());
    WmfPlayer player;
    return player.Render(data, width, height);
  });
}

}  // namespace sl::draw::detail

// ICO and CUR files: the directory, each image as PNG or as a device-independent bitmap with
// its AND mask, and the cursor hot spots. SDL_image reads only one image and no hot spot, so
// the directory is parsed here.
#include <algorithm>
#include <cstdlib>

#include "core/runtime_error.h"
#include "ui/draw/picture_decoders.h"
#include "ui/draw/png_io.h"

namespace sl::draw::detail {

namespace {

constexpr int kStandardIconSize = 32;
constexpr int kMaxIconSide = 1024;

// Bounds-checked little-endian reads; any read past the end means the file is broken.
class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> b) : b_(b) {}
  std::uint8_t U8(std::size_t at) const { return b_[Check(at, 1)]; }
  std::uint16_t U16(std::size_t at) const {
    Check(at, 2);
    return static_cast<std::uint16_t>(b_[at] | b_[at + 1] << 8);
  }
  std::uint32_t U32(std::size_t at) const {
    Check(at, 4);
    return b_[at] | b_[at + 1] << 8 | b_[at + 2] << 16 |
           static_cast<std::uint32_t>(b_[at + 3]) << 24;
  }
  std::int32_t I32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }
  std::span<const std::uint8_t> Sub(std::size_t at, std::size_t size) const {
    Check(at, size);
    return b_.subspan(at, size);
  }

 private:
  std::size_t Check(std::size_t at, std::size_t size) const {
    if (at > b_.size() || size > b_.size() - at) throw RuntimeError(kErrInvalidPicture);
    return at;
  }
  std::span<const std::uint8_t> b_;
};

struct Dib {
  Surface surface;
  int bitsPerPixel = 0;
};

// The colour of pixel x of a XOR-bitmap row, from its palette or its own bytes.
Rgba XorPixel(const Reader& r, std::size_t row, int x, int bpp, std::size_t palette,
              std::uint32_t paletteCount) {
  auto fromPalette = [&](std::uint32_t index) -> Rgba {
    if (index >= paletteCount) return {0, 0, 0, 255};
    std::size_t at = palette + index * 4;
    return {r.U8(at + 2), r.U8(at + 1), r.U8(at), 255};
  };
  switch (bpp) {
    case 1:
      return fromPalette((r.U8(row + x / 8) >> (7 - x % 8)) & 1);
    case 4:
      return fromPalette((r.U8(row + x / 2) >> (x % 2 ? 0 : 4)) & 0xF);
    case 8:
      return fromPalette(r.U8(row + x));
    case 24: {
      std::size_t at = row + static_cast<std::size_t>(x) * 3;
      return {r.U8(at + 2), r.U8(at + 1), r.U8(at), 255};
    }
    default: {  // 32
      std::size_t at = row + static_cast<std::size_t>(x) * 4;
      return {r.U8(at + 2), r.U8(at + 1), r.U8(at), r.U8(at + 3)};
    }
  }
}

// A DIB as stored in icon files: header, palette, XOR bitmap, AND mask, bottom row first;
// the header's height counts both bitmaps.
Dib DecodeIconDib(std::span<const std::uint8_t> bytes) {
  Reader r(bytes);
  std::uint32_t headerSize = r.U32(0);
  if (headerSize < 40) throw RuntimeError(kErrInvalidPicture);
  int width = r.I32(4);
  int height = r.I32(8) / 2;
  int bpp = r.U16(14);
  std::uint32_t compression = r.U32(16);
  std::uint32_t colorsUsed = r.U32(32);
  if (width <= 0 || height <= 0 || width > kMaxIconSide || height > kMaxIconSide) {
    throw RuntimeError(kErrInvalidPicture);
  }
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32)
    throw RuntimeError(kErrInvalidPicture);
  if (compression != 0 && !(compression == 3 && bpp == 32)) throw RuntimeError(kErrInvalidPicture);
  std::uint32_t paletteCount = bpp <= 8 ? (colorsUsed ? colorsUsed : 1u << bpp) : 0;
  if (paletteCount > 256) throw RuntimeError(kErrInvalidPicture);
  std::size_t palette = headerSize + (compression == 3 ? 12 : 0);
  std::size_t xorStride = ((static_cast<std::size_t>(width) * bpp + 31) / 32) * 4;
  std::size_t andStride = ((static_cast<std::size_t>(width) + 31) / 32) * 4;
  std::size_t xorStart = palette + paletteCount * 4;
  std::size_t andStart = xorStart + xorStride * height;
  bool hasMask = andStart + andStride * height <= bytes.size();

  Dib dib{Surface(width, height), bpp};
  bool anyAlpha = false;
  for (int y = 0; y < height && bpp == 32; ++y) {
    std::size_t row = xorStart + xorStride * (height - 1 - y);
    for (int x = 0; x < width && !anyAlpha; ++x)
      anyAlpha = r.U8(row + x * 4 + 3) != 0;
  }
  for (int y = 0; y < height; ++y) {
    std::size_t row = xorStart + xorStride * (height - 1 - y);
    std::size_t maskRow = andStart + andStride * (height - 1 - y);
    Pixel* out = dib.surface.MutableRow(y);
    for (int x = 0; x < width; ++x) {
      Rgba c = XorPixel(r, row, x, bpp, palette, paletteCount);
      bool masked = hasMask && ((r.U8(maskRow + x / 8) >> (7 - x % 8)) & 1);
      if (bpp == 32 && anyAlpha) {
        out[x] = ToPixel(c);  // the alpha channel decides; the mask is for old systems
      } else if (!masked) {
        c.a = 255;
        out[x] = ToPixel(c);
      } else if (c.r | c.g | c.b) {
        // Mask set over a coloured pixel inverts the screen there; an image cannot invert, so
        // it shows as black, which stays visible on the light backgrounds cursors mostly meet.
        out[x] = kBlack;
      } else {
        out[x] = kTransparent;
      }
    }
  }
  dib.surface.UpdateOpacity();
  return dib;
}

// Index of the default image: the standard size if present, else the size nearest to it;
// among those the most colours.
std::size_t DefaultIndex(const std::vector<PictureImage>& images) {
  std::size_t best = 0;
  auto score = [](const PictureImage& i) {
    int d = std::abs(i.surface.Width() - kStandardIconSize) +
            std::abs(i.surface.Height() - kStandardIconSize);
    return d * 64 + (64 - i.bitsPerPixel);
  };
  for (std::size_t i = 1; i < images.size(); ++i) {
    if (score(images[i]) < score(images[best])) best = i;
  }
  return best;
}

}  // namespace

Picture DecodeIconFile(std::span<const std::uint8_t> bytes) {
  Reader r(bytes);
  int type = r.U16(2);
  int count = r.U16(4);
  if (r.U16(0) != 0 || (type != 1 && type != 2) || count == 0)
    throw RuntimeError(kErrInvalidPicture);
  if (!IconHeadersAcceptable(bytes)) throw RuntimeError(kErrInvalidPicture);
  std::vector<PictureImage> images;
  for (int i = 0; i < count; ++i) {
    std::size_t entry = 6 + static_cast<std::size_t>(i) * 16;
    std::uint32_t size = r.U32(entry + 8);
    std::uint32_t offset = r.U32(entry + 12);
    std::span<const std::uint8_t> data = r.Sub(offset, size);
    PictureImage image;
    if (data.size() >= 8 && data[0] == 0x89 && data[1] == 'P' && data[2] == 'N' && data[3] == 'G') {
      image.surface = DecodePng(data);
      image.bitsPerPixel = 32;
    } else {
      Dib dib = DecodeIconDib(data);
      image.surface = std::move(dib.surface);
      image.bitsPerPixel = dib.bitsPerPixel;
    }
    if (type == 2) {
      image.hotSpot = {std::min<int>(r.U16(entry + 4), image.surface.Width() - 1),
                       std::min<int>(r.U16(entry + 6), image.surface.Height() - 1)};
    }
    images.push_back(std::move(image));
  }
  std::size_t index = DefaultIndex(images);
  return Picture(std::move(images), index, type == 2 ? PictureKind::kCursor : PictureKind::kIcon);
}

}  // namespace sl::draw::detail

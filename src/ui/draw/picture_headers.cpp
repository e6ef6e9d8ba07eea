// Header checks run before a picture is decoded: the sizes a file announces are read from its
// headers and compared with the picture limits, so that a damaged header is refused instead of
// making a decoder allocate gigabytes.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "ui/draw/picture_decoders.h"
#include "ui/draw/picture_limits.h"

namespace sl::draw::detail {

namespace {

// Little-endian reads; callers check the length first.
std::uint16_t Le16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

std::uint32_t Le32(std::span<const std::uint8_t> b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::uint32_t Be32(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}

bool Fits(std::span<const std::uint8_t> b, std::size_t at, std::size_t size) {
  return at <= b.size() && size <= b.size() - at;
}

constexpr std::size_t kPastTheEnd = SIZE_MAX;

// Skips a chain of GIF data sub-blocks (length byte, data) up to its empty terminator; returns
// the position after it, or kPastTheEnd when the file ends first.
std::size_t SkipGifSubBlocks(std::span<const std::uint8_t> b, std::size_t at) {
  while (at < b.size()) {
    std::size_t length = b[at];
    if (length == 0) return at + 1;
    at += 1 + length;
  }
  return kPastTheEnd;
}

struct IconImageHeader {
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::int64_t pixelsPerByte = kBitmapPixelsPerByte;
};

// Width and height of one image of an icon file: from the PNG's IHDR chunk or the DIB header
// (whose height counts the colour and mask bitmaps); zero when unreadable.
IconImageHeader ReadIconImageHeader(std::span<const std::uint8_t> data) {
  if (data.size() >= 24 && data[0] == 0x89 && data[1] == 'P' && data[2] == 'N' && data[3] == 'G')
    return {Be32(data, 16), Be32(data, 20), kDeflatePixelsPerByte};
  if (data.size() >= 12) {
    std::int64_t height = static_cast<std::int32_t>(Le32(data, 8));
    return {static_cast<std::int32_t>(Le32(data, 4)), std::llabs(height) / 2, kBitmapPixelsPerByte};
  }
  return {};
}

}  // namespace

bool BmpHeaderAcceptable(std::span<const std::uint8_t> b) {
  if (b.size() < 26) return false;
  std::uint32_t headerSize = Le32(b, 14);
  std::int64_t width = 0, height = 0;
  unsigned bpp = 0;
  std::uint32_t compression = 0, colorsUsed = 0;
  if (headerSize == 12) {
    width = Le16(b, 18);
    height = Le16(b, 20);
    bpp = Le16(b, 24);
  } else if (headerSize >= 40 && b.size() >= 54) {
    width = static_cast<std::int32_t>(Le32(b, 18));
    height = std::llabs(static_cast<std::int32_t>(Le32(b, 22)));
    bpp = Le16(b, 28);
    compression = Le32(b, 30);
    colorsUsed = Le32(b, 46);
  } else {
    return false;
  }
  if (!PictureSizeAcceptable(width, height)) return false;
  if (compression != 0 && !PicturePixelsBacked(width * height, b.size(), kRunLengthPixelsPerByte))
    return false;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return false;
  if (colorsUsed > 256 && bpp <= 8) return false;
  if (compression == 0) {
    std::int64_t stride = (width * bpp + 31) / 32 * 4;
    if (Le32(b, 10) + stride * height > static_cast<std::int64_t>(b.size())) return false;
  }
  return true;
}

// The logical screen and every image descriptor: each image is sized by its own descriptor,
// which may claim far more than the screen, and all images are kept, so together they must be
// backed by the file's data.
bool GifHeadersAcceptable(std::span<const std::uint8_t> b) {
  if (b.size() < 13) return false;
  std::int64_t screenWidth = Le16(b, 6), screenHeight = Le16(b, 8);
  // A screen of 0 x 0 takes the size of the first image.
  if ((screenWidth || screenHeight) && !PictureSizeAcceptable(screenWidth, screenHeight))
    return false;
  if (!PicturePixelsBacked(screenWidth * screenHeight, b.size(), kLzwPixelsPerByte)) return false;
  std::int64_t imagePixels = 0;
  std::size_t at = 13;
  if (b[10] & 0x80) at += 3u << ((b[10] & 7) + 1);
  while (at < b.size()) {
    std::uint8_t kind = b[at];
    if (kind == 0x3B) break;  // trailer
    if (kind == 0x21) {       // extension: label, then sub-blocks
      at = SkipGifSubBlocks(b, at + 2);
    } else if (kind == 0x2C) {  // image descriptor
      if (!Fits(b, at, 10)) break;
      std::int64_t width = Le16(b, at + 5), height = Le16(b, at + 7);
      if (!PictureSizeAcceptable(width, height)) return false;
      imagePixels += width * height;
      if (!PicturePixelsBacked(imagePixels, b.size(), kLzwPixelsPerByte)) return false;
      std::uint8_t flags = b[at + 9];
      at += 10;
      if (flags & 0x80) at += 3u << ((flags & 7) + 1);
      if (at >= b.size()) break;
      at = SkipGifSubBlocks(b, at + 1);  // after the LZW code size
    } else {
      break;  // damaged: the decoder decides what it can read
    }
  }
  return true;
}

// Finds the frame header (SOFn) and checks the picture size it gives.
bool JpegHeaderAcceptable(std::span<const std::uint8_t> b) {
  std::size_t at = 2;
  while (at + 9 < b.size()) {
    if (b[at] != 0xFF) return false;
    std::uint8_t marker = b[at + 1];
    if (marker == 0xFF) {  // fill byte before a marker
      ++at;
      continue;
    }
    std::size_t length = static_cast<std::size_t>(b[at + 2] << 8 | b[at + 3]);
    bool frame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      std::int64_t height = b[at + 5] << 8 | b[at + 6], width = b[at + 7] << 8 | b[at + 8];
      return PictureSizeAcceptable(width, height) &&
             PicturePixelsBacked(width * height, b.size(), kJpegPixelsPerByte);
    }
    if (length < 2) return false;
    at += 2 + length;
  }
  return false;
}

bool PngHeaderAcceptable(std::span<const std::uint8_t> b) {
  // Signature, then the IHDR chunk: length, type, width, height.
  if (b.size() < 24 || Be32(b, 12) != 0x49484452u) return false;
  std::int64_t width = Be32(b, 16), height = Be32(b, 20);
  return PictureSizeAcceptable(width, height) &&
         PicturePixelsBacked(width * height, b.size(), kDeflatePixelsPerByte);
}

// Every image of the directory is decoded and kept, so their sizes together must stay within
// the limits: a small file can list one large image thousands of times.
bool IconHeadersAcceptable(std::span<const std::uint8_t> b) {
  if (b.size() < 6) return false;
  std::size_t count = Le16(b, 4);
  std::int64_t pixels = 0;
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t entry = 6 + i * 16;
    if (!Fits(b, entry, 16)) return false;
    std::uint32_t size = Le32(b, entry + 8);
    std::uint32_t offset = Le32(b, entry + 12);
    if (!Fits(b, offset, size)) return false;
    IconImageHeader image = ReadIconImageHeader(b.subspan(offset, size));
    if (!PictureSizeAcceptable(image.width, image.height)) return false;
    if (!PicturePixelsBacked(image.width * image.height, size, image.pixelsPerByte)) return false;
    pixels += image.width * image.height;
    if (pixels > kMaxPicturePixels) return false;
  }
  return true;
}

// The picture is drawn at the size of its bounds rectangle (device pixels).
bool EmfHeaderAcceptable(std::span<const std::uint8_t> b) {
  if (b.size() < 24) return false;
  auto side = [&](std::size_t from, std::size_t to) {
    std::int64_t a = static_cast<std::int32_t>(Le32(b, from));
    std::int64_t z = static_cast<std::int32_t>(Le32(b, to));
    return std::max<std::int64_t>(1, std::llabs(z - a));
  };
  return PictureSizeAcceptable(side(8, 16), side(12, 20));
}

}  // namespace sl::draw::detail

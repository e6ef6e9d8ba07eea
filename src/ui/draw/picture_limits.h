// The largest picture the decoders accept. A damaged header can announce any size; every decoder
// checks the announced size against these limits before it allocates for the pixels, and
// refuses larger pictures as invalid. Beyond a small size a picture must also be backed by its
// file: a format cannot code more than so many pixels in a byte, so a file of a few bytes
// announcing a huge picture is damaged and is refused before anything is allocated for it.
#pragma once

#include <cstdint>

namespace sl::draw {

constexpr std::int64_t kMaxPictureSide = 32768;
// 64 M pixels: 256 MB once decoded to 32-bit pixels.
constexpr std::int64_t kMaxPicturePixels = std::int64_t{1} << 26;

constexpr bool PictureSizeAcceptable(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
         width * height <= kMaxPicturePixels;
}

// Pixels any picture may announce whatever the size of its file (4 MB once decoded).
constexpr std::int64_t kPixelsWithoutBacking = std::int64_t{1} << 20;

// The most pixels a byte of each kind of data can give, with a margin. LZW (GIF) codes at most
// 4096 pixels in a 12-bit code; deflate (PNG) expands at most 1032 times, a byte holding up to
// 8 pixels; a Huffman-coded JPEG needs at least a bit for every 8 x 8 block, an arithmetic-coded
// one less; run-length bitmaps (RLE4, RLE8) skip areas with a few bytes; an icon bitmap stores
// at least a bit for every pixel.
constexpr std::int64_t kLzwPixelsPerByte = 4096;
constexpr std::int64_t kDeflatePixelsPerByte = 16384;
constexpr std::int64_t kJpegPixelsPerByte = 4096;
constexpr std::int64_t kRunLengthPixelsPerByte = 4096;
constexpr std::int64_t kBitmapPixelsPerByte = 8;

// True when `pixels` announced by a file of `bytes` bytes can be real.
constexpr bool PicturePixelsBacked(std::int64_t pixels, std::uint64_t bytes,
                                   std::int64_t pixelsPerByte) {
  return pixels <= kPixelsWithoutBacking ||
         static_cast<std::uint64_t>(pixels / pixelsPerByte) <= bytes;
}

}  // namespace sl::draw

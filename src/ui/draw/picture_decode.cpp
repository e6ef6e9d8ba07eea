// DecodePicture and LoadPictureFile: recognises the format from the first bytes and hands the
// data to its decoder.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "core/runtime_error.h"
#include "ui/draw/file_bytes.h"
#include "ui/draw/picture.h"
#include "ui/draw/picture_decoders.h"
#include "ui/draw/png_io.h"

namespace sl::draw {

namespace {

enum class Format { kUnknown, kBmp, kJpeg, kGif, kPng, kIcon, kWmf, kEmf };

bool StartsWith(std::span<const std::uint8_t> b, std::initializer_list<std::uint8_t> sig) {
  if (b.size() < sig.size()) return false;
  return std::equal(sig.begin(), sig.end(), b.begin());
}

std::uint32_t Le32(std::span<const std::uint8_t> b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

Format Sniff(std::span<const std::uint8_t> b) {
  if (StartsWith(b, {'B', 'M'}) && b.size() >= 26) return Format::kBmp;
  if (StartsWith(b, {0xFF, 0xD8, 0xFF})) return Format::kJpeg;
  if (StartsWith(b, {'G', 'I', 'F', '8'})) return Format::kGif;
  if (StartsWith(b, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A})) return Format::kPng;
  if (StartsWith(b, {0, 0, 1, 0}) || StartsWith(b, {0, 0, 2, 0})) return Format::kIcon;
  // Placeable metafile key, or a plain metafile header (type 1 or 2, 9-word header).
  if (StartsWith(b, {0xD7, 0xCD, 0xC6, 0x9A})) return Format::kWmf;
  if ((StartsWith(b, {1, 0, 9, 0}) || StartsWith(b, {2, 0, 9, 0})) && b.size() >= 18) {
    return Format::kWmf;
  }
  // Enhanced metafile: header record (type 1) with the " EMF" signature at offset 40.
  if (b.size() >= 44 && Le32(b, 0) == 1 && Le32(b, 40) == 0x464D4520u) return Format::kEmf;
  return Format::kUnknown;
}

std::uint16_t Le16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

// Pictures larger than this are refused before any decoder allocates for them.
constexpr long long kMaxPixels = 1LL << 26;

bool SizeAcceptable(long long width, long long height) {
  return width > 0 && height > 0 && width <= 32768 && height <= 32768 &&
         width * height <= kMaxPixels;
}

// Checks the fields a BMP decoder sizes its buffers by, so that a damaged header is refused
// instead of making it allocate gigabytes.
bool BmpHeaderSane(std::span<const std::uint8_t> b) {
  std::uint32_t headerSize = Le32(b, 14);
  long long width = 0, height = 0;
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
  if (!SizeAcceptable(width, height)) return false;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return false;
  if (colorsUsed > 256 && bpp <= 8) return false;
  if (compression == 0) {
    long long stride = (width * bpp + 31) / 32 * 4;
    if (Le32(b, 10) + stride * height > static_cast<long long>(b.size())) return false;
  }
  return true;
}

bool GifHeaderSane(std::span<const std::uint8_t> b) {
  return b.size() >= 13 && SizeAcceptable(Le16(b, 6), Le16(b, 8));
}

// Finds the frame header (SOFn) and checks the picture size it gives.
bool JpegHeaderSane(std::span<const std::uint8_t> b) {
  std::size_t at = 2;
  while (at + 9 < b.size()) {
    if (b[at] != 0xFF) return false;
    std::uint8_t marker = b[at + 1];
    std::size_t length = static_cast<std::size_t>(b[at + 2] << 8 | b[at + 3]);
    bool frame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) return SizeAcceptable(b[at + 5] << 8 | b[at + 6], b[at + 7] << 8 | b[at + 8]);
    if (length < 2) return false;
    at += 2 + length;
  }
  return false;
}

}  // namespace

Picture DecodePicture(std::span<const std::uint8_t> bytes) {
  switch (Sniff(bytes)) {
    case Format::kBmp: {
      // Classic bitmaps have no transparency, whatever a 32-bit file's fourth byte holds.
      if (!BmpHeaderSane(bytes)) throw RuntimeError(481);
      Surface s = detail::DecodeWithSdlImage(bytes, "BMP");
      s.MakeOpaque();
      return Picture(std::move(s), PictureKind::kBitmap);
    }
    case Format::kJpeg:
      if (!JpegHeaderSane(bytes)) throw RuntimeError(481);
      return Picture(detail::DecodeWithSdlImage(bytes, "JPG"), PictureKind::kBitmap);
    case Format::kGif:
      if (!GifHeaderSane(bytes)) throw RuntimeError(481);
      return Picture(detail::DecodeWithSdlImage(bytes, "GIF"), PictureKind::kBitmap);
    case Format::kPng:
      return Picture(DecodePng(bytes), PictureKind::kBitmap);
    case Format::kIcon:
      return detail::DecodeIconFile(bytes);
    case Format::kWmf:
      return Picture::Metafile(detail::DecodeWmf(bytes),
                               std::vector<std::uint8_t>(bytes.begin(), bytes.end()),
                               PictureKind::kMetafile);
    case Format::kEmf:
      return Picture::Metafile(detail::DecodeEmf(bytes),
                               std::vector<std::uint8_t>(bytes.begin(), bytes.end()),
                               PictureKind::kEnhancedMetafile);
    case Format::kUnknown:
      break;
  }
  throw RuntimeError(481);
}

Picture LoadPictureFile(const std::filesystem::path& path) {
  std::vector<std::uint8_t> bytes = detail::ReadFileBytes(path);
  return DecodePicture(bytes);
}

}  // namespace sl::draw

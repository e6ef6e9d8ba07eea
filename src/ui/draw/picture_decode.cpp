// DecodePicture and LoadPictureFile: recognises the format from the first bytes and hands the
// data to its decoder.
#include <algorithm>
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

}  // namespace

Picture DecodePicture(std::span<const std::uint8_t> bytes) {
  switch (Sniff(bytes)) {
    case Format::kBmp: {
      // Classic bitmaps have no transparency, whatever a 32-bit file's fourth byte holds.
      if (!detail::BmpHeaderAcceptable(bytes)) throw RuntimeError(kErrInvalidPicture);
      Surface s = detail::DecodeWithSdlImage(bytes, detail::SdlImageFormat::kBmp);
      s.MakeOpaque();
      return Picture(std::move(s), PictureKind::kBitmap);
    }
    case Format::kJpeg:
      if (!detail::JpegHeaderAcceptable(bytes)) throw RuntimeError(kErrInvalidPicture);
      return Picture(detail::DecodeWithSdlImage(bytes, detail::SdlImageFormat::kJpeg),
                     PictureKind::kBitmap);
    case Format::kGif:
      return detail::DecodeGifPicture(bytes);
    case Format::kPng:
      if (!detail::PngHeaderAcceptable(bytes)) throw RuntimeError(kErrInvalidPicture);
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
  throw RuntimeError(kErrInvalidPicture);
}

Picture LoadPictureFile(const std::filesystem::path& path) {
  std::vector<std::uint8_t> bytes = detail::ReadFileBytes(path);
  return DecodePicture(bytes);
}

}  // namespace sl::draw

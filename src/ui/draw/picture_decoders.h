// The individual picture decoders behind DecodePicture. Each throws RuntimeError 481 on data
// it cannot decode.
#pragma once

#include <cstdint>
#include <span>

#include "ui/draw/picture.h"
#include "ui/draw/surface.h"

namespace sl::draw::detail {

// Header checks, run before decoding: false when the headers are broken in a way the decoders
// must not meet, or announce a picture beyond the limits of picture_limits.h. A GIF's every
// frame, an icon file's images together and an enhanced metafile's bounds count.
bool BmpHeaderAcceptable(std::span<const std::uint8_t> bytes);
bool GifHeadersAcceptable(std::span<const std::uint8_t> bytes);
bool JpegHeaderAcceptable(std::span<const std::uint8_t> bytes);
bool PngHeaderAcceptable(std::span<const std::uint8_t> bytes);
bool IconHeadersAcceptable(std::span<const std::uint8_t> bytes);
bool EmfHeaderAcceptable(std::span<const std::uint8_t> bytes);

// BMP and JPEG through SDL_image's loader of that one format: the data never reaches the
// library's content sniffing, which would hand a file to whichever of its decoders
// recognises it (SVG, XCF, TIFF ...), whatever its signature said.
enum class SdlImageFormat { kBmp, kJpeg };
Surface DecodeWithSdlImage(std::span<const std::uint8_t> bytes, SdlImageFormat format);

// A GIF file: the first image on its canvas, with the animation when there are several.
Picture DecodeGifPicture(std::span<const std::uint8_t> bytes);

// ICO and CUR files: every image of the directory (PNG or DIB with AND mask), the cursor hot
// spots, the standard-size image as the default.
Picture DecodeIconFile(std::span<const std::uint8_t> bytes);

// A Windows metafile (placeable or not) rendered at its own size at 96 DPI, or stretched to
// width x height when both are given.
Surface DecodeWmf(std::span<const std::uint8_t> bytes, int width = 0, int height = 0);

// An enhanced metafile at its own size, or stretched to width x height when both are given.
Surface DecodeEmf(std::span<const std::uint8_t> bytes, int width = 0, int height = 0);

}  // namespace sl::draw::detail

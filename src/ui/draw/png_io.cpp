// PNG encoding and decoding through libpng's simplified API.
#include "ui/draw/png_io.h"

#include <png.h>

#include <cstring>

#include "core/runtime_error.h"
#include "ui/draw/file_bytes.h"
#include "ui/draw/picture_limits.h"

namespace sl::draw {

namespace {

std::vector<std::uint8_t> StraightBytes(const Surface& surface) {
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(surface.Width()) * surface.Height() * 4);
  std::uint8_t* out = bytes.data();
  for (int y = 0; y < surface.Height(); ++y) {
    const Pixel* row = surface.Row(y);
    for (int x = 0; x < surface.Width(); ++x, out += 4) {
      Rgba c = ToRgba(row[x]);
      out[0] = c.r;
      out[1] = c.g;
      out[2] = c.b;
      out[3] = c.a;
    }
  }
  return bytes;
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const Surface& surface) {
  if (surface.Empty()) throw RuntimeError(kErrInvalidCall);
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(surface.Width());
  image.height = static_cast<png_uint_32>(surface.Height());
  image.format = PNG_FORMAT_RGBA;
  std::vector<std::uint8_t> pixels = StraightBytes(surface);
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr)) {
    png_image_free(&image);
    throw RuntimeError(kErrOutOfMemory);
  }
  std::vector<std::uint8_t> out(size);
  if (!png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr)) {
    png_image_free(&image);
    throw RuntimeError(kErrOutOfMemory);
  }
  out.resize(size);
  return out;
}

void SavePng(const Surface& surface, const std::filesystem::path& path) {
  std::vector<std::uint8_t> bytes = EncodePng(surface);
  detail::WriteFileBytes(path, bytes.data(), bytes.size());
}

Surface DecodePng(std::span<const std::uint8_t> bytes) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
    png_image_free(&image);
    throw RuntimeError(kErrInvalidPicture);
  }
  image.format = PNG_FORMAT_RGBA;
  if (!PictureSizeAcceptable(image.width, image.height)) {
    png_image_free(&image);
    throw RuntimeError(kErrInvalidPicture);
  }
  std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
    png_image_free(&image);
    throw RuntimeError(kErrInvalidPicture);
  }
  int w = static_cast<int>(image.width), h = static_cast<int>(image.height);
  png_image_free(&image);
  return Surface::FromStraightRgba(pixels.data(), w, h, w * 4);
}

Surface LoadPng(const std::filesystem::path& path) {
  std::vector<std::uint8_t> bytes = detail::ReadFileBytes(path);
  return DecodePng(bytes);
}

}  // namespace sl::draw

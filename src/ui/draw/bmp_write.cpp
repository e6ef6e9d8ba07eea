// SaveBmp: 24-bit uncompressed BMP files, bottom row first, rows padded to 4 bytes.
#include <vector>

#include "core/runtime_error.h"
#include "ui/draw/file_bytes.h"
#include "ui/draw/picture.h"

namespace sl::draw {

namespace {
void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
  out[at] = static_cast<std::uint8_t>(v);
  out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
  Put16(out, at, v);
  Put16(out, at + 2, v >> 16);
}
}  // namespace

void SaveBmp(const Surface& surface, const std::filesystem::path& path) {
  if (surface.Empty()) throw RuntimeError(kErrInvalidCall);
  const std::size_t stride = (static_cast<std::size_t>(surface.Width()) * 3 + 3) & ~std::size_t{3};
  const std::size_t headers = 14 + 40;
  const std::size_t size = headers + stride * surface.Height();
  std::vector<std::uint8_t> out(size, 0);
  out[0] = 'B';
  out[1] = 'M';
  Put32(out, 2, static_cast<std::uint32_t>(size));
  Put32(out, 10, static_cast<std::uint32_t>(headers));
  Put32(out, 14, 40);
  Put32(out, 18, static_cast<std::uint32_t>(surface.Width()));
  Put32(out, 22, static_cast<std::uint32_t>(surface.Height()));
  Put16(out, 26, 1);
  Put16(out, 28, 24);
  Put32(out, 34, static_cast<std::uint32_t>(stride * surface.Height()));
  Put32(out, 38, 3780);  // 96 DPI in pixels per metre
  Put32(out, 42, 3780);
  for (int y = 0; y < surface.Height(); ++y) {
    const Pixel* row = surface.Row(surface.Height() - 1 - y);
    std::uint8_t* o = out.data() + headers + stride * y;
    for (int x = 0; x < surface.Width(); ++x, o += 3) {
      // Premultiplied over black is the pixel's own channel values.
      o[0] = PixelBlue(row[x]);
      o[1] = PixelGreen(row[x]);
      o[2] = PixelRed(row[x]);
    }
  }
  detail::WriteFileBytes(path, out.data(), out.size());
}

}  // namespace sl::draw

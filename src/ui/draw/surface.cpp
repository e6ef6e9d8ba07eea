// Raster operations of Surface. The loops work on whole rows with the clip applied once per
// call; opaque sources are copied row by row.
#include "ui/draw/surface.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "ui/draw/blend.h"

namespace sl::draw {

using detail::BlendOver;
using detail::BlendRow;
using detail::ScalePixel;

namespace {

constexpr Pixel kRgbMask = 0x00FFFFFFu;

bool KeyMatches(Pixel p, Pixel key) {
  return (p >> 24) == 255 && (p & kRgbMask) == (key & kRgbMask);
}

// Writes a row of source pixels according to the options.
void PutRow(Pixel* dst, const Pixel* src, int count, const BlitOptions& o, bool srcOpaque) {
  if (o.opacity != 255) {
    for (int i = 0; i < count; ++i) {
      if (o.useColorKey && KeyMatches(src[i], o.colorKey)) continue;
      Pixel s = ScalePixel(src[i], o.opacity);
      dst[i] = o.mode == BlendMode::kCopy ? s : BlendOver(s, dst[i]);
    }
  } else if (o.useColorKey) {
    for (int i = 0; i < count; ++i) {
      Pixel s = src[i];
      if (KeyMatches(s, o.colorKey)) continue;
      dst[i] = o.mode == BlendMode::kCopy ? s : BlendOver(s, dst[i]);
    }
  } else if (o.mode == BlendMode::kCopy || srcOpaque) {
    std::memcpy(dst, src, static_cast<std::size_t>(count) * sizeof(Pixel));
  } else {
    BlendRow(dst, src, count);
  }
}

}  // namespace

Surface::Surface(int width, int height, Pixel fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * height_, fill),
      clip_{0, 0, width_, height_},
      opaque_(PixelAlpha(fill) == 255) {}

Surface Surface::FromStraightRgba(const std::uint8_t* data, int width, int height, int stride) {
  Surface s(width, height);
  bool opaque = true;
  for (int y = 0; y < s.height_; ++y) {
    const std::uint8_t* in = data + static_cast<std::ptrdiff_t>(y) * stride;
    Pixel* out = s.pixels_.data() + static_cast<std::size_t>(y) * s.width_;
    for (int x = 0; x < s.width_; ++x, in += 4) {
      out[x] = ToPixel({in[0], in[1], in[2], in[3]});
      opaque = opaque && in[3] == 255;
    }
  }
  s.opaque_ = opaque;
  return s;
}

Pixel Surface::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return kTransparent;
  return Row(y)[x];
}

void Surface::SetPixel(int x, int y, Pixel p) {
  if (!clip_.Contains({x, y})) return;
  if (PixelAlpha(p) != 255) opaque_ = false;
  pixels_[static_cast<std::size_t>(y) * width_ + x] = p;
}

void Surface::UpdateOpacity() {
  opaque_ = std::all_of(pixels_.begin(), pixels_.end(), [](Pixel p) { return p >> 24 == 255; });
}

void Surface::FillRect(const Rect& r, Pixel p) {
  Rect c = r.Intersect(clip_);
  if (c.Empty()) return;
  if (PixelAlpha(p) != 255) opaque_ = false;
  for (int y = c.y; y < c.Bottom(); ++y) {
    Pixel* row = pixels_.data() + static_cast<std::size_t>(y) * width_ + c.x;
    std::fill(row, row + c.width, p);
  }
  if (PixelAlpha(p) == 255 && c == Bounds()) opaque_ = true;
}

void Surface::BlendRect(const Rect& r, Pixel p) {
  std::uint32_t a = PixelAlpha(p);
  if (a == 255) return FillRect(r, p);
  if (a == 0) return;
  Rect c = r.Intersect(clip_);
  for (int y = c.y; y < c.Bottom(); ++y) {
    Pixel* row = pixels_.data() + static_cast<std::size_t>(y) * width_ + c.x;
    for (int x = 0; x < c.width; ++x)
      row[x] = p + ScalePixel(row[x], 255 - a);
  }
}

void Surface::Blit(const Surface& src, int dx, int dy, const BlitOptions& options) {
  Blit(src, src.Bounds(), dx, dy, options);
}

void Surface::Blit(const Surface& src, const Rect& srcRect, int dx, int dy,
                   const BlitOptions& options) {
  Rect s = srcRect.Intersect(src.Bounds());
  dx += s.x - srcRect.x;
  dy += s.y - srcRect.y;
  Rect d = Rect{dx, dy, s.width, s.height}.Intersect(clip_);
  if (d.Empty()) return;
  int sx = s.x + d.x - dx, sy = s.y + d.y - dy;
  bool copyAlpha = options.mode == BlendMode::kCopy && (!src.opaque_ || options.opacity != 255);
  if (copyAlpha) opaque_ = false;
  for (int y = 0; y < d.height; ++y) {
    PutRow(pixels_.data() + static_cast<std::size_t>(d.y + y) * width_ + d.x, src.Row(sy + y) + sx,
           d.width, options, src.opaque_);
  }
}

void Surface::StretchBlit(const Surface& src, const Rect& srcRect, const Rect& dstRect,
                          const BlitOptions& options) {
  if (src.Empty() || srcRect.Empty() || dstRect.width == 0 || dstRect.height == 0) return;
  bool flipX = dstRect.width < 0, flipY = dstRect.height < 0;
  Rect full{flipX ? dstRect.x + dstRect.width : dstRect.x,
            flipY ? dstRect.y + dstRect.height : dstRect.y, std::abs(dstRect.width),
            std::abs(dstRect.height)};
  Rect d = full.Intersect(clip_);
  if (d.Empty()) return;
  // Source coordinate under the centre of destination pixel i: srcX + (2i+1)*sw / (2dw).
  auto map = [](int i, int dstLen, int srcLen, bool flip) {
    long long k = flip ? dstLen - 1 - i : i;
    return static_cast<int>((2 * k + 1) * srcLen / (2LL * dstLen));
  };
  std::vector<int> xs(static_cast<std::size_t>(d.width));
  bool inside = true;
  for (int i = 0; i < d.width; ++i) {
    int x = srcRect.x + map(d.x - full.x + i, full.width, srcRect.width, flipX);
    xs[static_cast<std::size_t>(i)] = x;
    inside = inside && x >= 0 && x < src.width_;
  }
  bool rowsOpaque = src.opaque_ && inside && !options.useColorKey && options.opacity == 255;
  if (options.mode == BlendMode::kCopy && !rowsOpaque) opaque_ = false;
  std::vector<Pixel> line(static_cast<std::size_t>(d.width));
  int prevSy = -1;
  Pixel* prevRow = nullptr;
  for (int y = 0; y < d.height; ++y) {
    int sy = srcRect.y + map(d.y - full.y + y, full.height, srcRect.height, flipY);
    Pixel* out = pixels_.data() + static_cast<std::size_t>(d.y + y) * width_ + d.x;
    if (sy < 0 || sy >= src.height_) continue;
    if (sy == prevSy && rowsOpaque) {
      // Enlarging: the row is the same as the one just written.
      std::memcpy(out, prevRow, static_cast<std::size_t>(d.width) * sizeof(Pixel));
      continue;
    }
    if (sy != prevSy) {
      const Pixel* in = src.Row(sy);
      for (int i = 0; i < d.width; ++i) {
        int x = xs[static_cast<std::size_t>(i)];
        line[static_cast<std::size_t>(i)] = x >= 0 && x < src.width_ ? in[x] : kTransparent;
      }
    }
    PutRow(out, line.data(), d.width, options, rowsOpaque);
    prevSy = sy;
    prevRow = out;
  }
}

void Surface::Tile(const Surface& src, const Rect& dstRect, Point origin,
                   const BlitOptions& options) {
  if (src.Empty()) return;
  Rect area = dstRect.Intersect(clip_);
  if (area.Empty()) return;
  ClipScope scope(*this, area);
  auto firstStart = [](int from, int org, int step) {
    int k = (from - org) / step;
    if (org + k * step > from) --k;
    return org + k * step;
  };
  int x0 = firstStart(area.x, origin.x, src.width_);
  int y0 = firstStart(area.y, origin.y, src.height_);
  for (int y = y0; y < area.Bottom(); y += src.height_) {
    for (int x = x0; x < area.Right(); x += src.width_)
      Blit(src, x, y, options);
  }
}

void Surface::BlendMask(const std::uint8_t* mask, int maskWidth, int maskHeight, int maskStride,
                        int dx, int dy, Pixel color) {
  Rect d = Rect{dx, dy, maskWidth, maskHeight}.Intersect(clip_);
  if (d.Empty()) return;
  std::uint32_t colorAlpha = PixelAlpha(color);
  for (int y = d.y; y < d.Bottom(); ++y) {
    const std::uint8_t* m = mask + static_cast<std::ptrdiff_t>(y - dy) * maskStride + (d.x - dx);
    Pixel* out = pixels_.data() + static_cast<std::size_t>(y) * width_ + d.x;
    for (int x = 0; x < d.width; ++x) {
      std::uint32_t cover = m[x];
      if (cover == 0) continue;
      if (cover == 255 && colorAlpha == 255) {
        out[x] = color;
      } else {
        out[x] = BlendOver(ScalePixel(color, cover), out[x]);
      }
    }
  }
}

void Surface::DrawHLine(int x1, int x2, int y, Pixel p) {
  if (x1 > x2) std::swap(x1, x2);
  BlendRect({x1, y, x2 - x1 + 1, 1}, p);
}

void Surface::DrawVLine(int x, int y1, int y2, Pixel p) {
  if (y1 > y2) std::swap(y1, y2);
  BlendRect({x, y1, 1, y2 - y1 + 1}, p);
}

void Surface::DrawLine(Point a, Point b, Pixel p) {
  if (a.y == b.y) return DrawHLine(a.x, b.x, a.y, p);
  if (a.x == b.x) return DrawVLine(a.x, a.y, b.y, p);
  // Bresenham over the whole line; points outside the clip are skipped one by one.
  int dx = std::abs(b.x - a.x), dy = -std::abs(b.y - a.y);
  int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    if (clip_.Contains(a)) {
      Pixel& out = pixels_[static_cast<std::size_t>(a.y) * width_ + a.x];
      out = BlendOver(p, out);
    }
    if (a == b) break;
    int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      a.x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      a.y += sy;
    }
  }
}

void Surface::DrawRect(const Rect& r, Pixel p) {
  if (r.Empty()) return;
  DrawHLine(r.x, r.Right() - 1, r.y, p);
  if (r.height > 1) DrawHLine(r.x, r.Right() - 1, r.Bottom() - 1, p);
  if (r.height > 2) {
    DrawVLine(r.x, r.y + 1, r.Bottom() - 2, p);
    if (r.width > 1) DrawVLine(r.Right() - 1, r.y + 1, r.Bottom() - 2, p);
  }
}

void Surface::ApplyColorKey(Pixel key) {
  bool any = false;
  for (Pixel& p : pixels_) {
    if (KeyMatches(p, key)) {
      p = kTransparent;
      any = true;
    }
  }
  if (any) opaque_ = false;
}

void Surface::MakeOpaque() {
  for (Pixel& p : pixels_)
    p |= 0xFF000000u;
  opaque_ = true;
}

Surface Surface::Crop(const Rect& r) const {
  Rect c = r.Intersect(Bounds());
  Surface out(c.width, c.height);
  for (int y = 0; y < c.height; ++y) {
    std::memcpy(out.pixels_.data() + static_cast<std::size_t>(y) * c.width, Row(c.y + y) + c.x,
                static_cast<std::size_t>(c.width) * sizeof(Pixel));
  }
  out.opaque_ = opaque_;
  return out;
}

Surface Surface::Scaled(int width, int height) const {
  Surface out(width, height);
  out.StretchBlit(*this, Bounds(), out.Bounds(), {BlendMode::kCopy});
  out.opaque_ = opaque_;
  return out;
}

}  // namespace sl::draw

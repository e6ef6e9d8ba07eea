// Surface: a software image of premultiplied RGBA pixels (see color.h) with a clipping
// rectangle, and the raster operations that controls and the compositor draw with: fills,
// alpha-blended and colour-keyed blits, nearest-neighbour stretching, tiling, lines, rectangles.
//
// Every drawing operation is limited to the clipping rectangle (initially the whole surface).
// Surfaces are plain values: copying one copies its pixels; moving is cheap.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/draw/color.h"
#include "ui/draw/geometry.h"

namespace sl::draw {

enum class BlendMode : std::uint8_t {
  kBlend,  // source over destination ("source-over" with premultiplied alpha)
  kCopy,   // source replaces destination, alpha included
};

struct BlitOptions {
  BlendMode mode = BlendMode::kBlend;
  // When set, source pixels whose colour equals `colorKey` (compared on R, G, B of opaque
  // pixels) are left out, as a transparent colour of a classic picture is.
  bool useColorKey = false;
  Pixel colorKey = 0;
  // Constant opacity applied to every source pixel (255: none), as cross-fades draw.
  std::uint8_t opacity = 255;
};

class Surface {
 public:
  Surface() = default;
  // A width x height surface filled with `fill` (transparent by default). Negative sizes count
  // as 0.
  Surface(int width, int height, Pixel fill = kTransparent);
  // Copies straight-alpha RGBA bytes (R, G, B, A per pixel, `stride` bytes a row).
  static Surface FromStraightRgba(const std::uint8_t* data, int width, int height, int stride);

  int Width() const { return width_; }
  int Height() const { return height_; }
  Size Dimensions() const { return {width_, height_}; }
  Rect Bounds() const { return {0, 0, width_, height_}; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }

  // Row access, y in [0, Height()). The mutable form forgets the opacity hint, because the
  // caller may write transparent pixels.
  const Pixel* Row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
  Pixel* MutableRow(int y) {
    opaque_ = false;
    return pixels_.data() + static_cast<std::size_t>(y) * width_;
  }
  // A pixel, or transparent outside the surface.
  Pixel GetPixel(int x, int y) const;
  // Sets one pixel (no blending) if it lies inside the clipping rectangle.
  void SetPixel(int x, int y, Pixel p);

  // True only when every pixel is known to be opaque: blits of such a surface copy whole rows.
  // Operations keep this hint; after writing through MutableRow call UpdateOpacity().
  bool IsOpaque() const { return opaque_; }
  void UpdateOpacity();

  // Clipping. SetClip intersects with the surface bounds.
  Rect Clip() const { return clip_; }
  void SetClip(const Rect& r) { clip_ = r.Intersect(Bounds()); }
  void ResetClip() { clip_ = Bounds(); }

  // Replaces every pixel inside the clip, or inside `r` and the clip.
  void Fill(Pixel p) { FillRect(Bounds(), p); }
  void FillRect(const Rect& r, Pixel p);
  // Blends `p` over the pixels inside `r` and the clip.
  void BlendRect(const Rect& r, Pixel p);

  // Draws all of `src` (or `srcRect` of it) with its top-left corner at (dx, dy).
  void Blit(const Surface& src, int dx, int dy, const BlitOptions& options = {});
  void Blit(const Surface& src, const Rect& srcRect, int dx, int dy,
            const BlitOptions& options = {});
  // Scales `srcRect` of `src` into `dstRect` by nearest-neighbour sampling (each destination
  // pixel takes the source pixel under its centre), the blocky look of the classic stretch.
  // A negative width or height of `dstRect` mirrors the picture on that axis; the rectangle
  // then extends left of (above) x (y) by its magnitude, as the classic PaintPicture does.
  void StretchBlit(const Surface& src, const Rect& srcRect, const Rect& dstRect,
                   const BlitOptions& options = {});
  // Repeats `src` over `dstRect`, with copies aligned so that one starts at `origin`.
  void Tile(const Surface& src, const Rect& dstRect, Point origin, const BlitOptions& options = {});

  // Blends `color` through an 8-bit coverage mask (glyphs, anti-aliased shapes): `mask` holds
  // `maskWidth` x `maskHeight` bytes with `maskStride` bytes a row; it is placed at (dx, dy).
  void BlendMask(const std::uint8_t* mask, int maskWidth, int maskHeight, int maskStride, int dx,
                 int dy, Pixel color);

  // Lines of 1 pixel, both end points included.
  void DrawHLine(int x1, int x2, int y, Pixel p);
  void DrawVLine(int x, int y1, int y2, Pixel p);
  void DrawLine(Point a, Point b, Pixel p);
  // A 1-pixel outline just inside `r`.
  void DrawRect(const Rect& r, Pixel p);

  // Pixels whose R, G, B equal those of `key` become transparent.
  void ApplyColorKey(Pixel key);
  // Sets every alpha to 255 (for formats that have no transparency).
  void MakeOpaque();
  // A copy of the part `r` (intersected with the bounds).
  Surface Crop(const Rect& r) const;
  // A nearest-neighbour scaled copy.
  Surface Scaled(int width, int height) const;

  friend bool operator==(const Surface& a, const Surface& b) {
    return a.width_ == b.width_ && a.height_ == b.height_ && a.pixels_ == b.pixels_;
  }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Pixel> pixels_;
  Rect clip_;
  bool opaque_ = false;
};

// Narrows a surface's clip for a scope and restores it afterwards.
class ClipScope {
 public:
  ClipScope(Surface& surface, const Rect& r) : surface_(surface), saved_(surface.Clip()) {
    surface.SetClip(saved_.Intersect(r));
  }
  ~ClipScope() { surface_.SetClip(saved_); }
  ClipScope(const ClipScope&) = delete;
  ClipScope& operator=(const ClipScope&) = delete;

 private:
  Surface& surface_;
  Rect saved_;
};

}  // namespace sl::draw

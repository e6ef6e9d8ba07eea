// The four message box icons, drawn from simple shapes (discs, capsules, triangles, a ring
// arc) with 4 x 4 supersampling for smooth edges. Shapes are listed back to front; each
// subsample takes the colour of the frontmost shape covering it.
#include <algorithm>
#include <cmath>
#include <vector>

#include "ui/draw/blend.h"
#include "ui/draw/chrome.h"

namespace sl::draw {

namespace {

struct Vec {
  float x;
  float y;
};

float Length(Vec v) {
  return std::sqrt(v.x * v.x + v.y * v.y);
}

// Distance from p to the segment a-b.
float SegmentDistance(Vec p, Vec a, Vec b) {
  Vec ab{b.x - a.x, b.y - a.y}, ap{p.x - a.x, p.y - a.y};
  float len2 = ab.x * ab.x + ab.y * ab.y;
  float t = len2 > 0 ? std::clamp((ap.x * ab.x + ap.y * ab.y) / len2, 0.0f, 1.0f) : 0.0f;
  return Length({ap.x - t * ab.x, ap.y - t * ab.y});
}

// Distance outside the triangle a-b-c (0 inside).
float TriangleDistance(Vec p, Vec a, Vec b, Vec c) {
  auto side = [](Vec p0, Vec p1, Vec q) {
    return (p1.x - p0.x) * (q.y - p0.y) - (p1.y - p0.y) * (q.x - p0.x);
  };
  float d1 = side(a, b, p), d2 = side(b, c, p), d3 = side(c, a, p);
  bool inside = (d1 >= 0 && d2 >= 0 && d3 >= 0) || (d1 <= 0 && d2 <= 0 && d3 <= 0);
  if (inside) return 0;
  return std::min({SegmentDistance(p, a, b), SegmentDistance(p, b, c), SegmentDistance(p, c, a)});
}

enum class ShapeKind { kDisc, kCapsule, kTriangle, kEllipse, kRect, kArc };

struct Shape {
  ShapeKind kind;
  Vec a;       // centre, start, first corner
  Vec b;       // end, second corner, radii (ellipse)
  Vec c;       // third corner
  float size;  // radius, half-width, outline growth
  Pixel color;

  bool Covers(Vec p) const {
    switch (kind) {
      case ShapeKind::kDisc:
        return Length({p.x - a.x, p.y - a.y}) <= size;
      case ShapeKind::kCapsule:
        return SegmentDistance(p, a, b) <= size;
      case ShapeKind::kTriangle:
        return TriangleDistance(p, a, b, c) <= size;
      case ShapeKind::kEllipse: {
        float rx = b.x + size, ry = b.y + size;
        float dx = (p.x - a.x) / rx, dy = (p.y - a.y) / ry;
        return dx * dx + dy * dy <= 1.0f;
      }
      case ShapeKind::kRect:
        return p.x >= a.x && p.x <= b.x && p.y >= a.y && p.y <= b.y;
      case ShapeKind::kArc: {
        // Ring of radius b.x around a, without its lower-left quarter: the hook of a "?".
        float d = std::abs(Length({p.x - a.x, p.y - a.y}) - b.x);
        return d <= size && !(p.y > a.y && p.x < a.x + 0.5f);
      }
    }
    return false;
  }
};

Shape Disc(Vec c, float r, Pixel color) {
  return {ShapeKind::kDisc, c, {}, {}, r, color};
}
Shape Capsule(Vec a, Vec b, float halfWidth, Pixel color) {
  return {ShapeKind::kCapsule, a, b, {}, halfWidth, color};
}
Shape Triangle(Vec a, Vec b, Vec c, float grow, Pixel color) {
  return {ShapeKind::kTriangle, a, b, c, grow, color};
}
Shape Ellipse(Vec c, Vec radii, float grow, Pixel color) {
  return {ShapeKind::kEllipse, c, radii, {}, grow, color};
}
Shape Box(Vec topLeft, Vec bottomRight, Pixel color) {
  return {ShapeKind::kRect, topLeft, bottomRight, {}, 0, color};
}
Shape Arc(Vec c, float radius, float halfWidth, Pixel color) {
  return {ShapeKind::kArc, c, {radius, 0}, {}, halfWidth, color};
}

std::vector<Shape> CriticalShapes() {
  const Pixel rim = OpaquePixel(128, 0, 0), red = OpaquePixel(224, 32, 32);
  return {Disc({16, 16}, 15, rim), Disc({16, 16}, 13.8f, red),
          Capsule({10.5f, 10.5f}, {21.5f, 21.5f}, 2.3f, kWhite),
          Capsule({21.5f, 10.5f}, {10.5f, 21.5f}, 2.3f, kWhite)};
}

std::vector<Shape> QuestionShapes() {
  const Pixel outline = OpaquePixel(96, 96, 96), blue = OpaquePixel(32, 64, 200);
  Vec tail[3] = {{8, 22}, {16, 24}, {5, 31}};
  return {Ellipse({16, 13.5f}, {14.5f, 12}, 1, outline),
          Triangle(tail[0], tail[1], tail[2], 1, outline),
          Ellipse({16, 13.5f}, {14.5f, 12}, 0, kWhite),
          Triangle(tail[0], tail[1], tail[2], 0, kWhite),
          Arc({16, 10}, 4.2f, 1.9f, blue),
          Capsule({16, 14.2f}, {16, 16.5f}, 1.9f, blue),
          Disc({16, 21}, 2.1f, blue)};
}

std::vector<Shape> ExclamationShapes() {
  const Pixel outline = OpaquePixel(64, 48, 0), yellow = OpaquePixel(255, 216, 0);
  Vec a{16, 3}, b{29.5f, 27.5f}, c{2.5f, 27.5f};
  return {Triangle(a, b, c, 1.6f, outline), Triangle(a, b, c, 0.2f, yellow),
          Capsule({16, 10}, {16, 18.5f}, 2.1f, kBlack), Disc({16, 23.5f}, 2.1f, kBlack)};
}

std::vector<Shape> InformationShapes() {
  const Pixel rim = OpaquePixel(16, 40, 128), blue = OpaquePixel(32, 80, 208);
  return {Disc({16, 16}, 15, rim),
          Disc({16, 16}, 13.8f, blue),
          Disc({16, 8.5f}, 2.3f, kWhite),
          Box({14, 12.5f}, {18, 23}, kWhite),
          Box({12, 12.5f}, {18, 14.5f}, kWhite),
          Box({12, 22}, {20, 24.5f}, kWhite)};
}

std::vector<Shape> ShapesOf(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kCritical:
      return CriticalShapes();
    case MessageIcon::kQuestion:
      return QuestionShapes();
    case MessageIcon::kExclamation:
      return ExclamationShapes();
    case MessageIcon::kInformation:
      return InformationShapes();
  }
  return {};
}

// Average of the 16 subsamples of pixel (px, py), premultiplied.
Pixel SamplePixel(const std::vector<Shape>& shapes, int px, int py) {
  std::uint32_t sum[4] = {0, 0, 0, 0};
  for (int sy = 0; sy < 4; ++sy) {
    for (int sx = 0; sx < 4; ++sx) {
      Vec p{px + (sx + 0.5f) / 4, py + (sy + 0.5f) / 4};
      Pixel color = kTransparent;
      for (auto shape = shapes.rbegin(); shape != shapes.rend(); ++shape) {
        if (shape->Covers(p)) {
          color = shape->color;
          break;
        }
      }
      sum[0] += PixelRed(color);
      sum[1] += PixelGreen(color);
      sum[2] += PixelBlue(color);
      sum[3] += PixelAlpha(color);
    }
  }
  auto avg = [](std::uint32_t v) { return static_cast<std::uint8_t>((v + 8) / 16); };
  return PackPixel(avg(sum[0]), avg(sum[1]), avg(sum[2]), avg(sum[3]));
}

}  // namespace

void DrawMessageIcon(Surface& target, int x, int y, MessageIcon icon) {
  std::vector<Shape> shapes = ShapesOf(icon);
  Rect area = Rect{x, y, kMessageIconSize, kMessageIconSize}.Intersect(target.Clip());
  for (int py = area.y; py < area.Bottom(); ++py) {
    for (int px = area.x; px < area.Right(); ++px) {
      Pixel p = SamplePixel(shapes, px - x, py - y);
      if (PixelAlpha(p) != 0)
        target.SetPixel(px, py, detail::BlendOver(p, target.GetPixel(px, py)));
    }
  }
}

}  // namespace sl::draw

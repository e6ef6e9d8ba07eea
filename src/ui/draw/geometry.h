// Integer pixel geometry for the drawing layer: points, sizes and half-open rectangles.
#pragma once

#include <algorithm>

namespace sl::draw {

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// A rectangle covering x <= px < x + width, y <= py < y + height. Empty when either extent is
// not positive.
struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

  int Right() const { return x + width; }
  int Bottom() const { return y + height; }
  bool Empty() const { return width <= 0 || height <= 0; }
  bool Contains(Point p) const { return p.x >= x && p.y >= y && p.x < Right() && p.y < Bottom(); }
  Rect Intersect(const Rect& o) const {
    int l = std::max(x, o.x), t = std::max(y, o.y);
    int r = std::min(Right(), o.Right()), b = std::min(Bottom(), o.Bottom());
    return r > l && b > t ? Rect{l, t, r - l, b - t} : Rect{l, t, 0, 0};
  }
  Rect Offset(int dx, int dy) const { return {x + dx, y + dy, width, height}; }
  // Grows (or, with a negative amount, shrinks) every side by `d`.
  Rect Inflate(int d) const { return {x - d, y - d, width + 2 * d, height + 2 * d}; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace sl::draw

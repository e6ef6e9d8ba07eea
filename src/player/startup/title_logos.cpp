// Drawing the title window's logo badges.
#include "player/startup/title_logos.h"

#include "ui/draw/color.h"
#include "ui/draw/surface.h"

namespace sl {

draw::Picture MakeTitleLogo(int k) {
  bool dark = k == 1 || k == 3;
  bool wide = k >= 2;
  // The logo sits 48 pixels above the window's top edge, so only its lower part shows; the
  // badge is drawn there, in the corner width that the placement leaves visible.
  const int width = wide ? 24 : 16;
  const int height = 48 + 22;
  draw::Surface s(width, height, draw::kTransparent);
  draw::Pixel warp = dark ? draw::OpaquePixel(40, 52, 88) : draw::OpaquePixel(236, 226, 196);
  draw::Pixel weft = dark ? draw::OpaquePixel(214, 160, 64) : draw::OpaquePixel(150, 60, 48);
  draw::Pixel edge = dark ? draw::OpaquePixel(12, 16, 30) : draw::OpaquePixel(96, 80, 60);
  const int top = 50;
  const int bottom = height - 2;
  s.FillRect({1, top, width - 2, bottom - top}, warp);
  // A plain weave: horizontal threads pass over and under the vertical ones.
  for (int y = top + 2; y < bottom - 1; y += 3) {
    for (int x = 2; x < width - 2; ++x) {
      if (((x / 2) + (y / 3)) % 2 == 0) s.SetPixel(x, y, weft);
    }
  }
  s.DrawHLine(1, width - 2, top, edge);
  s.DrawHLine(1, width - 2, bottom, edge);
  s.DrawVLine(1, top, bottom, edge);
  s.DrawVLine(width - 2, top, bottom, edge);
  s.UpdateOpacity();
  return draw::Picture(std::move(s));
}

}  // namespace sl

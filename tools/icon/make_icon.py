#!/usr/bin/python3
"""Writes the program's icon from one description of its shapes: dist/icons/storyloom.svg and
the PNG sizes desktops look for, dist/icons/NxN/storyloom.png. The output is committed; run this
again after changing the shapes.

The icon: an open book on a deep blue tile, with a golden thread woven across its pages."""
import os

from PIL import Image, ImageDraw

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(os.path.dirname(os.path.dirname(HERE)), "dist", "icons")
SIZES = [16, 24, 32, 48, 64, 128, 256]
UNIT = 256  # the shapes are given on a 256 x 256 canvas

TILE = {"box": (8, 8, 248, 248), "radius": 44, "fill": "#1b3160", "edge": "#2e4f8f", "width": 6}
PAGE_SHADOW = {"points": [(34, 92), (128, 108), (222, 92), (222, 204), (128, 222), (34, 204)],
               "fill": "#8a7654"}
PAGES = [
    {"points": [(40, 78), (128, 96), (128, 208), (40, 190)], "fill": "#f6ecd2"},
    {"points": [(128, 96), (216, 78), (216, 190), (128, 208)], "fill": "#efe1bd"},
]
SPINE = {"points": [(128, 96), (128, 208)], "stroke": "#b39b6e", "width": 4}
TEXT_LINES = [
    [(56, 104), (112, 114)], [(56, 124), (112, 134)], [(56, 144), (100, 152)],
    [(144, 114), (200, 104)], [(144, 134), (200, 124)], [(144, 154), (188, 146)],
]
TEXT_STYLE = {"stroke": "#c8b48c", "width": 5}
THREAD = {"points": [(26, 176), (60, 150), (96, 178), (128, 150), (160, 178), (196, 150),
                     (230, 166)],
          "stroke": "#f0b93a", "width": 11}


def svg():
    def pts(points):
        return " ".join(f"{x},{y}" for x, y in points)

    x0, y0, x1, y1 = TILE["box"]
    parts = [
        '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">',
        f'  <rect x="{x0}" y="{y0}" width="{x1 - x0}" height="{y1 - y0}" rx="{TILE["radius"]}" '
        f'fill="{TILE["fill"]}" stroke="{TILE["edge"]}" stroke-width="{TILE["width"]}"/>',
        f'  <polygon points="{pts(PAGE_SHADOW["points"])}" fill="{PAGE_SHADOW["fill"]}"/>',
    ]
    for page in PAGES:
        parts.append(f'  <polygon points="{pts(page["points"])}" fill="{page["fill"]}"/>')
    parts.append(f'  <polyline points="{pts(SPINE["points"])}" fill="none" '
                 f'stroke="{SPINE["stroke"]}" stroke-width="{SPINE["width"]}"/>')
    for line in TEXT_LINES:
        parts.append(f'  <polyline points="{pts(line)}" fill="none" stroke="{TEXT_STYLE["stroke"]}" '
                     f'stroke-width="{TEXT_STYLE["width"]}" stroke-linecap="round"/>')
    parts.append(f'  <polyline points="{pts(THREAD["points"])}" fill="none" '
                 f'stroke="{THREAD["stroke"]}" stroke-width="{THREAD["width"]}" '
                 'stroke-linecap="round" stroke-linejoin="round"/>')
    parts.append("</svg>")
    return "\n".join(parts) + "\n"


def raster(size):
    scale = 1024 / UNIT  # drawn large, then reduced, for smooth edges

    def s(points):
        return [(x * scale, y * scale) for x, y in points]

    def stroke(draw, points, colour, width, round_ends):
        w = int(width * scale)
        draw.line(s(points), fill=colour, width=w, joint="curve")
        if round_ends:
            for x, y in (s(points)[0], s(points)[-1]):
                draw.ellipse((x - w / 2, y - w / 2, x + w / 2, y + w / 2), fill=colour)

    big = Image.new("RGBA", (1024, 1024), (0, 0, 0, 0))
    draw = ImageDraw.Draw(big)
    x0, y0, x1, y1 = TILE["box"]
    draw.rounded_rectangle((x0 * scale, y0 * scale, x1 * scale, y1 * scale),
                           radius=TILE["radius"] * scale, fill=TILE["fill"],
                           outline=TILE["edge"], width=int(TILE["width"] * scale))
    draw.polygon(s(PAGE_SHADOW["points"]), fill=PAGE_SHADOW["fill"])
    for page in PAGES:
        draw.polygon(s(page["points"]), fill=page["fill"])
    stroke(draw, SPINE["points"], SPINE["stroke"], SPINE["width"], False)
    for line in TEXT_LINES:
        stroke(draw, line, TEXT_STYLE["stroke"], TEXT_STYLE["width"], True)
    stroke(draw, THREAD["points"], THREAD["stroke"], THREAD["width"], True)
    return big.resize((size, size), Image.LANCZOS)


def main():
    os.makedirs(OUT, exist_ok=True)
    with open(os.path.join(OUT, "storyloom.svg"), "w") as f:
        f.write(svg())
    for size in SIZES:
        folder = os.path.join(OUT, f"{size}x{size}")
        os.makedirs(folder, exist_ok=True)
        raster(size).save(os.path.join(folder, "storyloom.png"), optimize=True)


if __name__ == "__main__":
    main()

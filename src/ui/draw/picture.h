// Picture: a decoded picture file as controls hold it (a control's Picture property). A value
// type: copies share the same decoded image, so handing pictures around is cheap, and the
// decoded pixels are immutable.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

#include "ui/draw/geometry.h"
#include "ui/draw/surface.h"

namespace sl::draw {

struct GifAnimation;

enum class PictureKind : std::uint8_t {
  kNone,
  kBitmap,            // BMP, JPEG, GIF, PNG
  kMetafile,          // WMF
  kIcon,              // ICO
  kCursor,            // CUR
  kEnhancedMetafile,  // EMF
};

// The number the classic Picture.Type property reports: 0 none, 1 bitmap, 2 metafile, 3 icon
// (cursors too), 4 enhanced metafile.
int ClassicPictureType(PictureKind kind);

// One image of an icon or cursor file (or the only image of any other picture).
struct PictureImage {
  Surface surface;
  Point hotSpot;  // cursor hot spot; (0, 0) for everything else
  int bitsPerPixel = 32;
};

class Picture {
 public:
  // The empty picture (kind none, size 0 x 0).
  Picture() = default;
  // A picture of one image.
  explicit Picture(Surface surface, PictureKind kind = PictureKind::kBitmap, Point hotSpot = {});
  // An icon or cursor with several images; `defaultIndex` is the one shown by default.
  Picture(std::vector<PictureImage> images, std::size_t defaultIndex, PictureKind kind);
  // A metafile: its image at its own size and the file's bytes, to play again at other sizes.
  static Picture Metafile(Surface image, std::vector<std::uint8_t> source, PictureKind kind);
  // A GIF of several images: its first image on the canvas, and the whole animation
  // (gif_animation.h).
  static Picture Animated(Surface still, std::shared_ptr<const GifAnimation> animation);

  PictureKind Kind() const;
  bool IsNone() const { return Kind() == PictureKind::kNone; }
  explicit operator bool() const { return !IsNone(); }

  // Size of the default image in pixels, and in HIMETRIC as the classic Width/Height report.
  int Width() const { return Image().Width(); }
  int Height() const { return Image().Height(); }
  int WidthHimetric() const;
  int HeightHimetric() const;

  // The default image: for icons and cursors the standard 32 x 32 one if present (else the
  // closest size), with the most colours.
  const Surface& Image() const;
  Point HotSpot() const;
  // True when the image has transparent or translucent pixels.
  bool HasTransparency() const { return !Image().IsOpaque(); }

  // All images (one, except for icon and cursor files with several).
  std::span<const PictureImage> Images() const;
  // The image best suited to be shown at width x height: exact size first, then the smallest
  // larger one, then the largest; among equal sizes the most colours.
  const PictureImage& BestImage(int width, int height) const;

  // The picture drawn at width x height: a metafile is played again at that size (sharp
  // lines), anything else is scaled by nearest neighbour from its best image for that size.
  Surface Render(int width, int height) const;

  // The animation of a GIF of several images; null for every other picture.
  const std::shared_ptr<const GifAnimation>& Animation() const;

  // Bytes held by the decoded picture: the pixels of every image and animation frame and a
  // metafile's source.
  std::size_t ByteSize() const;

  // True when both share the same decoded picture (as the same cached file does).
  bool SameAs(const Picture& o) const { return data_ == o.data_; }

 private:
  struct Data;
  std::shared_ptr<const Data> data_;
};

// Decodes picture bytes; the format is recognised from the content, not the name. Throws
// RuntimeError 481 "Invalid picture" for anything that is not a supported picture.
Picture DecodePicture(std::span<const std::uint8_t> bytes);
// Reads and decodes a file: RuntimeError 53 "File not found" when it does not exist, 481 when
// it is not a picture, 75 when it cannot be read.
Picture LoadPictureFile(const std::filesystem::path& path);

// Writes a surface as a 24-bit BMP file (what the classic SavePicture writes for bitmaps);
// transparent pixels are written over black. Throws RuntimeError 75 on failure.
void SaveBmp(const Surface& surface, const std::filesystem::path& path);

}  // namespace sl::draw

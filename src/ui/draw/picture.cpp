// The Picture value type: shared immutable images with kind, size and hot spot.
#include "ui/draw/picture.h"

#include <cstdlib>

#include "core/runtime_error.h"
#include "ui/draw/gif_animation.h"
#include "ui/draw/picture_decoders.h"
#include "ui/draw/units.h"

namespace sl::draw {

struct Picture::Data {
  PictureKind kind = PictureKind::kNone;
  std::vector<PictureImage> images;
  std::size_t defaultIndex = 0;
  std::vector<std::uint8_t> metafileSource;
  std::shared_ptr<const GifAnimation> animation;
};

namespace {

const PictureImage& EmptyImage() {
  static const PictureImage empty;
  return empty;
}

// Ranks an image for a wanted size: exact fits first, then the smallest larger, then the
// largest smaller; ties go to more colours. Lower is better.
long long SizeRank(const PictureImage& image, int width, int height) {
  int w = image.surface.Width(), h = image.surface.Height();
  long long colours = 64 - image.bitsPerPixel;
  if (w == width && h == height) return colours;
  if (w >= width && h >= height)
    return (1LL << 20) + (static_cast<long long>(w) * h << 6) + colours;
  return (2LL << 40) - (static_cast<long long>(w) * h << 6) + colours;
}

}  // namespace

int ClassicPictureType(PictureKind kind) {
  switch (kind) {
    case PictureKind::kNone:
      return 0;
    case PictureKind::kBitmap:
      return 1;
    case PictureKind::kMetafile:
      return 2;
    case PictureKind::kIcon:
    case PictureKind::kCursor:
      return 3;
    case PictureKind::kEnhancedMetafile:
      return 4;
  }
  return 0;
}

Picture::Picture(Surface surface, PictureKind kind, Point hotSpot) {
  auto data = std::make_shared<Data>();
  data->kind = kind;
  data->images.push_back({std::move(surface), hotSpot, 32});
  data_ = std::move(data);
}

Picture::Picture(std::vector<PictureImage> images, std::size_t defaultIndex, PictureKind kind) {
  auto data = std::make_shared<Data>();
  data->kind = images.empty() ? PictureKind::kNone : kind;
  data->defaultIndex = defaultIndex < images.size() ? defaultIndex : 0;
  data->images = std::move(images);
  data_ = std::move(data);
}

Picture Picture::Metafile(Surface image, std::vector<std::uint8_t> source, PictureKind kind) {
  Picture p(std::move(image), kind);
  auto data = std::make_shared<Data>(*p.data_);
  data->metafileSource = std::move(source);
  p.data_ = std::move(data);
  return p;
}

Picture Picture::Animated(Surface still, std::shared_ptr<const GifAnimation> animation) {
  auto data = std::make_shared<Data>();
  data->kind = PictureKind::kBitmap;
  data->images.push_back({std::move(still), {}, 32});
  data->animation = std::move(animation);
  Picture p;
  p.data_ = std::move(data);
  return p;
}

const std::shared_ptr<const GifAnimation>& Picture::Animation() const {
  static const std::shared_ptr<const GifAnimation> none;
  return data_ ? data_->animation : none;
}

std::size_t Picture::ByteSize() const {
  if (!data_) return 0;
  auto pixelBytes = [](const Surface& s) {
    return static_cast<std::size_t>(s.Width()) * static_cast<std::size_t>(s.Height()) *
           sizeof(Pixel);
  };
  std::size_t bytes = data_->metafileSource.size();
  for (const auto& image : data_->images)
    bytes += pixelBytes(image.surface);
  if (data_->animation) {
    for (const auto& frame : data_->animation->frames)
      bytes += pixelBytes(frame.image);
  }
  return bytes;
}

Surface Picture::Render(int width, int height) const {
  if (width <= 0 || height <= 0 || IsNone()) return Surface();
  if (!data_->metafileSource.empty()) {
    try {
      return Kind() == PictureKind::kMetafile
                 ? detail::DecodeWmf(data_->metafileSource, width, height)
                 : detail::DecodeEmf(data_->metafileSource, width, height);
    } catch (const RuntimeError&) {
      // Played once already, so this only fails when memory runs short: fall back to scaling.
    }
  }
  const Surface& best = BestImage(width, height).surface;
  if (best.Width() == width && best.Height() == height) return best;
  return best.Scaled(width, height);
}

PictureKind Picture::Kind() const {
  return data_ ? data_->kind : PictureKind::kNone;
}

const Surface& Picture::Image() const {
  if (!data_ || data_->images.empty()) return EmptyImage().surface;
  return data_->images[data_->defaultIndex].surface;
}

Point Picture::HotSpot() const {
  if (!data_ || data_->images.empty()) return {};
  return data_->images[data_->defaultIndex].hotSpot;
}

int Picture::WidthHimetric() const {
  return PixelsToHimetric(Width());
}
int Picture::HeightHimetric() const {
  return PixelsToHimetric(Height());
}

std::span<const PictureImage> Picture::Images() const {
  if (!data_) return {};
  return data_->images;
}

const PictureImage& Picture::BestImage(int width, int height) const {
  if (!data_ || data_->images.empty()) return EmptyImage();
  const PictureImage* best = &data_->images.front();
  for (const auto& image : data_->images) {
    if (SizeRank(image, width, height) < SizeRank(*best, width, height)) best = &image;
  }
  return *best;
}

}  // namespace sl::draw

// DecodeGifAnimation: GIF files through giflib's record-by-record reader, so that every image
// is read with its graphic control block (delay, transparent colour, disposal), a damaged
// later image ends the animation instead of the picture, and no image is allocated for before
// the header checks have accepted its size.
#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <string_view>

#include "core/runtime_error.h"
#include "ui/draw/gif_animation.h"
#include "ui/draw/picture.h"
#include "ui/draw/picture_decoders.h"
#include "ui/draw/picture_limits.h"

namespace sl::draw {

namespace {

constexpr int kCentisecondMs = 10;

struct MemoryInput {
  std::span<const std::uint8_t> bytes;
  std::size_t at = 0;
};

int ReadInput(GifFileType* gif, GifByteType* out, int size) {
  auto* input = static_cast<MemoryInput*>(gif->UserData);
  std::size_t n =
      std::min(static_cast<std::size_t>(std::max(size, 0)), input->bytes.size() - input->at);
  std::memcpy(out, input->bytes.data() + input->at, n);
  input->at += n;
  return static_cast<int>(n);
}

struct GifClose {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};
using GifFile = std::unique_ptr<GifFileType, GifClose>;

// The graphic control block in force for the next image.
struct Control {
  int delayMs = 0;
  int transparentIndex = NO_TRANSPARENT_COLOR;
  GifDisposal disposal = GifDisposal::kKeep;
};

GifDisposal ToDisposal(int mode) {
  switch (mode) {
    case DISPOSE_BACKGROUND:
      return GifDisposal::kBackground;
    case DISPOSE_PREVIOUS:
      return GifDisposal::kPrevious;
    default:
      return GifDisposal::kKeep;
  }
}

// Rows of an interlaced image arrive in four passes: every 8th row from 0, every 8th from 4,
// every 4th from 2, every 2nd from 1.
std::vector<int> RowOrder(int height, bool interlaced) {
  std::vector<int> order;
  order.reserve(static_cast<std::size_t>(height));
  if (!interlaced) {
    for (int y = 0; y < height; ++y)
      order.push_back(y);
    return order;
  }
  constexpr std::array<std::pair<int, int>, 4> kPasses = {{{0, 8}, {4, 8}, {2, 4}, {1, 2}}};
  for (auto [start, step] : kPasses) {
    for (int y = start; y < height; y += step)
      order.push_back(y);
  }
  return order;
}

class Decoder {
 public:
  explicit Decoder(std::span<const std::uint8_t> bytes) : input_{bytes, 0} {
    int error = 0;
    gif_.reset(DGifOpen(&input_, ReadInput, &error));
    if (!gif_) throw RuntimeError(kErrInvalidPicture);
  }

  GifAnimation Decode() {
    GifAnimation animation;
    animation.canvas = {gif_->SWidth, gif_->SHeight};
    Control control;
    bool done = false;
    while (!done && animation.frames.size() < kMaxGifFrames) {
      GifRecordType type = UNDEFINED_RECORD_TYPE;
      if (DGifGetRecordType(gif_.get(), &type) != GIF_OK) break;
      switch (type) {
        case IMAGE_DESC_RECORD_TYPE:
          if (!ReadImage(control, animation)) done = true;
          control = Control{};
          break;
        case EXTENSION_RECORD_TYPE:
          if (!ReadExtension(control, animation)) done = true;
          break;
        default:  // the trailer, or anything unreadable
          done = true;
          break;
      }
    }
    if (animation.frames.empty()) throw RuntimeError(kErrInvalidPicture);
    // A first image beyond a too-small logical screen widens the canvas to hold it.
    const GifFrame& first = animation.frames.front();
    animation.canvas.width = std::max(animation.canvas.width, first.offset.x + first.image.Width());
    animation.canvas.height =
        std::max(animation.canvas.height, first.offset.y + first.image.Height());
    auto [width, height] = animation.canvas;
    if (!PictureSizeAcceptable(width, height) ||
        !PicturePixelsBacked(std::int64_t{width} * height, input_.bytes.size(),
                             kLzwPixelsPerByte)) {
      throw RuntimeError(kErrInvalidPicture);
    }
    return animation;
  }

 private:
  // One image: false when it cannot be read, which ends the animation before it.
  bool ReadImage(const Control& control, GifAnimation& animation) {
    if (DGifGetImageDesc(gif_.get()) != GIF_OK) return false;
    const GifImageDesc& desc = gif_->Image;
    if (!PictureSizeAcceptable(desc.Width, desc.Height) || desc.Left < 0 || desc.Top < 0) {
      return false;
    }
    std::int64_t pixels = std::int64_t{desc.Width} * desc.Height;
    if (pixels > kMaxPicturePixels - decodedPixels_) return false;
    decodedPixels_ += pixels;

    std::vector<GifPixelType> indices(static_cast<std::size_t>(pixels));
    for (int y : RowOrder(desc.Height, desc.Interlace)) {
      GifPixelType* row = indices.data() + static_cast<std::size_t>(y) * desc.Width;
      if (DGifGetLine(gif_.get(), row, desc.Width) != GIF_OK) return false;
    }
    const ColorMapObject* colors = desc.ColorMap ? desc.ColorMap : gif_->SColorMap;
    GifFrame frame;
    frame.image = Surface(desc.Width, desc.Height);
    frame.offset = {desc.Left, desc.Top};
    frame.delayMs = control.delayMs;
    frame.disposal = control.disposal;
    bool anyTransparent = false;
    for (int y = 0; y < desc.Height; ++y) {
      const GifPixelType* in = indices.data() + static_cast<std::size_t>(y) * desc.Width;
      Pixel* out = frame.image.MutableRow(y);
      for (int x = 0; x < desc.Width; ++x) {
        int index = in[x];
        if (index == control.transparentIndex) {
          out[x] = kTransparent;
          anyTransparent = true;
        } else if (colors && colors->Colors && index < colors->ColorCount) {
          const GifColorType& c = colors->Colors[index];
          out[x] = OpaquePixel(c.Red, c.Green, c.Blue);
        } else {
          out[x] = kBlack;  // an index beyond the colour table
        }
      }
    }
    if (!anyTransparent) frame.image.UpdateOpacity();
    animation.frames.push_back(std::move(frame));
    return true;
  }

  // An extension: the graphic control block and the looping extension are read, all others
  // skipped. False when it cannot be read.
  bool ReadExtension(Control& control, GifAnimation& animation) {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif_.get(), &code, &block) != GIF_OK) return false;
    if (code == GRAPHICS_EXT_FUNC_CODE && block) {
      GraphicsControlBlock gcb{};
      if (DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK) {
        control.delayMs = gcb.DelayTime * kCentisecondMs;
        control.transparentIndex = gcb.TransparentColor;
        control.disposal = ToDisposal(gcb.DisposalMode);
      }
    }
    bool looping = false;
    if (code == APPLICATION_EXT_FUNC_CODE && block && block[0] == 11) {
      std::string_view name(reinterpret_cast<const char*>(block + 1), 11);
      looping = name == "NETSCAPE2.0" || name == "ANIMEXTS1.0";
    }
    while (block) {
      if (DGifGetExtensionNext(gif_.get(), &block) != GIF_OK) return false;
      // Looping sub-block: 1, then the count, low byte first.
      if (looping && block && block[0] >= 3 && block[1] == 1) {
        animation.loopCount = block[2] | block[3] << 8;
      }
    }
    return true;
  }

  MemoryInput input_;
  GifFile gif_;
  std::int64_t decodedPixels_ = 0;
};

}  // namespace

GifAnimation DecodeGifAnimation(std::span<const std::uint8_t> bytes) {
  if (!detail::GifHeadersAcceptable(bytes)) throw RuntimeError(kErrInvalidPicture);
  Decoder decoder(bytes);
  return decoder.Decode();
}

namespace detail {

Picture DecodeGifPicture(std::span<const std::uint8_t> bytes) {
  auto animation = std::make_shared<GifAnimation>(DecodeGifAnimation(bytes));
  GifAnimationCanvas canvas(animation);
  Surface still = canvas.Image();
  if (animation->frames.size() == 1) return Picture(std::move(still), PictureKind::kBitmap);
  return Picture::Animated(std::move(still), std::move(animation));
}

}  // namespace detail

}  // namespace sl::draw

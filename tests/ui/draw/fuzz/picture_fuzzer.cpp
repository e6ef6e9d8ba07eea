// libFuzzer target of one picture format, chosen when it is built (SL_PICTURE_FORMAT: "bmp",
// "jpeg", "gif", "png", "icon", "wmf" or "emf"; built with -DSTORYLOOM_FUZZ=ON and clang). The
// input's first bytes are made the format's signature, so every input reaches that format's
// decoder. Beyond the sanitizers it checks what a hostile file must never achieve: an error
// other than "Invalid picture", a picture beyond the limits, or one larger than its file can
// back.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "core/runtime_error.h"
#include "ui/draw/gif_animation.h"
#include "ui/draw/picture.h"
#include "ui/draw/picture_limits.h"

namespace {

using sl::draw::Picture;

constexpr std::string_view kFormat = SL_PICTURE_FORMAT;
constexpr bool kMetafile = kFormat == "wmf" || kFormat == "emf";
// Frames of an animation played through per input, enough to meet every disposal.
constexpr std::size_t kFramesPlayed = 64;

void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "picture fuzzer: %s\n", what);
  std::abort();
}

void Overwrite(std::vector<std::uint8_t>& b, std::size_t at,
               std::initializer_list<std::uint8_t> s) {
  if (b.size() < at + s.size()) b.resize(at + s.size());
  std::copy(s.begin(), s.end(), b.begin() + static_cast<long>(at));
}

std::vector<std::uint8_t> WithSignature(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> b(data, data + size);
  if (kFormat == "bmp") Overwrite(b, 0, {'B', 'M'});
  if (kFormat == "jpeg") Overwrite(b, 0, {0xFF, 0xD8, 0xFF});
  if (kFormat == "gif") Overwrite(b, 0, {'G', 'I', 'F', '8'});
  if (kFormat == "png") Overwrite(b, 0, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A});
  if (kFormat == "icon") {
    // Icon or cursor, as the input's third byte chooses.
    std::uint8_t type = size > 2 && (data[2] & 1) == 0 ? 2 : 1;
    Overwrite(b, 0, {0, 0, type, 0});
  }
  if (kFormat == "wmf") {
    bool plain =
        size >= 4 && (data[0] == 1 || data[0] == 2) && data[1] == 0 && data[2] == 9 && data[3] == 0;
    if (!plain) Overwrite(b, 0, {0xD7, 0xCD, 0xC6, 0x9A});
  }
  if (kFormat == "emf") {
    Overwrite(b, 0, {1, 0, 0, 0});
    Overwrite(b, 40, {0x20, 0x45, 0x4D, 0x46});
  }
  return b;
}

// Every image, and every frame of an animation, within the limits and backed by the file.
void CheckSize(int width, int height, std::size_t fileSize) {
  Require(sl::draw::PictureSizeAcceptable(width, height), "picture beyond the limits");
  if (!kMetafile) {
    Require(sl::draw::PicturePixelsBacked(std::int64_t{width} * height, fileSize,
                                          sl::draw::kDeflatePixelsPerByte),
            "picture larger than its file can hold");
  }
}

void CheckPicture(const Picture& picture, std::size_t fileSize) {
  Require(!picture.IsNone(), "a decoded picture of kind none");
  for (const auto& image : picture.Images())
    CheckSize(image.surface.Width(), image.surface.Height(), fileSize);
  if (const auto& animation = picture.Animation()) {
    Require(animation->frames.size() > 1 && animation->frames.size() <= sl::draw::kMaxGifFrames,
            "animation frame count");
    for (const auto& frame : animation->frames)
      CheckSize(frame.image.Width(), frame.image.Height(), fileSize);
    sl::draw::GifAnimationCanvas canvas(animation);
    for (std::size_t i = 0; i < kFramesPlayed && i < animation->frames.size(); ++i)
      canvas.Advance();
    Require(canvas.Image().Dimensions() == picture.Image().Dimensions(), "canvas size changed");
  }
  if (!kMetafile) picture.Render(7, 5);  // metafiles would be played again in a child
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> bytes = WithSignature(data, size);
  try {
    CheckPicture(sl::draw::DecodePicture(bytes), bytes.size());
  } catch (const sl::RuntimeError& e) {
    // 7: no child process could be started for a metafile (the machine, not the file).
    Require(e.Number() == 481 || (kMetafile && e.Number() == 7), "an error other than 481");
  }
  return 0;
}

// Damaged picture files: every decoder either decodes or raises error 481, never crashes or
// raises anything else. Mutations follow a printed seed, and a failing file is kept.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>

#include "core/runtime_error.h"
#include "picture_files.h"
#include "support/random_input.h"
#include "ui/draw/picture.h"
#include "ui/draw/png_io.h"

namespace sl::draw {
namespace {

void ExpectDecodesOr481(const test::Bytes& bytes) {
  try {
    DecodePicture(bytes);
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), 481);
  }
}

TEST(PictureRobustnessTest, DamagedFilesNeverCrash) {
  Surface png(5, 4, OpaquePixel(9, 8, 7));
  test::IconImageSpec icon{16, 16, 4, std::vector<std::uint32_t>(256, 0xFFFF0000),
                           std::vector<bool>(256, false)};
  std::vector<std::pair<const char*, test::Bytes>> originals = {
      {"gif", test::MakeGif(3, 2, {1, 2, 3, 4}, {0, 1, 2, 3, 2, 1}, 2)},
      {"ico", test::MakeIconFile({icon}, false)},
      {"cur", test::MakeIconFile({icon}, true)},
      {"bmp", test::MakeBmp32(4, 3, 0x123456)},
      {"png", EncodePng(png)},
      {"wmf", test::MakeWmf(1000, 500, 0xFF)},
      {"emf", test::MakeEmf(40, 20, 0xFF)},
      {"jpg", test::ReadFile(std::filesystem::path(STORYLOOM_SOURCE_DIR) /
                             "tests/ui/draw/data/red_blue_16x8.jpg")},
  };
  unsigned seed = sl::test::RandomSeed(12345);
  std::mt19937 random(seed);
  int index = 0;
  for (const auto& [format, original] : originals) {
    for (int round = 0; round < 150; ++round) {
      test::Bytes bytes = original;
      int changes = 1 + static_cast<int>(random() % 4);
      for (int i = 0; i < changes; ++i) {
        // Keep the signature so the damaged data reaches the format's own decoder.
        std::size_t at = 4 + random() % (bytes.size() - 4);
        bytes[at] = static_cast<std::uint8_t>(random());
      }
      if (round % 10 == 0) bytes.resize(4 + random() % (bytes.size() - 4));
      sl::test::RandomCase kept(
          "picture", seed, index++,
          std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
          std::string(".") + format);
      ExpectDecodesOr481(bytes);
    }
  }
}

// A file is decoded only by the decoder of the format its first bytes name. This "JPEG" has a
// first segment of text holding an SVG picture and a frame header whose segment runs past the
// end of the file: a decoder that sniffs the content again would render the SVG (with a
// renderer meant to run only inside the isolated metafile decoder).
TEST(PictureRobustnessTest, AFileReachesOnlyTheDecoderItsSignatureNames) {
  constexpr std::size_t kTextSegment = 0x2020;  // a length without zero bytes
  std::string text =
      "<svg xmlns='http://www.w3.org/2000/svg' width='6' height='4'>"
      "<rect width='6' height='4' fill='red'/></svg>";
  text.resize(kTextSegment - 2, ' ');
  std::string file("\xFF\xD8\xFF\xE0", 4);
  file.push_back(static_cast<char>(kTextSegment >> 8));
  file.push_back(static_cast<char>(kTextSegment & 0xFF));
  file.append(text);
  // Frame header: 6 x 4 pixels, in a segment announced longer than the file.
  file.append("\xFF\xC0\x40\x00\x08\x00\x04\x00\x06\x03", 10);
  test::Bytes bytes(file.begin(), file.end());
  try {
    Picture p = DecodePicture(bytes);
    ADD_FAILURE() << "decoded as a " << p.Image().Width() << " x " << p.Image().Height()
                  << " picture";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), 481);
  }
}

}  // namespace
}  // namespace sl::draw

// Decoding in a child process: the picture comes back whole, and a decoder that loops, crashes,
// throws or allocates without end costs only the child (error 481). Metafiles go through it.
#include "ui/draw/isolated_decode.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <vector>

#include "core/runtime_error.h"
#include "picture_files.h"
#include "support/error_number.h"
#include "support/temp_folder.h"
#include "ui/draw/picture.h"

namespace sl::draw::detail {
namespace {

using Clock = std::chrono::steady_clock;

constexpr ChildProcessLimits kTestLimits{1, std::chrono::milliseconds(8000),
                                         std::size_t{256} << 20};

TEST(IsolatedDecodeTest, ThePictureComesBackWhole) {
  Surface picture(3, 2, OpaquePixel(10, 20, 30));
  picture.SetPixel(2, 1, ToPixel({200, 100, 50, 128}));
  Surface back = DecodeInChildProcess([&] { return picture; }, kTestLimits);
  EXPECT_EQ(back, picture);
  EXPECT_FALSE(back.IsOpaque());
  EXPECT_TRUE(DecodeInChildProcess([] { return Surface(4, 4, kWhite); }).IsOpaque());
}

TEST(IsolatedDecodeTest, AFailingDecoderIsAnInvalidPicture) {
  EXPECT_EQ(sl::test::ErrorNumberOf([] {
              DecodeInChildProcess([]() -> Surface { throw RuntimeError(481); }, kTestLimits);
            }),
            481);
  EXPECT_EQ(sl::test::ErrorNumberOf(
                [] { DecodeInChildProcess([]() -> Surface { std::abort(); }, kTestLimits); }),
            481);
  EXPECT_EQ(sl::test::ErrorNumberOf([] {
              DecodeInChildProcess(
                  []() -> Surface {
                    std::raise(SIGKILL);
                    return {};
                  },
                  kTestLimits);
            }),
            481);
  // A picture beyond the limits is refused whatever the child says.
  EXPECT_EQ(sl::test::ErrorNumberOf(
                [] { DecodeInChildProcess([] { return Surface(40000, 1); }, kTestLimits); }),
            481);
}

TEST(IsolatedDecodeTest, ADecoderThatNeverReturnsIsStoppedByTheCpuLimit) {
  auto start = Clock::now();
  EXPECT_EQ(sl::test::ErrorNumberOf([] {
              DecodeInChildProcess(
                  []() -> Surface {
                    volatile unsigned spins = 0;
                    for (;;)
                      spins = spins + 1;
                  },
                  kTestLimits);
            }),
            481);
  EXPECT_LT(Clock::now() - start, kTestLimits.wallTime);
}

TEST(IsolatedDecodeTest, ADecoderThatSleepsIsStoppedByTheWallTimeLimit) {
  ChildProcessLimits limits = kTestLimits;
  limits.wallTime = std::chrono::milliseconds(300);
  auto start = Clock::now();
  EXPECT_EQ(sl::test::ErrorNumberOf([&] {
              DecodeInChildProcess(
                  []() -> Surface {
                    for (;;)
                      pause();
                  },
                  limits);
            }),
            481);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(3));
}

TEST(IsolatedDecodeTest, ADecoderThatAllocatesWithoutEndIsStoppedByTheMemoryLimit) {
  if (!ChildMemoryLimited()) GTEST_SKIP() << "sanitizers reserve the address space";
  EXPECT_EQ(sl::test::ErrorNumberOf([] {
              DecodeInChildProcess(
                  []() -> Surface {
                    std::vector<std::vector<char>> blocks;
                    for (;;)
                      blocks.emplace_back(std::size_t{64} << 20, 'x');
                  },
                  kTestLimits);
            }),
            481);
}

// A bitmap in a metafile whose header claims fewer bytes than a bitmap header has: libwmf skips
// "the rest of the header" counting down from below zero, and never returns.
TEST(IsolatedDecodeTest, AMetafileThatHangsItsDecoderIsAnInvalidPicture) {
  Picture sound = DecodePicture(test::MakeWmfWithBitmap(1000, 500, 40));
  EXPECT_EQ(sound.Width(), 96);
  auto start = Clock::now();
  EXPECT_EQ(sl::test::ErrorNumberOf([] { DecodePicture(test::MakeWmfWithBitmap(1000, 500, 32)); }),
            481);
  EXPECT_LT(Clock::now() - start, ChildProcessLimits{}.wallTime + std::chrono::seconds(1));
}

}  // namespace
}  // namespace sl::draw::detail

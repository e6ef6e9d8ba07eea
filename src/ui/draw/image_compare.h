// Image comparison for screenshot tests: two images match when they have the same size and at
// most a given share of pixels differ by more than a per-channel tolerance.
#pragma once

#include <filesystem>
#include <string>

#include "ui/draw/surface.h"

namespace sl::draw {

struct CompareOptions {
  int channelTolerance = 8;          // a pixel differs when any channel differs by more
  double maxDifferingShare = 0.001;  // share of pixels (0..1) allowed to differ
};

struct CompareResult {
  bool match = false;
  bool sizeMismatch = false;
  long differingPixels = 0;
  double differingShare = 0;
  int maxChannelDelta = 0;
  // Opaque image: differing pixels in red, the rest a faded copy of the expected image.
  Surface diff;
  std::string Describe() const;
};

CompareResult CompareImages(const Surface& actual, const Surface& expected,
                            const CompareOptions& options = {});

// Compares with a reference PNG. On a mismatch (or a missing reference) writes
// `<outputDir>/<name>.actual.png` and `<name>.diff.png` and says where in the message.
struct ReferenceCheck {
  bool match = false;
  std::string message;
};
ReferenceCheck CompareWithReference(const Surface& actual, const std::filesystem::path& reference,
                                    const std::filesystem::path& outputDir,
                                    const CompareOptions& options = {});

}  // namespace sl::draw

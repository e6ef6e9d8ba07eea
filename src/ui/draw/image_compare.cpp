// Image comparison with tolerance, and the reference-image check of screenshot tests.
#include "ui/draw/image_compare.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "core/runtime_error.h"
#include "ui/draw/png_io.h"

namespace sl::draw {

namespace {

int ChannelDelta(Rgba a, Rgba b) {
  return std::max(
      {std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b), std::abs(a.a - b.a)});
}

// The expected pixel faded towards white, so that red differences stand out.
Pixel Faded(Rgba c) {
  auto fade = [](int v) { return static_cast<std::uint8_t>(191 + v / 4); };
  return OpaquePixel(fade(c.r), fade(c.g), fade(c.b));
}

}  // namespace

std::string CompareResult::Describe() const {
  std::ostringstream s;
  if (sizeMismatch) {
    s << "image sizes differ";
  } else {
    s << differingPixels << " pixels differ (" << differingShare * 100.0
      << "%), largest channel difference " << maxChannelDelta;
  }
  return s.str();
}

CompareResult CompareImages(const Surface& actual, const Surface& expected,
                            const CompareOptions& options) {
  CompareResult result;
  if (actual.Dimensions() != expected.Dimensions()) {
    result.sizeMismatch = true;
    return result;
  }
  result.diff = Surface(actual.Width(), actual.Height(), kWhite);
  for (int y = 0; y < actual.Height(); ++y) {
    const Pixel* a = actual.Row(y);
    const Pixel* e = expected.Row(y);
    Pixel* d = result.diff.MutableRow(y);
    for (int x = 0; x < actual.Width(); ++x) {
      Rgba ea = ToRgba(e[x]);
      int delta = a[x] == e[x] ? 0 : ChannelDelta(ToRgba(a[x]), ea);
      result.maxChannelDelta = std::max(result.maxChannelDelta, delta);
      if (delta > options.channelTolerance) {
        ++result.differingPixels;
        d[x] = OpaquePixel(255, 0, 0);
      } else {
        d[x] = Faded(ea);
      }
    }
  }
  result.diff.UpdateOpacity();
  long total = static_cast<long>(actual.Width()) * actual.Height();
  result.differingShare = total ? static_cast<double>(result.differingPixels) / total : 0.0;
  result.match = result.differingShare <= options.maxDifferingShare;
  return result;
}

ReferenceCheck CompareWithReference(const Surface& actual, const std::filesystem::path& reference,
                                    const std::filesystem::path& outputDir,
                                    const CompareOptions& options) {
  ReferenceCheck check;
  std::string name = reference.stem().string();
  std::filesystem::path actualPath = outputDir / (name + ".actual.png");
  std::filesystem::path diffPath = outputDir / (name + ".diff.png");
  std::ostringstream message;
  CompareResult result;
  try {
    result = CompareImages(actual, LoadPng(reference), options);
    message << result.Describe();
  } catch (const RuntimeError& e) {
    message << "cannot read reference " << reference.string() << ": " << e.Description();
  }
  check.match = result.match;
  if (check.match) {
    check.message = message.str();
    return check;
  }
  std::error_code ec;
  std::filesystem::create_directories(outputDir, ec);
  try {
    SavePng(actual, actualPath);
    message << "; actual image written to " << actualPath.string();
    if (!result.diff.Empty()) {
      SavePng(result.diff, diffPath);
      message << ", differences to " << diffPath.string();
    }
  } catch (const RuntimeError& e) {
    message << "; could not write the actual image: " << e.Description();
  }
  check.message = message.str();
  return check;
}

}  // namespace sl::draw

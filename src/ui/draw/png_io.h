// PNG reading and writing of surfaces (screenshots, reference images, test pictures).
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "ui/draw/surface.h"

namespace sl::draw {

// Encodes as 8-bit RGBA PNG (straight alpha, as PNG stores it).
std::vector<std::uint8_t> EncodePng(const Surface& surface);
// Writes a PNG file; throws RuntimeError 75 "Path/File access error" when it cannot.
void SavePng(const Surface& surface, const std::filesystem::path& path);
// Decodes any PNG (palette, grey, 16-bit are converted); throws RuntimeError 481 for bad data.
Surface DecodePng(std::span<const std::uint8_t> bytes);
// Reads a PNG file: RuntimeError 53 when missing, 481 when not a PNG.
Surface LoadPng(const std::filesystem::path& path);

}  // namespace sl::draw

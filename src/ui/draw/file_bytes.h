// Reading a whole file for the decoders, with the classic error numbers.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace sl::draw::detail {

// The file's bytes. RuntimeError 53 "File not found" when it does not exist (or is a folder),
// 75 "Path/File access error" when it cannot be read.
std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path);

// Writes bytes to a file (replacing it); RuntimeError 75 when it cannot.
void WriteFileBytes(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size);

}  // namespace sl::draw::detail

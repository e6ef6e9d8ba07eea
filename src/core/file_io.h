// Whole-file reading and all-or-nothing writing of real (already resolved) paths, and the
// classic error numbers of file operations.
//
// API:
//   ReadWholeFile("/real/path")  -> the bytes; RuntimeError 53 when there is no such file,
//                                   75 for a folder, a pipe, a device or a file that cannot be
//                                   opened, 57 when reading fails, 7 when the file is larger
//                                   than kMaxDataFileBytes (or `maxBytes`)
//   WriteFileAtomically("/real/path", bytes) -> false on any failure, the target unchanged
//   RemoveStaleTemporaries("/real/path")     -> deletes what interrupted writes left behind
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/error_numbers.h"

namespace sl {

// No data file of a game comes near this; a larger one is broken or hostile.
constexpr std::size_t kMaxDataFileBytes = std::size_t{64} << 20;

// Reads a regular file whole. Never blocks on a pipe or a device: those are refused.
std::string ReadWholeFile(const std::string& realPath, std::size_t maxBytes = kMaxDataFileBytes);

// A temporary file in the same folder, flushed to disk, renamed over the target, then the
// folder flushed too. A target that is a symbolic link is written through: the file it leads
// to is replaced and the link stays.
bool WriteFileAtomically(const std::string& realPath, std::string_view bytes);

// Deletes the temporary files that writes of `realPath` interrupted by a crash or a kill left
// in its folder, once they are older than a write could take.
void RemoveStaleTemporaries(const std::string& realPath);

}  // namespace sl

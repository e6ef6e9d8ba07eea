// Whole-file reading and all-or-nothing writing of real (already resolved) paths.
//
// API:
//   ReadWholeFile("/real/path")  -> the bytes; RuntimeError 53 when there is no such file,
//                                   75 for a folder or a file that cannot be opened, 57 when
//                                   reading fails, 7 when the file is too large to hold
//   WriteFileAtomically("/real/path", bytes) -> false on any failure, the target unchanged
#pragma once

#include <string>
#include <string_view>

namespace sl {

std::string ReadWholeFile(const std::string& realPath);

// A temporary file in the same folder, flushed to disk, then renamed over the target.
bool WriteFileAtomically(const std::string& realPath, std::string_view bytes);

}  // namespace sl

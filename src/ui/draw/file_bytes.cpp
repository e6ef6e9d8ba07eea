// Whole-file reading and writing for pictures and PNG files.
#include "ui/draw/file_bytes.h"

#include <cstdio>
#include <memory>

#include "core/runtime_error.h"

namespace sl::draw::detail {

namespace {
struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;
}  // namespace

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) throw RuntimeError(kErrFileNotFound);
  File f(std::fopen(path.c_str(), "rb"));
  if (!f) throw RuntimeError(kErrPathFileAccess);
  std::vector<std::uint8_t> bytes;
  std::uint8_t buffer[65536];
  for (;;) {
    std::size_t n = std::fread(buffer, 1, sizeof buffer, f.get());
    bytes.insert(bytes.end(), buffer, buffer + n);
    if (n < sizeof buffer) break;
  }
  if (std::ferror(f.get())) throw RuntimeError(kErrPathFileAccess);
  return bytes;
}

void WriteFileBytes(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size) {
  File f(std::fopen(path.c_str(), "wb"));
  if (!f) throw RuntimeError(kErrPathFileAccess);
  bool ok = std::fwrite(data, 1, size, f.get()) == size;
  ok = std::fclose(f.release()) == 0 && ok;
  if (!ok) throw RuntimeError(kErrPathFileAccess);
}

}  // namespace sl::draw::detail

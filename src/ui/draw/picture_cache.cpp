// PictureCache: entries keyed by the absolute, normalised path, checked against the file's
// size and modification time on every load.
#include "ui/draw/picture_cache.h"

#include "core/runtime_error.h"

namespace sl::draw {

std::string PictureCache::Key(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ec);
  if (ec) resolved = std::filesystem::absolute(path, ec).lexically_normal();
  return resolved.string();
}

Picture PictureCache::Load(const std::filesystem::path& path) {
  std::string key = Key(path);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    entries_.erase(key);
    throw RuntimeError(53);
  }
  std::uintmax_t size = std::filesystem::file_size(path, ec);
  auto modified = std::filesystem::last_write_time(path, ec);
  auto found = entries_.find(key);
  if (found != entries_.end() && found->second.fileSize == size &&
      found->second.modified == modified) {
    return found->second.picture;
  }
  Picture picture = LoadPictureFile(path);
  entries_[key] = Entry{picture, size, modified};
  return picture;
}

void PictureCache::Invalidate(const std::filesystem::path& path) {
  entries_.erase(Key(path));
}

}  // namespace sl::draw

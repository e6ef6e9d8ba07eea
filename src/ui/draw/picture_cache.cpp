// PictureCache: entries keyed by the absolute, normalised path, checked against the file's
// size and modification time on every load, kept in order of use within a byte budget.
#include "ui/draw/picture_cache.h"

#include "core/runtime_error.h"

namespace sl::draw {

namespace {}  // namespace

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
    Erase(key);
    throw RuntimeError(kErrFileNotFound);
  }
  std::uintmax_t size = std::filesystem::file_size(path, ec);
  auto modified = std::filesystem::last_write_time(path, ec);
  auto found = entries_.find(key);
  if (found != entries_.end()) {
    Entry& entry = found->second;
    if (entry.fileSize == size && entry.modified == modified) {
      recent_.splice(recent_.begin(), recent_, entry.recent);
      if (entry.picture.IsNone()) throw RuntimeError(kErrInvalidPicture);
      return entry.picture;
    }
    Erase(key);
  }
  Entry entry{Picture(), size, modified, 0, {}};
  try {
    entry.picture = LoadPictureFile(path);
  } catch (const RuntimeError& e) {
    if (e.Number() == kErrInvalidPicture) Keep(key, std::move(entry));
    throw;
  }
  Picture picture = entry.picture;
  entry.bytes = picture.ByteSize();
  if (entry.bytes <= budget_) Keep(key, std::move(entry));
  return picture;
}

void PictureCache::Keep(const std::string& key, Entry entry) {
  while (bytes_ + entry.bytes > budget_ && !recent_.empty())
    Erase(std::string(recent_.back()));
  recent_.push_front(key);
  entry.recent = recent_.begin();
  bytes_ += entry.bytes;
  entries_.emplace(key, std::move(entry));
}

void PictureCache::Erase(const std::string& key) {
  auto found = entries_.find(key);
  if (found == entries_.end()) return;
  bytes_ -= found->second.bytes;
  recent_.erase(found->second.recent);
  entries_.erase(found);
}

void PictureCache::Invalidate(const std::filesystem::path& path) {
  Erase(Key(path));
}

void PictureCache::Clear() {
  entries_.clear();
  recent_.clear();
  bytes_ = 0;
}

}  // namespace sl::draw

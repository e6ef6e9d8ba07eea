// PictureCache: decoded pictures by resolved file path, so that a picture used by many controls
// or frames is decoded once. An entry is dropped when the program writes its file
// (Invalidate), and is re-read anyway when the file's size or modification time changed.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <unordered_map>

#include "ui/draw/picture.h"

namespace sl::draw {

class PictureCache {
 public:
  // Loads through the cache. Errors as LoadPictureFile (53, 481, 75); failures are not cached.
  Picture Load(const std::filesystem::path& path);
  // Forgets the entry of `path` (call after writing that file).
  void Invalidate(const std::filesystem::path& path);
  void Clear() { entries_.clear(); }
  std::size_t Count() const { return entries_.size(); }

 private:
  struct Entry {
    Picture picture;
    std::uintmax_t fileSize = 0;
    std::filesystem::file_time_type modified;
  };
  static std::string Key(const std::filesystem::path& path);

  std::unordered_map<std::string, Entry> entries_;
};

}  // namespace sl::draw

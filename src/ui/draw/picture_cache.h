// PictureCache: decoded pictures by resolved file path, so that a picture used by many controls
// or frames is decoded once. An entry is dropped when the program writes its file
// (Invalidate), and is re-read anyway when the file's size or modification time changed.
//
// The cache holds at most a budget of decoded bytes: the least recently used pictures leave it
// first, and a picture larger than the whole budget is handed out without being kept. Pictures
// in use stay alive with their users (Picture is shared). A file that is not a valid picture is
// remembered as such until it changes, so a file whose decoding is stopped by a limit costs
// that wait once, not at every use.
#pragma once

#include <cstddef>
#include <filesystem>
#include <list>
#include <string>
#include <unordered_map>

#include "ui/draw/picture.h"

namespace sl::draw {

class PictureCache {
 public:
  static constexpr std::size_t kDefaultBudgetBytes = std::size_t{256} << 20;

  explicit PictureCache(std::size_t budgetBytes = kDefaultBudgetBytes) : budget_(budgetBytes) {}

  // Loads through the cache. Errors as LoadPictureFile (53, 481, 75); only 481 is remembered.
  Picture Load(const std::filesystem::path& path);
  // Forgets the entry of `path` (call after writing that file).
  void Invalidate(const std::filesystem::path& path);
  void Clear();
  std::size_t Count() const { return entries_.size(); }
  // Decoded bytes held (Picture::ByteSize of every kept picture).
  std::size_t Bytes() const { return bytes_; }

 private:
  struct Entry {
    Picture picture;  // none when the file is not a valid picture
    std::uintmax_t fileSize = 0;
    std::filesystem::file_time_type modified;
    std::size_t bytes = 0;
    std::list<std::string>::iterator recent;
  };
  static std::string Key(const std::filesystem::path& path);
  void Erase(const std::string& key);
  void Keep(const std::string& key, Entry entry);

  std::size_t budget_;
  std::size_t bytes_ = 0;
  std::unordered_map<std::string, Entry> entries_;
  std::list<std::string> recent_;  // most recently used first
};

}  // namespace sl::draw

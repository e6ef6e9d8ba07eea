// A cache of folder listings, so that case-insensitive name lookups, existence tests and
// wildcard listings do not go to the file system every time. A folder is listed once, on first
// use; the program's own writes and deletes keep it current (NoteFileWritten/NoteFileDeleted),
// which PathResolver does for every file it writes or deletes. Changes made by other programs
// while the player runs are seen only after Invalidate().
//
// API:
//   const DirectoryCache::Listing& l = cache.Get("/real/folder");
//   l.readable; l.FindExact("Pic.JPG"); l.FindFolded(FoldCase("pic.jpg")); l.entries
//   entry.kind (file, folder or anything else), entry.isLink (a symbolic link, kind of its target)
//   cache.NoteFileWritten("/real/folder/new.sav"); cache.NoteFileDeleted(...);
//   cache.Invalidate("/real/folder"); cache.Clear();
// Real paths are absolute, '/'-separated, without a trailing '/' (except the root "/").
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace sl {

// What a folder entry is (for a symbolic link: what it leads to). Devices, pipes, sockets and
// links that lead nowhere are Other: never something a game may read or write.
enum class EntryKind { File, Folder, Other };

class DirectoryCache {
 public:
  struct Entry {
    std::string name;
    std::string folded;
    EntryKind kind = EntryKind::File;
    bool isLink = false;
    bool IsFolder() const { return kind == EntryKind::Folder; }
  };

  struct StringHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const noexcept {
      return std::hash<std::string_view>{}(s);
    }
  };
  template <class V>
  using StringMap = std::unordered_map<std::string, V, StringHash, std::equal_to<>>;

  class Listing {
   public:
    bool readable = false;     // false when the folder does not exist or cannot be listed
    StringMap<Entry> entries;  // by exact name

    const Entry* FindExact(std::string_view name) const;
    // The entry whose folded name is `folded`; of several, the first in sorted order.
    const Entry* FindFolded(std::string_view folded) const;

    void Add(std::string name, EntryKind kind, bool isLink = false);
    void Remove(std::string_view name);

   private:
    StringMap<std::string> byFolded_;  // folded name -> exact name
  };

  const Listing& Get(const std::string& realFolder);
  void NoteFileWritten(const std::string& realPath, EntryKind kind = EntryKind::File);
  void NoteFileDeleted(const std::string& realPath);
  void Invalidate(const std::string& realFolder);
  void Clear() { folders_.clear(); }

  // "/a/b/c" -> "/a/b" and "c"; "/c" -> "/" and "c".
  static void SplitPath(std::string_view realPath, std::string_view& folder,
                        std::string_view& name);

 private:
  static Listing Load(const std::string& realFolder);

  StringMap<Listing> folders_;
};

}  // namespace sl

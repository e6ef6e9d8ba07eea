// Folder listings for the path resolver.
#include "core/directory_cache.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstring>

#include "core/case_fold.h"

namespace sl {

const DirectoryCache::Entry* DirectoryCache::Listing::FindExact(std::string_view name) const {
  auto it = entries.find(name);
  return it == entries.end() ? nullptr : &it->second;
}

const DirectoryCache::Entry* DirectoryCache::Listing::FindFolded(std::string_view folded) const {
  auto it = byFolded_.find(folded);
  return it == byFolded_.end() ? nullptr : FindExact(it->second);
}

namespace {

EntryKind KindOfMode(mode_t mode) {
  if (S_ISREG(mode)) return EntryKind::File;
  if (S_ISDIR(mode)) return EntryKind::Folder;
  return EntryKind::Other;
}

EntryKind KindOfType(unsigned char type) {
  switch (type) {
    case DT_REG:
      return EntryKind::File;
    case DT_DIR:
      return EntryKind::Folder;
    default:
      return EntryKind::Other;
  }
}

}  // namespace

void DirectoryCache::Listing::Add(std::string name, EntryKind kind, bool isLink) {
  std::string folded = FoldCase(name);
  auto [slot, inserted] = byFolded_.try_emplace(folded, name);
  if (!inserted && name < slot->second) slot->second = name;
  Entry& e = entries[name];
  e.name = std::move(name);
  e.folded = std::move(folded);
  e.kind = kind;
  e.isLink = isLink;
}

void DirectoryCache::Listing::Remove(std::string_view name) {
  auto it = entries.find(name);
  if (it == entries.end()) return;
  std::string folded = std::move(it->second.folded);
  entries.erase(it);
  auto f = byFolded_.find(folded);
  if (f == byFolded_.end() || f->second != name) return;
  // Another name may differ only in case: it takes the place.
  const Entry* next = nullptr;
  for (const auto& [key, e] : entries) {
    if (e.folded == folded && (!next || e.name < next->name)) next = &e;
  }
  if (next) {
    f->second = next->name;
  } else {
    byFolded_.erase(f);
  }
}

const DirectoryCache::Listing& DirectoryCache::Get(const std::string& realFolder) {
  auto it = folders_.find(realFolder);
  if (it != folders_.end()) return it->second;
  // A folder that cannot be listed is tried again next time: a CD may be inserted meanwhile.
  static const Listing kUnreadable;
  Listing listing = Load(realFolder);
  if (!listing.readable) return kUnreadable;
  return folders_.emplace(realFolder, std::move(listing)).first->second;
}

DirectoryCache::Listing DirectoryCache::Load(const std::string& realFolder) {
  Listing listing;
  DIR* dir = opendir(realFolder.c_str());
  if (!dir) return listing;
  listing.readable = true;
  std::string prefix = realFolder == "/" ? "/" : realFolder + "/";
  while (dirent* d = readdir(dir)) {
    if (std::strcmp(d->d_name, ".") == 0 || std::strcmp(d->d_name, "..") == 0) continue;
    EntryKind kind = KindOfType(d->d_type);
    bool isLink = d->d_type == DT_LNK;
    if (d->d_type == DT_UNKNOWN || isLink) {
      // The file system does not say, or a link: ask about the entry, then what it leads to.
      std::string path = prefix + d->d_name;
      struct stat st {};
      if (!isLink && lstat(path.c_str(), &st) == 0) isLink = S_ISLNK(st.st_mode);
      kind = stat(path.c_str(), &st) == 0 ? KindOfMode(st.st_mode) : EntryKind::Other;
    }
    listing.Add(d->d_name, kind, isLink);
  }
  closedir(dir);
  return listing;
}

void DirectoryCache::SplitPath(std::string_view realPath, std::string_view& folder,
                               std::string_view& name) {
  std::size_t slash = realPath.rfind('/');
  if (slash == std::string_view::npos) {
    folder = {};
    name = realPath;
    return;
  }
  folder = slash == 0 ? realPath.substr(0, 1) : realPath.substr(0, slash);
  name = realPath.substr(slash + 1);
}

void DirectoryCache::NoteFileWritten(const std::string& realPath, EntryKind kind) {
  std::string_view folder, name;
  SplitPath(realPath, folder, name);
  auto it = folders_.find(folder);
  if (it == folders_.end()) return;  // listed on first use
  if (!it->second.readable) {
    folders_.erase(it);  // the folder exists now
    return;
  }
  // A file written through a link leaves the link in place.
  const Entry* old = it->second.FindExact(name);
  it->second.Add(std::string(name), kind, old && old->isLink);
}

void DirectoryCache::NoteFileDeleted(const std::string& realPath) {
  std::string_view folder, name;
  SplitPath(realPath, folder, name);
  auto it = folders_.find(folder);
  if (it != folders_.end()) it->second.Remove(name);
  // A deleted folder's own listing is gone too.
  auto sub = folders_.find(realPath);
  if (sub != folders_.end()) folders_.erase(sub);
}

void DirectoryCache::Invalidate(const std::string& realFolder) {
  folders_.erase(realFolder);
}

}  // namespace sl

// Resolution of Windows-style project file names on a case-sensitive file system.
#include "core/path_resolver.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "core/case_fold.h"
#include "core/file_io.h"
#include "core/runtime_error.h"
#include "core/wildcard.h"

namespace sl {

namespace {

bool IsSeparator(char c) {
  return c == '/' || c == '\\';
}

void AppendComponent(std::string& path, std::string_view name) {
  if (path.empty() || path.back() != '/') path.push_back('/');
  path.append(name);
}

bool StatIsDirectory(const std::string& realPath, bool& isDirectory) {
  struct stat st {};
  if (stat(realPath.c_str(), &st) != 0) return false;
  isDirectory = S_ISDIR(st.st_mode);
  return true;
}

// Whether `path` is `folder` or lies below it (both absolute and normalized).
bool IsWithin(std::string_view path, std::string_view folder) {
  if (folder == "/") return !path.empty() && path[0] == '/';
  return path.starts_with(folder) && (path.size() == folder.size() || path[folder.size()] == '/');
}

std::optional<std::string> RealLocation(const std::string& path) {
  char* real = realpath(path.c_str(), nullptr);
  if (!real) return std::nullopt;
  std::string out(real);
  std::free(real);
  return out;
}

}  // namespace

void PathResolver::SetProjectFolder(std::string_view folder) {
  std::string base = folder.empty() ? std::string(".") : std::string(folder);
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(std::filesystem::path(base), ec);
  std::string old = std::move(projectFolder_);
  projectFolder_.clear();
  projectFolder_ = Normalize(p.lexically_normal().string());
  // The project folder comes first; the old one (the first root) and any copy of the new one
  // give way, the other roots keep their order.
  std::vector<std::string> roots;
  roots.reserve(roots_.size() + 1);
  roots.push_back(projectFolder_);
  for (std::size_t i = 0; i < roots_.size(); ++i) {
    if (i == 0 && roots_[i] == old) continue;
    if (roots_[i] != projectFolder_) roots.push_back(std::move(roots_[i]));
  }
  roots_ = std::move(roots);
}

void PathResolver::AddRoot(std::string_view folder) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(std::filesystem::path(folder), ec);
  std::string root = Normalize(p.lexically_normal().string());
  if (std::find(roots_.begin(), roots_.end(), root) == roots_.end()) roots_.push_back(root);
}

const std::string* PathResolver::RootOf(std::string_view normalized) const {
  for (const std::string& root : roots_)
    if (IsWithin(normalized, root)) return &root;
  return nullptr;
}

bool PathResolver::LeadsInside(const std::string& realPath) const {
  std::optional<std::string> target = RealLocation(realPath);
  if (!target) return false;  // a link that leads nowhere leads nowhere allowed
  for (const std::string& root : roots_) {
    if (IsWithin(*target, root)) return true;
    std::optional<std::string> realRoot = RealLocation(root);
    if (realRoot && IsWithin(*target, *realRoot)) return true;
  }
  return false;
}

std::string PathResolver::Normalize(std::string_view path) const {
  std::string out;
  std::size_t i = 0;
  if (!path.empty() && IsSeparator(path[0])) {
    out.assign(1, '/');
  } else if (!projectFolder_.empty()) {
    out = projectFolder_;
  } else {
    std::error_code ec;
    out = std::filesystem::current_path(ec).string();
    if (out.empty()) out.assign(1, '/');
  }
  out.reserve(out.size() + path.size() + 1);
  while (i < path.size()) {
    while (i < path.size() && IsSeparator(path[i]))
      ++i;
    std::size_t start = i;
    while (i < path.size() && !IsSeparator(path[i]))
      ++i;
    std::string_view part = path.substr(start, i - start);
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      std::size_t slash = out.rfind('/');
      out.resize(slash == 0 || slash == std::string::npos ? 1 : slash);
      continue;
    }
    AppendComponent(out, part);
  }
  return out;
}

std::string PathResolver::RelativeToProject(std::string_view realPath) const {
  const std::string& base = projectFolder_;
  if (base.empty() || realPath.size() <= base.size() || !IsWithin(realPath, base)) {
    return std::string(realPath);
  }
  return std::string(realPath.substr(base == "/" ? 1 : base.size() + 1));
}

PathResolver::Resolved PathResolver::Resolve(std::string_view path, Tail missingTail) {
  std::string norm = Normalize(path);
  Resolved r;
  const std::string* root = RootOf(norm);
  if (!root) {
    r.outcome = Outcome::Refused;
    return r;
  }
  r.path = *root;
  r.isDirectory = true;
  std::size_t i = root->size();
  bool unverified = false;  // a folder on the way could not be listed
  while (i < norm.size()) {
    while (i < norm.size() && norm[i] == '/')
      ++i;
    if (i >= norm.size()) break;
    std::size_t start = i;
    while (i < norm.size() && norm[i] != '/')
      ++i;
    std::string_view part(norm.data() + start, i - start);
    const DirectoryCache::Listing& listing = cache_.Get(r.path);
    const DirectoryCache::Entry* e = nullptr;
    if (listing.readable) {
      e = listing.FindExact(part);
      if (!e) {
        FoldCaseInto(part, folded_);
        e = listing.FindFolded(folded_);
      }
      if (!e) {
        if (missingTail == Tail::Keep)
          AppendComponent(r.path, std::string_view(norm).substr(start));
        r.outcome = Outcome::Missing;
        return r;
      }
    } else {
      unverified = true;
    }
    AppendComponent(r.path, e ? std::string_view(e->name) : part);
    if (!e) continue;
    if (e->kind == EntryKind::Other || (e->isLink && !LeadsInside(r.path))) {
      r.outcome = Outcome::Refused;
      return r;
    }
    r.isDirectory = e->IsFolder();
  }
  if (unverified) {
    // Components that could not be listed: the file system tells what the place is and where
    // it really lies.
    struct stat st {};
    if (stat(r.path.c_str(), &st) != 0) return r;  // missing
    if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
      r.outcome = Outcome::Refused;
      return r;
    }
    if (!LeadsInside(r.path)) {
      r.outcome = Outcome::Refused;
      return r;
    }
    r.isDirectory = S_ISDIR(st.st_mode);
  }
  r.outcome = Outcome::Found;
  return r;
}

bool PathResolver::Contains(std::string_view path) {
  return Resolve(path, Tail::Keep).outcome != Outcome::Refused;
}

std::optional<std::string> PathResolver::Find(std::string_view path) {
  Resolved r = Resolve(path, Tail::Drop);
  if (r.outcome != Outcome::Found) return std::nullopt;
  return std::move(r.path);
}

std::optional<std::string> PathResolver::ResolveForWrite(std::string_view path) {
  Resolved r = Resolve(path, Tail::Keep);
  if (r.outcome == Outcome::Refused) return std::nullopt;
  return std::move(r.path);
}

bool PathResolver::FileExists(std::string_view path) {
  Resolved r = Resolve(path, Tail::Drop);
  return r.outcome == Outcome::Found && !r.isDirectory;
}

bool PathResolver::FolderExists(std::string_view path) {
  Resolved r = Resolve(path, Tail::Drop);
  return r.outcome == Outcome::Found && r.isDirectory;
}

std::vector<std::string> PathResolver::ListFiles(std::string_view pattern) {
  std::vector<std::string> names;
  std::size_t cut = pattern.find_last_of("/\\");
  std::string_view folder =
      cut == std::string_view::npos ? std::string_view() : pattern.substr(0, cut + 1);
  std::string_view namePattern = cut == std::string_view::npos ? pattern : pattern.substr(cut + 1);
  if (namePattern.empty()) return names;
  Resolved dir = Resolve(folder, Tail::Drop);
  if (dir.outcome != Outcome::Found || !dir.isDirectory) return names;
  const DirectoryCache::Listing& listing = cache_.Get(dir.path);
  std::string foldedPattern = FoldCase(namePattern);
  std::vector<const DirectoryCache::Entry*> hits;
  for (const auto& [name, e] : listing.entries) {
    if (e.kind != EntryKind::File || !WildcardMatchFolded(foldedPattern, e.folded)) continue;
    if (e.isLink && !LeadsInside(dir.path + (dir.path == "/" ? "" : "/") + e.name)) continue;
    hits.push_back(&e);
  }
  std::sort(hits.begin(), hits.end(), [](const auto* a, const auto* b) {
    return a->folded != b->folded ? a->folded < b->folded : a->name < b->name;
  });
  names.reserve(hits.size());
  for (const auto* e : hits)
    names.push_back(e->name);
  return names;
}

std::string PathResolver::ReadFile(std::string_view path) {
  Resolved r = Resolve(path, Tail::Drop);
  if (r.outcome != Outcome::Found || r.isDirectory) throw RuntimeError(kErrFileNotFound);
  return ReadWholeFile(r.path);
}

void PathResolver::WriteFile(std::string_view path, std::string_view bytes) {
  Resolved r = Resolve(path, Tail::Keep);
  if (r.outcome == Outcome::Refused) throw RuntimeError(kErrPathFileAccess);
  const std::string& real = r.path;
  if (!WriteFileAtomically(real, bytes)) {
    std::string_view folder, name;
    DirectoryCache::SplitPath(real, folder, name);
    bool isDirectory = false;
    bool folderExists = StatIsDirectory(std::string(folder), isDirectory) && isDirectory;
    throw RuntimeError(folderExists ? kErrPathFileAccess : kErrPathNotFound);
  }
  cache_.NoteFileWritten(real);
  if (observer_) observer_(FileOperation::Write, real);
}

bool PathResolver::DeleteFile(std::string_view path) {
  Resolved r = Resolve(path, Tail::Drop);
  if (r.outcome != Outcome::Found || r.isDirectory) return false;
  if (unlink(r.path.c_str()) != 0) return false;
  cache_.NoteFileDeleted(r.path);
  if (observer_) observer_(FileOperation::Delete, r.path);
  return true;
}

}  // namespace sl

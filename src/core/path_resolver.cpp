// Resolution of Windows-style project file names on a case-sensitive file system.
#include "core/path_resolver.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
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

}  // namespace

void PathResolver::SetProjectFolder(std::string_view folder) {
  std::string base = folder.empty() ? std::string(".") : std::string(folder);
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(std::filesystem::path(base), ec);
  projectFolder_.clear();
  projectFolder_ = Normalize(p.lexically_normal().string());
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
  if (base.empty() || realPath.size() <= base.size() || realPath.compare(0, base.size(), base)) {
    return std::string(realPath);
  }
  if (base == "/") return std::string(realPath.substr(1));
  if (realPath[base.size()] != '/') return std::string(realPath);
  return std::string(realPath.substr(base.size() + 1));
}

PathResolver::Resolved PathResolver::Resolve(std::string_view path, bool keepMissingTail) {
  std::string norm = Normalize(path);
  Resolved r;
  std::size_t i = 0;
  const std::string& base = projectFolder_;
  if (!base.empty() && norm.compare(0, base.size(), base) == 0 &&
      (norm.size() == base.size() || norm[base.size()] == '/' || base == "/")) {
    r.path = base;
    i = base.size();
  } else {
    r.path.assign(1, '/');
  }
  r.isDirectory = true;
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
    } else {
      unverified = true;
    }
    if (!e && listing.readable) {
      if (keepMissingTail) AppendComponent(r.path, std::string_view(norm).substr(start));
      return r;  // not found
    }
    AppendComponent(r.path, e ? std::string_view(e->name) : part);
    if (e) r.isDirectory = e->isDirectory;
  }
  r.found = unverified ? StatIsDirectory(r.path, r.isDirectory) : true;
  return r;
}

std::optional<std::string> PathResolver::Find(std::string_view path) {
  Resolved r = Resolve(path, false);
  if (!r.found) return std::nullopt;
  return std::move(r.path);
}

std::string PathResolver::ResolveForWrite(std::string_view path) {
  return Resolve(path, true).path;
}

bool PathResolver::FileExists(std::string_view path) {
  Resolved r = Resolve(path, false);
  return r.found && !r.isDirectory;
}

bool PathResolver::FolderExists(std::string_view path) {
  Resolved r = Resolve(path, false);
  return r.found && r.isDirectory;
}

std::vector<std::string> PathResolver::ListFiles(std::string_view pattern) {
  std::vector<std::string> names;
  std::size_t cut = pattern.find_last_of("/\\");
  std::string_view folder =
      cut == std::string_view::npos ? std::string_view() : pattern.substr(0, cut + 1);
  std::string_view namePattern = cut == std::string_view::npos ? pattern : pattern.substr(cut + 1);
  if (namePattern.empty()) return names;
  Resolved dir = Resolve(folder, false);
  if (!dir.found || !dir.isDirectory) return names;
  const DirectoryCache::Listing& listing = cache_.Get(dir.path);
  std::string foldedPattern = FoldCase(namePattern);
  std::vector<const DirectoryCache::Entry*> hits;
  for (const auto& [name, e] : listing.entries) {
    if (!e.isDirectory && WildcardMatchFolded(foldedPattern, e.folded)) hits.push_back(&e);
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
  Resolved r = Resolve(path, false);
  if (!r.found || r.isDirectory) throw RuntimeError(53);
  return ReadWholeFile(r.path);
}

void PathResolver::WriteFile(std::string_view path, std::string_view bytes) {
  std::string real = ResolveForWrite(path);
  if (!WriteFileAtomically(real, bytes)) {
    std::string_view folder, name;
    DirectoryCache::SplitPath(real, folder, name);
    bool isDirectory = false;
    bool folderExists = StatIsDirectory(std::string(folder), isDirectory) && isDirectory;
    throw RuntimeError(folderExists ? 75 : 76);
  }
  cache_.NoteFileWritten(real);
  if (observer_) observer_(FileOperation::Write, real);
}

bool PathResolver::DeleteFile(std::string_view path) {
  Resolved r = Resolve(path, false);
  if (!r.found || r.isDirectory) return false;
  if (unlink(r.path.c_str()) != 0) return false;
  cache_.NoteFileDeleted(r.path);
  if (observer_) observer_(FileOperation::Delete, r.path);
  return true;
}

}  // namespace sl

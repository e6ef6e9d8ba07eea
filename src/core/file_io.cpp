// Reading and writing whole files.
#include "core/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <new>
#include <utility>
#include <vector>

#include "core/runtime_error.h"

namespace sl {

namespace {

// Links followed at most when a write goes through a chain of links (as the kernel's limit).
constexpr int kMaxLinkDepth = 40;
// The random part mkstemp gives a temporary file's name.
constexpr std::string_view kTemporarySuffix = ".XXXXXX";

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

void SplitFolder(const std::string& path, std::string& folder, std::string& name) {
  std::size_t slash = path.rfind('/');
  folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  name = slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a chain of symbolic links ends at (which may not exist yet); the path itself when
// it is no link; empty for a loop.
std::string FollowLinks(std::string path) {
  for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::string target(static_cast<std::size_t>(PATH_MAX), '\0');
    ssize_t n = readlink(path.c_str(), target.data(), target.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= target.size()) return {};
    target.resize(static_cast<std::size_t>(n));
    if (target.front() != '/') {
      std::string folder, name;
      SplitFolder(path, folder, name);
      target = (folder == "/" ? folder : folder + "/") + target;
    }
    path = std::move(target);
  }
  return {};
}

// The temporary file of a write of `name`: "." + name + ".XXXXXX".
bool IsTemporaryOf(std::string_view entry, std::string_view name) {
  std::size_t prefix = name.size() + 2;
  if (entry.size() != prefix + kTemporarySuffix.size() - 1 || entry[0] != '.' ||
      entry.substr(1, name.size()) != name || entry[prefix - 1] != '.')
    return false;
  return std::all_of(entry.begin() + static_cast<std::ptrdiff_t>(prefix), entry.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

// Flushes a folder's entries (a rename in it) to disk. File systems that cannot flush folders
// refuse; the rename has then been as durable as they make it.
void SyncFolder(const std::string& folder) {
  FileDescriptor fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() >= 0) fsync(fd.get());
}

}  // namespace

std::string ReadWholeFile(const std::string& realPath, std::size_t maxBytes) {
  // Non-blocking, so that opening a pipe returns at once (and is then refused below).
  FileDescriptor fd(open(realPath.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (fd.get() < 0) {
    throw RuntimeError(errno == ENOENT || errno == ENOTDIR ? kErrFileNotFound : kErrPathFileAccess);
  }
  struct stat st {};
  if (fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) throw RuntimeError(kErrPathFileAccess);
  if (st.st_size < 0 || static_cast<std::uintmax_t>(st.st_size) > maxBytes)
    throw RuntimeError(kErrOutOfMemory);
  std::string bytes;
  try {
    bytes.reserve(static_cast<std::size_t>(st.st_size));
  } catch (const std::bad_alloc&) {
    throw RuntimeError(kErrOutOfMemory);
  }
  char chunk[65536];
  for (;;) {
    ssize_t n = read(fd.get(), chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw RuntimeError(kErrDeviceIo);
    if (n == 0) break;
    bytes.append(chunk, static_cast<std::size_t>(n));
    if (bytes.size() > maxBytes) throw RuntimeError(kErrOutOfMemory);  // it grew meanwhile
  }
  return bytes;
}

bool WriteFileAtomically(const std::string& realPath, std::string_view bytes) {
  std::string target = FollowLinks(realPath);
  if (target.empty()) return false;
  std::string folder, name;
  SplitFolder(target, folder, name);
  if (name.empty()) return false;
  RemoveStaleTemporaries(target);
  std::string temp = folder + "/." + name + std::string(kTemporarySuffix);
  FileDescriptor fd(mkstemp(temp.data()));
  if (fd.get() < 0) return false;
  // Held until the rename: a temporary nobody holds is one a killed write left behind.
  bool ok = flock(fd.get(), LOCK_EX) == 0;
  struct stat old {};
  mode_t mode = stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  ok = ok && fchmod(fd.get(), mode) == 0;
  std::size_t done = 0;
  while (ok && done < bytes.size()) {
    ssize_t n = write(fd.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
    } else {
      done += static_cast<std::size_t>(n);
    }
  }
  ok = ok && fsync(fd.get()) == 0;
  bool renamed = ok && std::rename(temp.c_str(), target.c_str()) == 0;
  close(fd.release());  // everything is on disk already; this ends the hold
  if (!renamed) {
    unlink(temp.c_str());
    return false;
  }
  SyncFolder(folder);
  return true;
}

void RemoveStaleTemporaries(const std::string& realPath) {
  std::string target = FollowLinks(realPath);
  if (target.empty()) return;
  std::string folder, name;
  SplitFolder(target, folder, name);
  DIR* dir = opendir(folder.c_str());
  if (!dir) return;
  std::vector<std::string> stale;
  while (dirent* d = readdir(dir)) {
    if (IsTemporaryOf(d->d_name, name))
      stale.push_back((folder == "/" ? "" : folder) + "/" + d->d_name);
  }
  closedir(dir);
  for (const std::string& path : stale) {
    // One that another write still holds is in use; one nobody holds was left behind.
    FileDescriptor fd(open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (fd.get() < 0 || fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    if (flock(fd.get(), LOCK_EX | LOCK_NB) == 0) unlink(path.c_str());
  }
}

}  // namespace sl

// Reading and writing whole files.
#include "core/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <new>

#include "core/runtime_error.h"

namespace sl {

namespace {

constexpr off_t kMaxFileSize = off_t{1} << 31;  // nothing in a project comes near this

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

std::string ReadWholeFile(const std::string& realPath) {
  FileDescriptor fd(open(realPath.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) throw RuntimeError(errno == ENOENT || errno == ENOTDIR ? 53 : 75);
  struct stat st {};
  if (fstat(fd.get(), &st) != 0 || S_ISDIR(st.st_mode)) throw RuntimeError(75);
  if (st.st_size > kMaxFileSize) throw RuntimeError(7);
  std::string bytes;
  try {
    bytes.reserve(S_ISREG(st.st_mode) ? static_cast<std::size_t>(st.st_size) : 0);
  } catch (const std::bad_alloc&) {
    throw RuntimeError(7);
  }
  char chunk[65536];
  for (;;) {
    ssize_t n = read(fd.get(), chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw RuntimeError(57);
    if (n == 0) break;
    bytes.append(chunk, static_cast<std::size_t>(n));
    if (bytes.size() > static_cast<std::size_t>(kMaxFileSize)) throw RuntimeError(7);
  }
  return bytes;
}

bool WriteFileAtomically(const std::string& realPath, std::string_view bytes) {
  std::size_t slash = realPath.rfind('/');
  std::string folder = slash == std::string::npos ? "." : realPath.substr(0, slash);
  std::string name = slash == std::string::npos ? realPath : realPath.substr(slash + 1);
  if (name.empty()) return false;
  std::string temp = folder + "/." + name + ".XXXXXX";
  int fd = mkstemp(temp.data());
  if (fd < 0) return false;
  bool ok = fchmod(fd, 0644) == 0;
  std::size_t done = 0;
  while (ok && done < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
    } else {
      done += static_cast<std::size_t>(n);
    }
  }
  ok = ok && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  ok = ok && std::rename(temp.c_str(), realPath.c_str()) == 0;
  if (!ok) unlink(temp.c_str());
  return ok;
}

}  // namespace sl

// DecodeInChildProcess on POSIX systems: fork, limits set in the child (CPU time, address
// space, no core or other files), the picture handed back through a pipe as a header, the
// premultiplied rows and an end mark, read by the parent against a deadline. Anything short of
// a complete, well-formed answer is an invalid picture. Elsewhere the decoder runs in process.
#include "ui/draw/isolated_decode.h"

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <fstream>
#include <optional>

#include "core/runtime_error.h"
#include "ui/draw/picture_limits.h"

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#define SL_CHILD_PROCESSES 1
#endif

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define SL_SANITIZED_ADDRESS_SPACE 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || \
    __has_feature(memory_sanitizer)
#define SL_SANITIZED_ADDRESS_SPACE 1
#endif
#endif

namespace sl::draw::detail {

#ifdef SL_SANITIZED_ADDRESS_SPACE
bool ChildMemoryLimited() {
  return false;
}
#else
bool ChildMemoryLimited() {
  return true;
}
#endif

#ifndef SL_CHILD_PROCESSES

Surface DecodeInChildProcess(const std::function<Surface()>& decode, const ChildProcessLimits&) {
  return decode();
}

#else

namespace {

constexpr std::uint32_t kStartMark = 0x53504943;  // "CIPS"
constexpr std::uint32_t kEndMark = 0x444E4550;    // "PEND"
constexpr int kDecodeFailed = 1;

struct ResultHeader {
  std::uint32_t mark = kStartMark;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

bool WriteAll(int fd, const void* data, std::size_t size) {
  const auto* at = static_cast<const std::uint8_t*>(data);
  while (size > 0) {
    ssize_t n = ::write(fd, at, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    at += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// The address space in use, from /proc where there is one; 0 when unknown.
std::size_t AddressSpaceInUse() {
  std::ifstream statm("/proc/self/statm");
  std::size_t pages = 0;
  if (!(statm >> pages)) return 0;
  return pages * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

void SetLimit(int resource, rlim_t value) {
  rlimit limit{value, value};
  ::setrlimit(resource, &limit);
}

// A fault in the child ends it quietly: handlers the parent installed (a crash reporter, a
// sanitizer's) are not run for the child's faults.
void DefaultFaultHandling() {
  for (int signal : {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT, SIGXCPU, SIGXFSZ, SIGPIPE, SIGTERM})
    std::signal(signal, SIG_DFL);
}

void LimitThisProcess(const ChildProcessLimits& limits) {
  // The soft CPU limit sends SIGXCPU, which ends the process; the hard one a second later
  // sends SIGKILL in case the signal is caught.
  rlimit cpu{static_cast<rlim_t>(limits.cpuSeconds), static_cast<rlim_t>(limits.cpuSeconds + 1)};
  ::setrlimit(RLIMIT_CPU, &cpu);
  SetLimit(RLIMIT_CORE, 0);
  SetLimit(RLIMIT_FSIZE, 0);
  if (ChildMemoryLimited()) {
    std::size_t inUse = AddressSpaceInUse();
    if (inUse > 0) SetLimit(RLIMIT_AS, inUse + limits.extraMemoryBytes);
  }
}

// The child's whole life: decode, hand the picture over, end without running the parent's
// exit handlers or flushing its buffers.
[[noreturn]] void RunChild(int out, const std::function<Surface()>& decode,
                           const ChildProcessLimits& limits) {
  int status = kDecodeFailed;
  try {
    DefaultFaultHandling();
    LimitThisProcess(limits);
    Surface s = decode();
    ResultHeader header{kStartMark, s.Width(), s.Height()};
    bool written = WriteAll(out, &header, sizeof header);
    for (int y = 0; written && y < s.Height(); ++y)
      written = WriteAll(out, s.Row(y), static_cast<std::size_t>(s.Width()) * sizeof(Pixel));
    if (written && WriteAll(out, &kEndMark, sizeof kEndMark)) status = 0;
  } catch (...) {
    // Whatever the decoder threw, the child's one answer is its exit status: the parent reads
    // kDecodeFailed as a picture that does not decode.
  }
  ::_exit(status);
}

// The parent's side of the pipe: reads exactly what is asked for before the deadline.
class ChildOutput {
 public:
  using Clock = std::chrono::steady_clock;
  ChildOutput(int fd, Clock::time_point deadline) : fd_(fd), deadline_(deadline) {}

  bool Read(void* data, std::size_t size) {
    auto* at = static_cast<std::uint8_t*>(data);
    while (size > 0) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now());
      if (left.count() <= 0) return false;
      pollfd p{fd_, POLLIN, 0};
      int ready = ::poll(&p, 1, static_cast<int>(left.count()));
      if (ready < 0 && errno == EINTR) continue;
      if (ready <= 0) return false;
      ssize_t n = ::read(fd_, at, size);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;  // the child ended before handing over everything
      at += n;
      size -= static_cast<std::size_t>(n);
    }
    return true;
  }

 private:
  int fd_;
  Clock::time_point deadline_;
};

// Reads the child's answer; an empty optional when it is incomplete or malformed.
std::optional<Surface> ReadResult(ChildOutput& output) {
  ResultHeader header;
  if (!output.Read(&header, sizeof header) || header.mark != kStartMark) return std::nullopt;
  if (!PictureSizeAcceptable(header.width, header.height)) return std::nullopt;
  Surface s(header.width, header.height);
  for (int y = 0; y < s.Height(); ++y) {
    if (!output.Read(s.MutableRow(y), static_cast<std::size_t>(s.Width()) * sizeof(Pixel)))
      return std::nullopt;
  }
  std::uint32_t end = 0;
  if (!output.Read(&end, sizeof end) || end != kEndMark) return std::nullopt;
  s.UpdateOpacity();
  return s;
}

// Waits for the child until the deadline and stops it if it is still running; it may already
// have been collected if the program ignores SIGCHLD.
void CollectChild(pid_t pid, ChildOutput::Clock::time_point deadline) {
  constexpr auto kPollInterval = std::chrono::milliseconds(1);
  while (ChildOutput::Clock::now() < deadline) {
    int status = 0;
    pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid || (done < 0 && errno != EINTR)) return;
    if (done == 0) ::usleep(static_cast<useconds_t>(kPollInterval.count() * 1000));
  }
  ::kill(pid, SIGKILL);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
}

class Pipe {
 public:
  Pipe() {
    if (::pipe(fds_) != 0) throw RuntimeError(kErrOutOfMemory);
    for (int fd : fds_)
      ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  }
  ~Pipe() {
    CloseRead();
    CloseWrite();
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;
  int ReadEnd() const { return fds_[0]; }
  int WriteEnd() const { return fds_[1]; }
  void CloseRead() { Close(fds_[0]); }
  void CloseWrite() { Close(fds_[1]); }

 private:
  static void Close(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
  int fds_[2] = {-1, -1};
};

}  // namespace

Surface DecodeInChildProcess(const std::function<Surface()>& decode,
                             const ChildProcessLimits& limits) {
  Pipe pipe;
  auto deadline = ChildOutput::Clock::now() + limits.wallTime;
  pid_t pid = ::fork();
  if (pid < 0) throw RuntimeError(kErrOutOfMemory);
  if (pid == 0) {
    pipe.CloseRead();
    RunChild(pipe.WriteEnd(), decode, limits);
  }
  pipe.CloseWrite();
  ChildOutput output(pipe.ReadEnd(), deadline);
  std::optional<Surface> result = ReadResult(output);
  pipe.CloseRead();  // a child still writing gets SIGPIPE
  CollectChild(pid, result ? deadline : ChildOutput::Clock::now());
  if (!result) throw RuntimeError(kErrInvalidPicture);
  return std::move(*result);
}

#endif

}  // namespace sl::draw::detail

// How much memory an operation takes at its peak, measured in a child process so that what the
// test program holds already does not count: for regression tests of inputs that once took
// gigabytes.
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sl::test {

// What a test of such an input allows: far below the gigabytes the inputs once took, and above
// what the sanitizers' own bookkeeping (red zones, the quarantine of freed memory) adds.
constexpr long kModestGrowthMiB = 400;

// Runs `f` in a child process and gives how far the child's peak resident memory grew while
// it ran, in MiB; -1 when the child did not end normally.
template <class F>
long PeakMemoryGrowthMiB(F&& f) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  pid_t child = fork();
  if (child == 0) {
    close(fds[0]);
    rusage before {}, after {};
    getrusage(RUSAGE_SELF, &before);
    f();
    getrusage(RUSAGE_SELF, &after);
    long growth = (after.ru_maxrss - before.ru_maxrss) / 1024;  // ru_maxrss is in KiB
    _exit(write(fds[1], &growth, sizeof growth) == sizeof growth ? 0 : 1);
  }
  close(fds[1]);
  long growth = -1;
  if (read(fds[0], &growth, sizeof growth) != sizeof growth) growth = -1;
  close(fds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? growth : -1;
}

}  // namespace sl::test

// The CPU time the whole process has used so far (all its threads, user and system), for
// programs that measure what waiting or playing costs.
#pragma once

#include <sys/resource.h>

namespace sl::test {

inline double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

}  // namespace sl::test

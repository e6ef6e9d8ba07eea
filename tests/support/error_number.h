// The number of the RuntimeError a piece of code throws, for tests that check error numbers.
#pragma once

#include <string>

#include "core/runtime_error.h"

namespace sl::test {

// The number of the RuntimeError that f throws, or 0 when it throws none. When `description` is
// given it receives the error's description.
template <class F>
int ErrorNumberOf(F&& f, std::string* description = nullptr) {
  try {
    f();
  } catch (const RuntimeError& e) {
    if (description) *description = e.Description();
    return e.Number();
  }
  return 0;
}

}  // namespace sl::test

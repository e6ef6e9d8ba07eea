// Run-time errors as the classic runtime raises them: a number and a description. Every
// operation that can fail on bad game data throws one; callers catch it at the point where
// the game's own error policy says what happens next.
#pragma once

#include <exception>
#include <string>
#include <string_view>

#include "core/error_numbers.h"

namespace sl {

class RuntimeError : public std::exception {
 public:
  // Uses the standard description of the number ("Type mismatch" for 13).
  explicit RuntimeError(int number);
  RuntimeError(int number, std::string description);

  int Number() const noexcept { return number_; }
  const std::string& Description() const noexcept { return description_; }
  const char* what() const noexcept override { return description_.c_str(); }

  // The standard description of an error number; "Application-defined or object-defined
  // error" for numbers without one.
  static std::string_view StandardDescription(int number);

 private:
  int number_;
  std::string description_;
};

}  // namespace sl

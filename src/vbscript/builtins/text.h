// Letter case and comparison of script text: the case mapping LCase/UCase apply and the two
// comparison modes (binary: by code unit; text: without regard to letter case) that StrComp,
// InStr, Replace, Split, Filter and the Dictionary use, and the search for a text in another.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "vbscript/builtins/arguments.h"

namespace sl::vbs {

// Case mapping of the Latin, Greek and Cyrillic letters; other characters are unchanged.
char16_t LowerChar(char16_t c) noexcept;
char16_t UpperChar(char16_t c) noexcept;
std::u16string LowerText(std::u16string_view text);
std::u16string UpperText(std::u16string_view text);

// -1, 0 or 1. Text mode compares the lower-case forms, so "a" and "A" are equal and both sort
// after "[" and before "{".
int CompareText(std::u16string_view a, std::u16string_view b, CompareMode mode) noexcept;

// A text to look for in others, prepared once: every search takes time in proportion to the
// length of the text searched, whatever the text looked for (a long run of one letter ending
// in another is as quick as any), so hostile scripts cannot stall the engine inside InStr,
// InStrRev, Replace, Split or Filter.
class TextFinder {
 public:
  enum class Direction { kForward, kBackward };
  TextFinder(std::u16string_view needle, CompareMode mode,
             Direction direction = Direction::kForward);

  // First position of the text in `haystack` at or after `from`; npos when absent.
  std::size_t Find(std::u16string_view haystack, std::size_t from) const;
  // Last position of the text in `haystack` where it ends at or before `end` (a finder made
  // for Direction::kBackward); npos when absent.
  std::size_t FindLast(std::u16string_view haystack, std::size_t end) const;

 private:
  char16_t Unit(char16_t c) const { return mode_ == CompareMode::kText ? LowerChar(c) : c; }

  std::u16string needle_;              // lower-cased in text mode; reversed for kBackward
  std::vector<std::uint32_t> border_;  // longest proper border of each prefix of needle_
  CompareMode mode_;
};

// First position of `needle` in `haystack` at or after `from`; npos when absent.
std::size_t FindText(std::u16string_view haystack, std::u16string_view needle, std::size_t from,
                     CompareMode mode);
// Last position of `needle` that ends at or before `end`; npos when absent.
std::size_t FindTextReverse(std::u16string_view haystack, std::u16string_view needle,
                            std::size_t end, CompareMode mode);

}  // namespace sl::vbs

// Letter case and comparison of script text: the case mapping LCase/UCase apply and the two
// comparison modes (binary: by code unit; text: without regard to letter case) that StrComp,
// InStr, Replace, Split, Filter and the Dictionary use.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

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

// First position of `needle` in `haystack` at or after `from`; npos when absent.
std::size_t FindText(std::u16string_view haystack, std::u16string_view needle, std::size_t from,
                     CompareMode mode) noexcept;
// Last position of `needle` that ends at or before `end`; npos when absent.
std::size_t FindTextReverse(std::u16string_view haystack, std::u16string_view needle,
                            std::size_t end, CompareMode mode) noexcept;

}  // namespace sl::vbs

// Letter case mapping and the binary and text comparison modes.
#include "vbscript/builtins/text.h"

#include <algorithm>

namespace sl::vbs {

char16_t LowerChar(char16_t c) noexcept {
  if (c < 0x80) return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3AB && c != 0x3A2) ||
      (c >= 0x410 && c <= 0x42F)) {
    return static_cast<char16_t>(c + 32);
  }
  if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 80);
  if (c == 0x178) return 0xFF;
  // Latin Extended-A and Cyrillic supplement pair capitals and small letters side by side.
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177) || (c >= 0x460 && c <= 0x4BF)) {
    return c % 2 == 0 ? static_cast<char16_t>(c + 1) : c;
  }
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) {
    return c % 2 == 1 ? static_cast<char16_t>(c + 1) : c;
  }
  return c;
}

char16_t UpperChar(char16_t c) noexcept {
  if (c < 0x80) return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) ||
      (c >= 0x430 && c <= 0x44F)) {
    return static_cast<char16_t>(c - 32);
  }
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 80);
  if (c == 0xFF) return 0x178;
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177) || (c >= 0x460 && c <= 0x4BF)) {
    return c % 2 == 1 ? static_cast<char16_t>(c - 1) : c;
  }
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) {
    return c % 2 == 0 ? static_cast<char16_t>(c - 1) : c;
  }
  return c;
}

std::u16string LowerText(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out)
    c = LowerChar(c);
  return out;
}

std::u16string UpperText(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out)
    c = UpperChar(c);
  return out;
}

int CompareText(std::u16string_view a, std::u16string_view b, CompareMode mode) noexcept {
  std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    char16_t x = mode == CompareMode::kText ? LowerChar(a[i]) : a[i];
    char16_t y = mode == CompareMode::kText ? LowerChar(b[i]) : b[i];
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

// The search is Knuth, Morris and Pratt's: on a mismatch the needle moves on by what its own
// borders allow, so no unit of the haystack is looked at more than twice.
TextFinder::TextFinder(std::u16string_view needle, CompareMode mode, Direction direction)
    : needle_(needle), mode_(mode) {
  for (char16_t& c : needle_)
    c = Unit(c);
  if (direction == Direction::kBackward) std::reverse(needle_.begin(), needle_.end());
  border_.assign(needle_.size() + 1, 0);
  std::uint32_t k = 0;
  for (std::size_t i = 1; i < needle_.size(); ++i) {
    while (k > 0 && needle_[i] != needle_[k])
      k = border_[k];
    if (needle_[i] == needle_[k]) ++k;
    border_[i + 1] = k;
  }
}

std::size_t TextFinder::Find(std::u16string_view haystack, std::size_t from) const {
  const std::size_t m = needle_.size();
  if (from > haystack.size() || haystack.size() - from < m) return std::u16string_view::npos;
  if (m == 0) return from;
  std::size_t matched = 0;
  for (std::size_t i = from; i < haystack.size(); ++i) {
    char16_t c = Unit(haystack[i]);
    while (matched > 0 && c != needle_[matched])
      matched = border_[matched];
    if (c == needle_[matched] && ++matched == m) return i + 1 - m;
  }
  return std::u16string_view::npos;
}

std::size_t TextFinder::FindLast(std::u16string_view haystack, std::size_t end) const {
  const std::size_t m = needle_.size();
  if (end > haystack.size()) end = haystack.size();
  if (end < m) return std::u16string_view::npos;
  if (m == 0) return end;
  std::size_t matched = 0;
  for (std::size_t i = end; i-- > 0;) {
    char16_t c = Unit(haystack[i]);
    while (matched > 0 && c != needle_[matched])
      matched = border_[matched];
    if (c == needle_[matched] && ++matched == m) return i;
  }
  return std::u16string_view::npos;
}

std::size_t FindText(std::u16string_view haystack, std::u16string_view needle, std::size_t from,
                     CompareMode mode) {
  return TextFinder(needle, mode).Find(haystack, from);
}

std::size_t FindTextReverse(std::u16string_view haystack, std::u16string_view needle,
                            std::size_t end, CompareMode mode) {
  return TextFinder(needle, mode, TextFinder::Direction::kBackward).FindLast(haystack, end);
}

}  // namespace sl::vbs

// Letter case mapping and the binary and text comparison modes.
#include "vbscript/builtins/text.h"

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

namespace {
bool UnitsEqual(char16_t a, char16_t b, CompareMode mode) noexcept {
  return a == b || (mode == CompareMode::kText && LowerChar(a) == LowerChar(b));
}

bool MatchesAt(std::u16string_view haystack, std::u16string_view needle, std::size_t pos,
               CompareMode mode) noexcept {
  for (std::size_t k = 0; k < needle.size(); ++k) {
    if (!UnitsEqual(haystack[pos + k], needle[k], mode)) return false;
  }
  return true;
}
}  // namespace

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

std::size_t FindText(std::u16string_view haystack, std::u16string_view needle, std::size_t from,
                     CompareMode mode) noexcept {
  if (mode == CompareMode::kBinary) return haystack.find(needle, from);
  if (needle.size() > haystack.size()) return std::u16string_view::npos;
  for (std::size_t pos = from; pos + needle.size() <= haystack.size(); ++pos) {
    if (MatchesAt(haystack, needle, pos, mode)) return pos;
  }
  return std::u16string_view::npos;
}

std::size_t FindTextReverse(std::u16string_view haystack, std::u16string_view needle,
                            std::size_t end, CompareMode mode) noexcept {
  if (end > haystack.size()) end = haystack.size();
  if (needle.size() > end) return std::u16string_view::npos;
  for (std::size_t pos = end - needle.size() + 1; pos-- > 0;) {
    if (MatchesAt(haystack, needle, pos, mode)) return pos;
  }
  return std::u16string_view::npos;
}

}  // namespace sl::vbs

// Case folding for names.
#include "core/case_fold.h"

#include "core/text_encoding.h"
#include "core/utf8.h"

namespace sl {

namespace {

char32_t FoldChar(char32_t c) {
  if (c < 0x80) return static_cast<unsigned char>(AsciiLower(static_cast<char>(c)));
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  if (c >= 0x100 && c <= 0x17F) {
    if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
    if (c == 0x178) return 0xFF;
    bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (oddUpper) return (c & 1) ? c + 1 : c;
    return (c & 1) ? c : c + 1;
  }
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 32;
  if (c >= 0x410 && c <= 0x42F) return c + 32;
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  return c;
}

// Copies one UTF-8 sequence (or one stray byte) starting at s[i], folded.
void FoldOne(std::string_view s, std::size_t& i, std::string& out) {
  auto b0 = static_cast<unsigned char>(s[i]);
  int extra = b0 >= 0xF0 ? 3 : b0 >= 0xE0 ? 2 : b0 >= 0xC0 ? 1 : 0;
  if (extra == 0 || i + extra >= s.size()) {
    out.push_back(s[i++]);
    return;
  }
  char32_t c = b0 & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) {
      out.push_back(s[i++]);
      return;
    }
    c = (c << 6) | (b & 0x3F);
  }
  i += extra + 1;
  AppendUtf8(out, FoldChar(c));
}

}  // namespace

void FoldCaseInto(std::string_view utf8, std::string& out) {
  out.clear();
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    char ch = utf8[i];
    if (static_cast<unsigned char>(ch) < 0x80) {
      out.push_back(AsciiLower(ch));
      ++i;
    } else {
      FoldOne(utf8, i, out);
    }
  }
}

std::string FoldCase(std::string_view utf8) {
  std::string out;
  FoldCaseInto(utf8, out);
  return out;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (IsAscii(a) && IsAscii(b)) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
      if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
  }
  return FoldCase(a) == FoldCase(b);
}

std::string ToLowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    c = AsciiLower(c);
  return out;
}

int CompareIgnoreCase(std::string_view a, std::string_view b) {
  int c = FoldCase(a).compare(FoldCase(b));
  if (c != 0) return c;
  return a.compare(b);
}

}  // namespace sl

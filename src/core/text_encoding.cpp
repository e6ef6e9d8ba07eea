// Windows-1252 <-> UTF-8 / UTF-16 conversion.
#include "core/text_encoding.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "core/shared_string.h"
#include "core/utf8.h"

namespace sl {

namespace {

// Characters of the bytes 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Decodes one UTF-8 sequence at s[i]; invalid bytes yield U+FFFD and advance by one.
char32_t DecodeUtf8(std::string_view s, std::size_t& i) {
  auto b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) {
    ++i;
    return b0;
  }
  int extra = b0 >= 0xF0 ? 3 : b0 >= 0xE0 ? 2 : b0 >= 0xC0 ? 1 : -1;
  if (extra < 0 || b0 > 0xF4 || i + extra >= s.size()) {
    ++i;
    return 0xFFFD;
  }
  char32_t c = b0 & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return 0xFFFD;
    }
    c = (c << 6) | (b & 0x3F);
  }
  i += extra + 1;
  return c;
}

}  // namespace

char16_t Windows1252ToUnicode(unsigned char byte) noexcept {
  if (byte >= 0x80 && byte < 0xA0) return kHighControls[byte - 0x80];
  return byte;
}

char UnicodeToWindows1252(char32_t c) noexcept {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (std::size_t k = 0; k < kHighControls.size(); ++k) {
    if (kHighControls[k] == c) return static_cast<char>(0x80 + k);
  }
  return '?';
}

bool IsAscii(std::string_view bytes) noexcept {
  const char* p = bytes.data();
  std::size_t n = bytes.size();
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, p + i, 8);
    if (word & 0x8080808080808080ULL) return false;
  }
  for (; i < n; ++i) {
    if (static_cast<unsigned char>(p[i]) >= 0x80) return false;
  }
  return true;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  if (IsAscii(bytes)) return std::string(bytes);
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 2);
  for (char ch : bytes)
    AppendUtf8(out, Windows1252ToUnicode(static_cast<unsigned char>(ch)));
  return out;
}

std::u16string Windows1252ToUtf16(std::string_view bytes) {
  std::u16string out(bytes.size(), u'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    out[i] = Windows1252ToUnicode(static_cast<unsigned char>(bytes[i]));
  }
  return out;
}

std::string Utf8ToWindows1252(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size())
    out.push_back(UnicodeToWindows1252(DecodeUtf8(utf8, i)));
  return out;
}

std::string Utf16ToWindows1252(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char32_t c = utf16[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      ++i;  // a character beyond the basic plane has no byte in the code page
      c = 0x10000;
    }
    out.push_back(UnicodeToWindows1252(c));
  }
  return out;
}

}  // namespace sl

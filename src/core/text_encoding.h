// Text encoding of project files. Project data, INI files and saved games are Windows-1252
// bytes; inside the program every text is UTF-8 (or UTF-16 in a Variant). Conversion happens
// once, where a file is read or written, so an accented caption shows right and round-trips.
//
// API:
//   Windows1252ToUtf8(bytes)     -> UTF-8 text (every byte maps to one character)
//   Windows1252ToUtf16(bytes)    -> UTF-16 text
//   Utf8ToWindows1252(utf8)      -> bytes; characters outside the code page become '?'
//   Utf16ToWindows1252(utf16)    -> bytes; same rule
//   IsAscii(bytes)               -> true when no byte is above 0x7F (conversion is a copy)
#pragma once

#include <string>
#include <string_view>

namespace sl {

std::string Windows1252ToUtf8(std::string_view bytes);
std::u16string Windows1252ToUtf16(std::string_view bytes);
std::string Utf8ToWindows1252(std::string_view utf8);
std::string Utf16ToWindows1252(std::u16string_view utf16);

// The Unicode character of one Windows-1252 byte. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same value,
// as the Windows conversion does, so they survive a round trip.
char16_t Windows1252ToUnicode(unsigned char byte) noexcept;
// The byte of a character, or '?' when the code page has none.
char UnicodeToWindows1252(char32_t c) noexcept;

bool IsAscii(std::string_view bytes) noexcept;

}  // namespace sl

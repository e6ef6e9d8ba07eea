// Writes a project's procedures file as the editor does: three header lines, then the
// procedure lines, plain or scrambled. A scrambled line is the plain one reversed, each printable
// character shifted by the project's offset and a key table, behind a first character that
// carries the line's own key offset. For fixtures of the procedure tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sl::test {

// One line scrambled with the project offset `offset`; `keyChar` starts the line.
inline std::string ScrambleLine(std::string_view plain, std::int32_t offset, char keyChar = 'K') {
  static constexpr std::string_view kKey = "kapuzimorbelfawintoqs";
  const std::int64_t s = static_cast<unsigned char>(keyChar) - 32;
  std::string shifted;
  for (std::size_t i = 0; i < plain.size(); ++i) {
    int c = static_cast<unsigned char>(plain[i]);
    if (c >= 32 && c <= 126) {
      std::int64_t shift =
          offset + (static_cast<std::int64_t>(i) + s) * (kKey[i % kKey.size()] - 32);
      std::int64_t r = (c - 32 + shift) % 94;
      c = static_cast<int>(r < 0 ? r + 94 : r) + 32;
    }
    shifted.push_back(static_cast<char>(c));
  }
  return keyChar + std::string(shifted.rbegin(), shifted.rend());
}

// The whole file (CR LF line ends); scrambled with `offset` when one is given.
inline std::string ProceduresFile(const std::vector<std::string>& lines,
                                  std::optional<std::int32_t> offset = std::nullopt) {
  std::string file = "Procedures\r\nheader two\r\nheader three\r\n";
  for (const std::string& line : lines)
    file += (offset ? ScrambleLine(line, *offset) : line) + "\r\n";
  return file;
}

}  // namespace sl::test

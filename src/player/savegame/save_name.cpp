// Checks of saved-game names.
#include "player/savegame/save_name.h"

namespace sl {

namespace {

constexpr std::string_view kRefusedCharacters = "\\/:*?\"<>|,";
constexpr std::size_t kMaxFolderNameBytes = 200;

// C0 controls, DEL, and the C1 controls as UTF-8 (C2 80 to C2 9F).
bool HasControlCharacter(std::string_view s) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x20 || c == 0x7F) return true;
    if (c == 0xC2 && i + 1 < s.size() && static_cast<unsigned char>(s[i + 1]) <= 0x9F &&
        static_cast<unsigned char>(s[i + 1]) >= 0x80) {
      return true;
    }
  }
  return false;
}

}  // namespace

SaveNameCheck CheckSaveName(std::string_view name) {
  if (name.find_first_of(kRefusedCharacters) != std::string_view::npos ||
      HasControlCharacter(name) || name.size() > kMaxSaveNameBytes) {
    return SaveNameCheck::RefusedCharacter;
  }
  if (name.empty()) return SaveNameCheck::Empty;
  return SaveNameCheck::Accepted;
}

bool IsListableSaveName(std::string_view name) {
  return name.find_first_of("/\\") == std::string_view::npos && !HasControlCharacter(name);
}

std::string SafeFolderName(std::string_view projectName) {
  std::string out;
  for (char c : projectName) {
    bool bad = kRefusedCharacters.find(c) != std::string_view::npos ||
               static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
    out.push_back(bad ? '_' : c);
  }
  if (out.size() > kMaxFolderNameBytes) {
    std::size_t cut = kMaxFolderNameBytes;
    // Not inside a UTF-8 sequence: continuation bytes are 10xxxxxx.
    while (cut > 0 && (static_cast<unsigned char>(out[cut]) & 0xC0) == 0x80)
      --cut;
    out.resize(cut);
  }
  if (out.empty() || out == "." || out == "..") out = "_" + out;
  return out;
}

}  // namespace sl

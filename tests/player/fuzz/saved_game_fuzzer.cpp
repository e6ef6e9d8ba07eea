// libFuzzer target for the saved-game reader (built with -DSTORYLOOM_FUZZ=ON and clang). Any
// input either reads as a saved game or is refused with a run-time error, never a crash or a
// hang; what was read writes and reads back to the same file (one write settles the notation).
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/runtime_error.h"
#include "player/savegame/saved_game_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const sl::SavedGameInformation information{"Fuzz", "Fuzz", {2004, 3, 7, 12, 0, 0, 0}};
  sl::SavedGame game;
  try {
    game = sl::ReadSavedGame(std::string(reinterpret_cast<const char*>(data), size));
  } catch (const sl::RuntimeError&) {
    return 0;
  }
  std::string once = sl::WriteSavedGame(game, information);
  std::string twice = sl::WriteSavedGame(sl::ReadSavedGame(once), information);
  if (once != twice) __builtin_trap();
  return 0;
}

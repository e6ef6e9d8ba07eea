// The saved-game file: one value a line (CR LF) in the project's data-file notation, in this
// order: the frame being shown; the integer variables (count, then name and value of each); the
// hotspots made to disappear (count, then frame name and hotspot number of each); the inventory
// (count, then the item names); the frames history (count, then the names, oldest first); three
// empty strings, the project name, the game title, the date of saving (MM/DD/YYYY) and
// "Version 3.3.1", which nothing reads back; the variant variables (count, then name and value
// of each, each value by its type). A file may end after the inventory, after the history or
// after the informational lines: the sections that follow are then not part of it.
//
// API:
//   SavedGame game;  game.frame = "Hall";  game.variables.push_back({"Lamp", 1});  ...
//   std::string bytes = WriteSavedGame(game, {"MyGame", "My Game", clock.Now()});
//   SavedGame back = ReadSavedGame(bytes);    // RuntimeError for a damaged file
//   back.sections                             // how far the file went
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/date_time.h"
#include "core/variant.h"

namespace sl {

// Where a saved-game file ends: every section up to the one named is in it.
enum class SavedGameSections { UpToInventory, UpToHistory, UpToInformation, All };

struct SavedGame {
  std::string frame;
  std::vector<std::pair<std::string, std::int16_t>> variables;
  std::vector<std::pair<std::string, std::int16_t>> disappeared;  // frame name, hotspot number
  std::vector<std::string> inventory;
  std::vector<std::string> history;  // oldest first
  std::vector<std::pair<std::string, Variant>> variants;
  SavedGameSections sections = SavedGameSections::All;
};

// The informational lines of a file being written.
struct SavedGameInformation {
  std::string projectName;
  std::string gameTitle;
  CivilTime savedAt;
};

// The version line every saved game carries.
inline constexpr const char* kSavedGameVersion = "Version 3.3.1";

// The whole file (Windows-1252 bytes), every section written.
std::string WriteSavedGame(const SavedGame& game, const SavedGameInformation& information);

// Reads a file strictly in order, as the sequential reader does. RuntimeError for a damaged one
// (62 when it ends inside a section, 13 or 6 for a count or value that is no number or too big).
SavedGame ReadSavedGame(std::string bytes);

}  // namespace sl

// Where saved games are kept. A game's saved games live in its project folder. When that folder
// cannot be written (a game installed read-only, a copy on a CD) they go to the player's own
// folder for the game, $XDG_DATA_HOME/storyloom/saves/<ProjectName>/ (~/.local/share when
// XDG_DATA_HOME is not set). Both folders are listed; of two saved games of one name, the one in
// the player's folder is the one the name stands for. Folders are read afresh for every
// operation, so files copied in while the game runs are seen.
//
// API:
//   SaveFolders folders(project);
//   folders.Listed()               -> the folders to list: the project folder, the player's
//   folders.Find("Mine")           -> real path of the saved game "Mine", or nullopt
//   folders.WriteTarget("Mine")    -> where saving "Mine" writes (the player's folder is made)
//   folders.Delete(path)           -> false when the file could not be deleted
//   ListSavedGames(file1, folders) -> the saved games, oldest first
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/date_time.h"

namespace sl {

class Project;
namespace ui {
class FileListBox;
}

class SaveFolders {
 public:
  static constexpr const char* kExtension = ".sav";

  explicit SaveFolders(Project& project) : project_(project) {}

  std::vector<std::string> Listed() const;
  std::optional<std::string> Find(const std::string& name);
  std::string WriteTarget(const std::string& name);
  // Deletes a saved game found by the listing; false when it could not be deleted.
  bool Delete(const std::string& realPath);
  // The player's folder for this game, ending in '/'; empty when there is no home folder.
  std::string UserFolder() const;

 private:
  // Forgets the cached listings of a folder and the folders above it.
  void Forget(const std::string& folder);

  Project& project_;
};

// A saved game as the dialogs list it.
struct SavedGameFile {
  std::string name;  // without ".sav"
  std::string path;  // real path
  std::int64_t modifiedNs = 0;
};

// The saved games of both folders, enumerated with `file1` (pointed at each folder in turn with
// the pattern "*.sav"), ordered by modification time, oldest first; of equal times, in the
// order of the file list. Names of 4 characters or fewer and names no saved game can have
// (separators, control characters) are left out. Unreadable folders give nothing.
std::vector<SavedGameFile> ListSavedGames(ui::FileListBox& file1, SaveFolders& folders);

// Gives a file the modification time `when` (local time): saved games carry the time of the
// program's clock, so that their order is the order of saving also in runs on a virtual clock.
void SetModificationTime(const std::string& realPath, const CivilTime& when);

}  // namespace sl

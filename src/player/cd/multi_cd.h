// Games whose media lie on several CDs: the project folder holds the marker "RunFromCD.dat" and
// the index "CDContents" in its Config folder, and a media file missing from the disk is looked
// for on the CD drive, laid out as <drive>/Data/<GameTitle>/Frames/<name> or .../Areas/<name>.
// First the Frames folder of the drive by the file's name alone, then the index, which tells the
// CD and the folder; when that CD is not in the drive the game stops and `frmRunFromCD` asks for
// it until the file is there or the person playing cancels. A drive letter names a folder (see
// drive_map.h); the drive used is the game's "DriveLetter" setting, detected on first need.
// Every CD folder the lookup uses becomes one of the folders the game's names may lead into.
//
// API:
//   MultiCd cd({project, windows, display, [&] { return game; }});
//   cd.SetCommandLineDrives({{0, "/mnt/cd1"}, {'E', "/mnt/cd2"}});
//   project.SetCdLookup(&cd);      // LoadCDIndex at start-up, FindOnCD for missing media
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "player/cd/cd_index.h"
#include "player/cd/drive_map.h"
#include "player/startup/startup_hooks.h"

namespace sl {

class Game;
class Project;
class Resolutions;
namespace ui {
class WindowManager;
}

struct MultiCdContext {
  Project& project;
  ui::WindowManager& windows;
  Resolutions& display;
  std::function<Game*()> game;  // null before the game window exists
};

class MultiCd final : public CdLookup {
 public:
  explicit MultiCd(MultiCdContext context);

  // The `--cd` folders of the command line, in their order; they come before the settings.
  void SetCommandLineDrives(std::vector<DriveFolder> drives) { commandLine_ = std::move(drives); }
  // Where the mount points are looked for: "/" except in tests.
  void SetFileSystemRoot(std::string root) { fileSystemRoot_ = std::move(root); }
  void SetUserName(std::string user) { user_ = std::move(user); }

  std::string CdLocation(const std::string& path) override { return FindOnCD(path); }
  void StartUpCheck() override { LoadCDIndex(); }

  void LoadCDIndex();
  std::string FindOnCD(const std::string& path);
  // The letter of the last folder holding the game's CD folder, else of the last CD drive,
  // else D.
  std::string DetectCDDrive();
  std::string FolderOfKind(std::int16_t kind) const;
  int CDIndexCount() const { return static_cast<int>(index_.size()); }
  const std::vector<CdIndexEntry>& Index() const { return index_; }
  // The letters and their folders, gathered on first use.
  const DriveMap& Drives();

 private:
  bool RunsFromCd();
  std::string DriveLetterSetting();
  std::string DriveLetter();
  // The real path of `cdPath` (below <drive>/Data/<GameTitle>) on the drive, when it is there.
  std::optional<std::string> OnDrive(const std::string& letter, const std::string& cdPath);
  // The media file on the drive under its numbered extension, else under its own name.
  std::optional<std::string> MediaOnDrive(const std::string& letter, const std::string& cdPath);
  // The path shown when the file is not on the drive.
  std::string DrivePath(const std::string& letter, const std::string& cdPath);
  enum class CdWait { Found, WrongCd, Cancelled };
  // One round of the insert-CD loop: the game halts, the dialog asks for CD `cd`; then the
  // file is on the drive chosen (`letter` follows the choice), or it is not (told), or the
  // person playing cancelled and the game stopped.
  CdWait WaitForCd(std::int16_t cd, const std::string& cdPath, std::string& letter);

  MultiCdContext c_;
  std::vector<CdIndexEntry> index_;
  std::vector<DriveFolder> commandLine_;
  std::string fileSystemRoot_ = "/";
  std::string user_;
  std::optional<DriveMap> drives_;
};

}  // namespace sl

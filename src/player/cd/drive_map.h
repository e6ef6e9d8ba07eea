// The drive letters of a game on CDs. The game names its CD drive by a letter; on this system a
// letter names a folder: a mounted CD, a mounted image, or a folder copied from a CD. Letters
// come from the command line (`--cd DIR` in CD order from D, `--cd L=DIR`), from the per-user
// settings (section "Drives", "D=/media/cdrom0") and from the usual mount points that hold the
// game's folder "Data/<GameTitle>". Only A to V name drives.
//
// API:
//   DriveMap drives;
//   drives.Map('D', "/media/cdrom0");  drives.MapNext("/mnt/cd2")   -> 'E'
//   drives.FolderOf('d')               -> "/media/cdrom0"
//   drives.Listed()                    -> {letter, folder, kind} from A to V
//   ParseDriveOption("E=/mnt/cd", d)   -> true, d = {'E', "/mnt/cd"}; "/mnt/cd" -> letter 0
//   CdGameFolder("/media/cdrom0", "Lighthouse") -> "/media/cdrom0/DATA/LIGHTHOUSE" when there
//   FindGameCds("/", "me", "Lighthouse") -> the mount points holding Data/Lighthouse
//   KindOfFolder("/media/cdrom0")      -> DriveKind::CdRom (from its file system)
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sl {

// The kinds of drive the dialog names, numbered as the classic drive types.
enum class DriveKind { Unknown = 0, Removable = 2, Fixed = 3, Remote = 4, CdRom = 5, RamDisk = 6 };

constexpr char kFirstDriveLetter = 'A';
constexpr char kLastDriveLetter = 'V';
constexpr char kFirstCdLetter = 'D';

struct DriveFolder {
  char letter = 0;  // 0: the next free letter from D
  std::string folder;
};

struct Drive {
  char letter = 0;
  std::string folder;
  DriveKind kind = DriveKind::Unknown;
};

class DriveMap {
 public:
  // Maps a letter from A to V (either case) to a folder; false for any other letter.
  bool Map(char letter, std::string folder);
  // Maps the first letter from D that names nothing yet; the letter, or 0 when none is free.
  char MapNext(std::string folder);
  bool Mapped(char letter) const;
  // Whether some letter names this folder already.
  bool MapsFolder(const std::string& folder) const;
  std::optional<std::string> FolderOf(char letter) const;
  // Every mapped letter in order, with the kind of its folder.
  std::vector<Drive> Listed() const;

 private:
  std::map<char, std::string> folders_;
};

// Reads a `--cd` value: "DIR", or "L=DIR" with a letter from A to V. False when the value is
// empty or its letter names no drive.
bool ParseDriveOption(std::string_view text, DriveFolder& drive);

// The kind of the file system that holds the folder (Unknown when it cannot be told).
DriveKind KindOfFolder(const std::string& folder);
// "(CD-Rom Drive)" and the others, as the drive list shows them; empty for Unknown.
std::string DriveKindDescription(DriveKind kind);

// The real path of the game's folder on a CD, <folder>/Data/<gameTitle> in any letter case;
// none when it is not there or the title is not a plain folder name.
std::optional<std::string> CdGameFolder(const std::string& folder, const std::string& gameTitle);

// The folders under the usual mount points (/media/USER/*, /run/media/USER/*, /media/cdrom*,
// /mnt/*) that hold "Data/<gameTitle>", whatever the letter case, in that order.
// `fileSystemRoot` is "/" except in tests.
std::vector<std::string> FindGameCds(const std::string& fileSystemRoot, const std::string& user,
                                     const std::string& gameTitle);

}  // namespace sl

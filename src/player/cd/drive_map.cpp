// Drive letters, the kinds of their folders and the search of the mount points.
#include "player/cd/drive_map.h"

#include <sys/vfs.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "core/path_resolver.h"

namespace sl {

namespace {

// File system magic numbers (statfs f_type) that tell a drive's kind.
constexpr long kIso9660Magic = 0x9660;
constexpr long kUdfMagic = 0x15013346;
constexpr long kNfsMagic = 0x6969;
constexpr long kSmbMagic = 0x517B;
constexpr long kSmb2Magic = 0xFE534D42;
constexpr long kCifsMagic = 0xFF534D42;
constexpr long kFuseMagic = 0x65735546;
constexpr long kTmpfsMagic = 0x01021994;
constexpr long kRamfsMagic = 0x858458F6;

char UpperLetter(char letter) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
}

bool IsDriveLetter(char letter) {
  char upper = UpperLetter(letter);
  return upper >= kFirstDriveLetter && upper <= kLastDriveLetter;
}

// The sub-folders of `parent` whose names start with `prefix`, sorted by name.
std::vector<std::string> SubFolders(const std::filesystem::path& parent, std::string_view prefix) {
  std::vector<std::string> found;
  std::error_code ec;
  std::filesystem::directory_iterator it(parent, ec);
  for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (name.starts_with(prefix) && it->is_directory(ec)) found.push_back(it->path().string());
  }
  std::sort(found.begin(), found.end());
  return found;
}

// Whether the game title can be a folder name: one name, not a way up or across.
bool IsFolderName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("/\\") == std::string::npos;
}

}  // namespace

bool DriveMap::Map(char letter, std::string folder) {
  if (!IsDriveLetter(letter)) return false;
  folders_[UpperLetter(letter)] = std::move(folder);
  return true;
}

char DriveMap::MapNext(std::string folder) {
  for (char letter = kFirstCdLetter; letter <= kLastDriveLetter; ++letter) {
    if (!Mapped(letter)) {
      folders_[letter] = std::move(folder);
      return letter;
    }
  }
  return 0;
}

bool DriveMap::Mapped(char letter) const {
  return folders_.contains(UpperLetter(letter));
}

bool DriveMap::MapsFolder(const std::string& folder) const {
  return std::any_of(folders_.begin(), folders_.end(),
                     [&](const auto& entry) { return entry.second == folder; });
}

std::optional<std::string> DriveMap::FolderOf(char letter) const {
  auto it = folders_.find(UpperLetter(letter));
  if (it == folders_.end()) return std::nullopt;
  return it->second;
}

std::vector<Drive> DriveMap::Listed() const {
  std::vector<Drive> drives;
  for (const auto& [letter, folder] : folders_)
    drives.push_back({letter, folder, KindOfFolder(folder)});
  return drives;
}

bool ParseDriveOption(std::string_view text, DriveFolder& drive) {
  drive = {};
  if (text.size() >= 2 && text[1] == '=' && std::isalpha(static_cast<unsigned char>(text[0]))) {
    if (!IsDriveLetter(text[0])) return false;
    drive.letter = UpperLetter(text[0]);
    text.remove_prefix(2);
  }
  drive.folder = std::string(text);
  return !drive.folder.empty();
}

DriveKind KindOfFolder(const std::string& folder) {
  struct statfs info {};
  if (statfs(folder.c_str(), &info) != 0) return DriveKind::Unknown;
  switch (static_cast<long>(info.f_type)) {
    case kIso9660Magic:
    case kUdfMagic:
      return DriveKind::CdRom;
    case kNfsMagic:
    case kSmbMagic:
    case kSmb2Magic:
    case kCifsMagic:
    case kFuseMagic:
      return DriveKind::Remote;
    case kTmpfsMagic:
    case kRamfsMagic:
      return DriveKind::RamDisk;
    default:
      return DriveKind::Fixed;
  }
}

std::string DriveKindDescription(DriveKind kind) {
  switch (kind) {
    case DriveKind::Removable:
      return "(Floppy Drive)";
    case DriveKind::Fixed:
      return "(Hard Drive)";
    case DriveKind::Remote:
      return "(Network Drive)";
    case DriveKind::CdRom:
      return "(CD-Rom Drive)";
    case DriveKind::RamDisk:
      return "(RAM Disk)";
    case DriveKind::Unknown:
      break;
  }
  return {};
}

std::optional<std::string> CdGameFolder(const std::string& folder, const std::string& gameTitle) {
  if (!IsFolderName(gameTitle)) return std::nullopt;
  PathResolver cd(folder);
  std::optional<std::string> found = cd.Find("Data/" + gameTitle);
  if (!found || !cd.FolderExists(*found)) return std::nullopt;
  return found;
}

std::vector<std::string> FindGameCds(const std::string& fileSystemRoot, const std::string& user,
                                     const std::string& gameTitle) {
  std::vector<std::string> found;
  std::filesystem::path root(fileSystemRoot);
  std::vector<std::string> candidates;
  auto add = [&](const std::filesystem::path& parent, std::string_view prefix) {
    for (std::string& folder : SubFolders(parent, prefix))
      candidates.push_back(std::move(folder));
  };
  if (IsFolderName(user)) {
    add(root / "media" / user, "");
    add(root / "run" / "media" / user, "");
  }
  add(root / "media", "cdrom");
  add(root / "mnt", "");
  for (const std::string& candidate : candidates) {
    if (CdGameFolder(candidate, gameTitle) &&
        std::find(found.begin(), found.end(), candidate) == found.end())
      found.push_back(candidate);
  }
  return found;
}

}  // namespace sl

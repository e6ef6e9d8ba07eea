// The CD index, the lookup of media on the CDs and the insert-CD loop.
#include "player/cd/multi_cd.h"

#include <algorithm>
#include <cstdlib>

#include "core/case_fold.h"
#include "core/data_file_reader.h"
#include "core/message_box.h"
#include "core/path_resolver.h"
#include "player/cd/run_from_cd_dialog.h"
#include "player/engine/game.h"
#include "player/startup/project.h"
#include "player/startup/shared_routines.h"
#include "ui/controls/timer_control.h"
#include "ui/platform.h"
#include "ui/window_manager.h"

namespace sl {

namespace {

constexpr const char* kMarkerFile = "RunFromCD.dat";
constexpr const char* kIndexFile = "CDContents";
constexpr const char* kSettingsApp = "Software";
constexpr const char* kDrivesSection = "Drives";
constexpr const char* kDriveLetterKey = "DriveLetter";
constexpr const char* kFramesOnCd = "Frames/";
constexpr const char* kAreasOnCd = "Areas/";

// A name compared as the lookup compares them: '/' for '\', any letter case.
std::string Comparable(std::string_view path) {
  std::string text(path);
  std::replace(text.begin(), text.end(), '\\', '/');
  return FoldCase(text);
}

std::string UserName() {
  for (const char* name : {"USER", "LOGNAME"}) {
    if (const char* value = std::getenv(name); value && *value) return value;
  }
  return {};
}

// The frame and message timers that ran before the game stopped for a CD.
struct RunningTimers {
  bool timer1 = false;
  bool messageBox = false;
};

}  // namespace

MultiCd::MultiCd(MultiCdContext context) : c_(std::move(context)), user_(UserName()) {}

bool MultiCd::RunsFromCd() {
  PathResolver& paths = c_.project.Paths();
  const ProjectFolders& folders = c_.project.Folders();
  return paths.FileExists(folders.ProjectFolder + kMarkerFile) &&
         paths.FileExists(folders.ConfigFolder + kIndexFile);
}

void MultiCd::LoadCDIndex() {
  index_.clear();
  if (!RunsFromCd()) return;
  try {
    DataFileReader reader(
        c_.project.Paths().ReadFile(c_.project.Folders().ConfigFolder + kIndexFile));
    index_ = ReadCdIndex(reader);
  } catch (const std::exception&) {
    index_.clear();
    c_.project.ShowError(" Error loading CD index.");
  }
}

std::string MultiCd::FolderOfKind(std::int16_t kind) const {
  switch (static_cast<CdFolderKind>(kind)) {
    case CdFolderKind::Frames:
      return c_.project.Folders().FramesFolder;
    case CdFolderKind::Areas:
      return c_.project.Folders().AreasFolder;
  }
  return {};
}

const DriveMap& MultiCd::Drives() {
  if (drives_) return *drives_;
  DriveMap& drives = drives_.emplace();
  // The command line first: its letters, then its folders in CD order from D.
  for (const DriveFolder& d : commandLine_) {
    if (d.letter) drives.Map(d.letter, d.folder);
  }
  for (const DriveFolder& d : commandLine_) {
    if (!d.letter) drives.MapNext(d.folder);
  }
  ui::UserSettings& settings = c_.windows.GetPlatform().Settings();
  for (char letter = kFirstDriveLetter; letter <= kLastDriveLetter; ++letter) {
    if (drives.Mapped(letter)) continue;
    try {
      std::optional<std::string> folder =
          settings.Get(kSettingsApp, kDrivesSection, std::string(1, letter));
      if (folder && !folder->empty()) drives.Map(letter, *folder);
    } catch (const std::exception&) {
      // An unreadable setting maps nothing.
    }
  }
  for (std::string& folder : FindGameCds(fileSystemRoot_, user_, c_.project.Info().GameTitle)) {
    if (!drives.MapsFolder(folder)) drives.MapNext(std::move(folder));
  }
  return drives;
}

std::string MultiCd::DetectCDDrive() {
  std::vector<Drive> listed = Drives().Listed();
  const std::string& title = c_.project.Info().GameTitle;
  for (auto it = listed.rbegin(); it != listed.rend(); ++it) {
    if (CdGameFolder(it->folder, title)) return std::string(1, it->letter);
  }
  for (auto it = listed.rbegin(); it != listed.rend(); ++it) {
    if (it->kind == DriveKind::CdRom) return std::string(1, it->letter);
  }
  return std::string(1, kFirstCdLetter);
}

std::string MultiCd::DriveLetterSetting() {
  try {
    std::optional<std::string> value = c_.windows.GetPlatform().Settings().Get(
        kSettingsApp, c_.project.Info().ProjectName, kDriveLetterKey);
    if (value && !value->empty()) return value->substr(0, 1);
  } catch (const std::exception&) {
  }
  return {};
}

std::string MultiCd::DriveLetter() {
  std::string letter = DriveLetterSetting();
  if (!letter.empty()) return letter;
  letter = DetectCDDrive();
  try {
    c_.windows.GetPlatform().Settings().Save(kSettingsApp, c_.project.Info().ProjectName,
                                             kDriveLetterKey, letter);
  } catch (const std::exception&) {
    // Detected again next time.
  }
  return letter;
}

std::optional<std::string> MultiCd::OnDrive(const std::string& letter, const std::string& cdPath) {
  if (letter.empty()) return std::nullopt;
  std::optional<std::string> folder = Drives().FolderOf(letter[0]);
  if (!folder) return std::nullopt;
  std::optional<std::string> game = CdGameFolder(*folder, c_.project.Info().GameTitle);
  if (!game) return std::nullopt;
  PathResolver& paths = c_.project.Paths();
  const std::vector<std::string>& roots = paths.Roots();
  if (std::find(roots.begin(), roots.end(), *game) == roots.end()) paths.AddRoot(*game);
  std::string path = *game + "/" + cdPath;
  std::optional<std::string> real = paths.Find(path);
  if (!real || !paths.FileExists(*real)) return std::nullopt;
  return real;
}

std::string MultiCd::DrivePath(const std::string& letter, const std::string& cdPath) {
  std::optional<std::string> folder = letter.empty() ? std::nullopt : Drives().FolderOf(letter[0]);
  std::string path =
      (folder ? *folder : letter + ":") + "/Data/" + c_.project.Info().GameTitle + "/" + cdPath;
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

std::string MultiCd::FindOnCD(const std::string& path) {
  if (!RunsFromCd()) return path;
  std::string letter = DriveLetter();

  // Any media file may lie in the CD's Frames folder, whatever folder the game asked for.
  if (auto found = MediaOnDrive(letter, kFramesOnCd + FileNameOfPath(path))) return *found;

  std::string wanted = Comparable(path);
  auto entry = std::find_if(index_.begin(), index_.end(), [&](const CdIndexEntry& e) {
    return Comparable(FolderOfKind(e.kind) + e.name) == wanted;
  });
  if (entry == index_.end()) return MapMediaExtension(path);
  std::string cdPath;
  switch (static_cast<CdFolderKind>(entry->kind)) {
    case CdFolderKind::Frames:
      cdPath = kFramesOnCd + entry->name;
      break;
    case CdFolderKind::Areas:
      cdPath = kAreasOnCd + entry->name;
      break;
    default:
      return path;
  }

  while (true) {
    if (auto found = MediaOnDrive(letter, cdPath)) return *found;
    Game* game = c_.game();
    if ((game && game->GameStopping()) || c_.windows.Loop().QuitRequested()) break;
    if (WaitForCd(entry->cd, cdPath, letter) == CdWait::Cancelled) break;
  }
  return DrivePath(letter, MapMediaExtension(cdPath));
}

std::optional<std::string> MultiCd::MediaOnDrive(const std::string& letter,
                                                 const std::string& cdPath) {
  if (auto found = OnDrive(letter, MapMediaExtension(cdPath))) return found;
  return OnDrive(letter, cdPath);
}

MultiCd::CdWait MultiCd::WaitForCd(std::int16_t cd, const std::string& cdPath,
                                   std::string& letter) {
  Game* game = c_.game();
  RunningTimers running;
  if (game) {
    running.timer1 = game->Timer1().TimerEnabled();
    if (ui::TimerControl* t = game->TimerMessageBox()) running.messageBox = t->TimerEnabled();
  }
  c_.project.HaltActivity();

  const InterfaceTexts& t = c_.project.Texts();
  DriveChoice choice = DriveChoice::Cancelled;
  {
    RunFromCdDialog dialog({c_.project, c_.windows, c_.display, Drives(), [game] {
                              if (game) game->SetGameStopping();
                            }});
    choice = dialog.ShowModal(t[47] + std::to_string(cd) + " " + t[48], letter + ":\\");
  }
  // Closing the dialog any other way than OK (its window closed, the program ending) gives up
  // as Cancel does: asking again would keep the person playing in the dialog for ever.
  if (choice != DriveChoice::Chosen || (game && game->GameStopping())) {
    if (game) game->StopEverything();
    return CdWait::Cancelled;
  }

  if (std::string chosen = DriveLetterSetting(); !chosen.empty()) letter = chosen;
  if (MediaOnDrive(letter, cdPath)) {
    if (game) {
      if (running.timer1) game->Timer1().SetEnabled(true);
      if (ui::TimerControl* timer = game->TimerMessageBox(); timer && running.messageBox)
        timer->SetEnabled(true);
      game->Subsystems().scripts->StartTimedEvents();
    }
    return CdWait::Found;
  }
  MessageBoxRequest box;
  box.title = c_.project.Info().GameTitle;
  box.text = t[45] + "\r\n\r\n" + DrivePath(letter, MapMediaExtension(cdPath)) + "\r\n\r\n" + t[46];
  box.icon = MsgIcon::Exclamation;
  c_.project.Messages().Show(box);
  return CdWait::WrongCd;
}

}  // namespace sl

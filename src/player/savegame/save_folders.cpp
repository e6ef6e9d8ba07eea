// The folders of saved games, their listing and the write target.
#include "player/savegame/save_folders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "core/file_io.h"
#include "core/path_resolver.h"
#include "core/runtime_error.h"
#include "player/savegame/save_name.h"
#include "player/startup/project.h"
#include "ui/controls/file_list_box.h"

namespace sl {

namespace {

constexpr const char* kSavesBelowDataHome = "storyloom/saves/";

std::string WithoutTrailingSlash(const std::string& folder) {
  if (folder.size() > 1 && folder.back() == '/') return folder.substr(0, folder.size() - 1);
  return folder;
}

std::string FolderOf(const std::string& realPath) {
  std::size_t slash = realPath.rfind('/');
  return slash == std::string::npos ? std::string() : realPath.substr(0, slash + 1);
}

// Whether new files can be made in a folder: tried, as permissions alone do not tell (a
// read-only file system, access rules beyond the mode bits).
bool CanCreateFilesIn(const std::string& folder) {
  std::string probe = folder + ".storyloom-probe-XXXXXX";
  int fd = mkstemp(probe.data());
  if (fd < 0) return false;
  close(fd);
  unlink(probe.c_str());
  return true;
}

std::int64_t ModificationTimeNs(const std::string& realPath) {
  struct stat st {};
  if (stat(realPath.c_str(), &st) != 0) return 0;
  return static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
}

}  // namespace

std::string SaveFolders::UserFolder() const {
  std::string base;
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  if (dataHome && *dataHome == '/') {
    base = dataHome;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || *home != '/') return {};
    base = std::string(home) + "/.local/share";
  }
  return base + "/" + kSavesBelowDataHome + SafeFolderName(project_.Info().ProjectName) + "/";
}

std::vector<std::string> SaveFolders::Listed() const {
  std::vector<std::string> folders{project_.Folders().ProjectFolder};
  std::string user = UserFolder();
  if (!user.empty() && user != folders.front()) {
    // The player's own folder of saved games is one the game's names may lead into.
    project_.Paths().AddRoot(user);
    folders.push_back(user);
  }
  return folders;
}

void SaveFolders::Forget(const std::string& folder) {
  DirectoryCache& cache = project_.Paths().Cache();
  for (std::string f = WithoutTrailingSlash(folder); !f.empty();) {
    cache.Invalidate(f);
    std::size_t slash = f.rfind('/');
    if (f == "/" || slash == std::string::npos) break;
    f = slash == 0 ? "/" : f.substr(0, slash);
  }
}

std::optional<std::string> SaveFolders::Find(const std::string& name) {
  PathResolver& paths = project_.Paths();
  std::vector<std::string> folders = Listed();
  // The player's folder first: a saved game there was written in place of the other.
  for (auto it = folders.rbegin(); it != folders.rend(); ++it) {
    Forget(*it);
    std::string file = *it + name + kExtension;
    if (paths.FileExists(file)) return paths.Find(file);
  }
  return std::nullopt;
}

std::string SaveFolders::WriteTarget(const std::string& name) {
  PathResolver& paths = project_.Paths();
  if (std::optional<std::string> existing = Find(name)) {
    if (CanCreateFilesIn(FolderOf(*existing))) return *existing;
  }
  auto resolved = [&](const std::string& path) {
    std::optional<std::string> real = paths.ResolveForWrite(path);
    if (!real) throw RuntimeError(kErrPathFileAccess);
    return *real;
  };
  const std::string& projectFolder = project_.Folders().ProjectFolder;
  std::string user = UserFolder();
  if (CanCreateFilesIn(projectFolder) || user.empty()) {
    return resolved(projectFolder + name + kExtension);
  }
  std::error_code ec;
  std::filesystem::create_directories(user, ec);
  Forget(user);
  paths.AddRoot(user);
  return resolved(user + name + kExtension);
}

bool SaveFolders::Delete(const std::string& realPath) {
  Forget(FolderOf(realPath));
  return project_.Paths().DeleteFile(realPath);
}

std::vector<SavedGameFile> ListSavedGames(ui::FileListBox& file1, SaveFolders& folders) {
  std::vector<SavedGameFile> found;
  for (const std::string& folder : folders.Listed()) {
    try {
      file1.SetPattern(std::string("*") + SaveFolders::kExtension);
      file1.SetPath(folder);  // and reads it afresh
    } catch (const RuntimeError&) {
      continue;  // a folder that is missing or unreadable lists nothing
    }
    for (int i = 0; i < file1.Items().Count(); ++i) {
      const std::string& file = file1.Items().At(i);
      if (file.size() <= 4) continue;
      std::string name = file.substr(0, file.size() - 4);
      if (!IsListableSaveName(name)) continue;
      // A saved game of the player's folder takes the place of one of the same name.
      std::erase_if(found, [&](const SavedGameFile& f) { return f.name == name; });
      std::string path = folder + file;
      found.push_back({name, path, ModificationTimeNs(path)});
    }
  }
  // Each goes before the first one that is newer; equal times keep the order of listing.
  std::vector<SavedGameFile> ordered;
  for (SavedGameFile& f : found) {
    auto later = std::find_if(ordered.begin(), ordered.end(),
                              [&](const SavedGameFile& o) { return o.modifiedNs > f.modifiedNs; });
    ordered.insert(later, std::move(f));
  }
  return ordered;
}

void SetModificationTime(const std::string& realPath, const CivilTime& when) {
  std::tm local{};
  local.tm_year = when.year - 1900;
  local.tm_mon = when.month - 1;
  local.tm_mday = when.day;
  local.tm_hour = when.hour;
  local.tm_min = when.minute;
  local.tm_sec = when.second;
  local.tm_isdst = -1;
  std::time_t seconds = std::mktime(&local);
  if (seconds == static_cast<std::time_t>(-1)) return;
  timespec times[2];
  times[0].tv_sec = times[1].tv_sec = seconds;
  times[0].tv_nsec = times[1].tv_nsec = static_cast<long>(when.millisecond) * 1'000'000;
  utimensat(AT_FDCWD, realPath.c_str(), times, 0);
}

}  // namespace sl

// Maps the file names of project data, written as on Windows ("Frames\Pic.JPG", "..\x", any
// letter case, '\' or '/' as separator), to the real files of a case-sensitive file system.
// Each component is matched exactly first, then without regard to case, folders included.
// Relative names are taken from the project folder. Existence tests, wildcard listings and the
// resolution itself share one DirectoryCache; files written or deleted through this class keep
// it current, and an observer hears of every such write or delete (for the trace).
//
// API:
//   PathResolver paths("/home/me/game");           // the project folder (real path)
//   paths.Find("frames\\pic.jpg")   -> optional real path of an existing file or folder
//   paths.ResolveForWrite("Saves\\New.sav") -> real path to create (existing folders matched)
//   paths.FileExists(p), paths.FolderExists(p)
//   paths.ListFiles("Frames\\*.FME") -> file names (not paths), sorted without regard to case
//   paths.ReadFile(p)               -> bytes; RuntimeError 53 when missing
//   paths.WriteFile(p, bytes)       -> written completely or not at all (temporary file, rename);
//                                      RuntimeError 76 (no such folder) or 75 on failure
//   paths.DeleteFile(p)             -> true when a file was deleted
//   paths.SetFileObserver(fn)       -> fn(FileOperation, realPath) after each write or delete
//   paths.NoteFileWritten(real) / NoteFileDeleted(real): for files written by other means
//   paths.RelativeToProject(real)   -> "Frames/Pic.JPG" inside the project, else the path whole
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/directory_cache.h"

namespace sl {

enum class FileOperation { Write, Delete };

class PathResolver {
 public:
  PathResolver() = default;
  explicit PathResolver(std::string_view projectFolder) { SetProjectFolder(projectFolder); }

  // Sets the folder relative names start from; made absolute, without a trailing '/'.
  void SetProjectFolder(std::string_view folder);
  const std::string& ProjectFolder() const noexcept { return projectFolder_; }

  std::optional<std::string> Find(std::string_view path);
  std::string ResolveForWrite(std::string_view path);
  bool FileExists(std::string_view path);
  bool FolderExists(std::string_view path);
  std::vector<std::string> ListFiles(std::string_view pattern);

  std::string ReadFile(std::string_view path);
  void WriteFile(std::string_view path, std::string_view bytes);
  bool DeleteFile(std::string_view path);

  using FileObserver = std::function<void(FileOperation, const std::string& realPath)>;
  void SetFileObserver(FileObserver observer) { observer_ = std::move(observer); }

  void NoteFileWritten(const std::string& realPath) { cache_.NoteFileWritten(realPath); }
  void NoteFileDeleted(const std::string& realPath) { cache_.NoteFileDeleted(realPath); }
  DirectoryCache& Cache() noexcept { return cache_; }

  std::string RelativeToProject(std::string_view realPath) const;

  // Absolute, '/'-separated form of a name, "." and ".." applied, no letter case changed.
  std::string Normalize(std::string_view path) const;

 private:
  struct Resolved {
    std::string path;
    bool found = false;
    bool isDirectory = false;
  };
  Resolved Resolve(std::string_view path, bool keepMissingTail);

  std::string projectFolder_;
  DirectoryCache cache_;
  FileObserver observer_;
  std::string folded_;  // scratch buffer for lookups
};

}  // namespace sl

// Maps the file names of project data, written as on Windows ("Frames\Pic.JPG", "..\x", any
// letter case, '\' or '/' as separator), to the real files of a case-sensitive file system.
// Each component is matched exactly first, then without regard to case, folders included.
// Relative names are taken from the project folder. Existence tests, wildcard listings and the
// resolution itself share one DirectoryCache; files written or deleted through this class keep
// it current, and an observer hears of every such write or delete (for the trace).
//
// Names come from downloaded games and are not trusted: a name resolves inside the game's
// folders (the roots: the project folder and the folders given to AddRoot, such as the copies
// of a game's CDs) or not at all. A name that climbs above them ("..\..\x", "/etc/x"), goes
// through a symbolic link that leads out of them, or names anything but a file or a folder (a
// pipe, a device) is missing to every reading call and refused by the writing ones.
//
// API:
//   PathResolver paths("/home/me/game");           // the project folder (real path)
//   paths.AddRoot("/media/cd1");    // one more folder names may lead into
//   paths.Contains("..\\x")         -> false: the name leads outside the game's folders
//   paths.Find("frames\\pic.jpg")   -> optional real path of an existing file or folder
//   paths.ResolveForWrite("Saves\\New.sav") -> real path to create (existing folders matched);
//                                      nullopt when the name leads outside the game's folders
//   paths.FileExists(p), paths.FolderExists(p)
//   paths.ListFiles("Frames\\*.FME") -> file names (not paths), sorted without regard to case
//   paths.ReadFile(p)               -> bytes; RuntimeError 53 when missing
//   paths.WriteFile(p, bytes)       -> written completely or not at all (temporary file, rename);
//                                      RuntimeError 76 (no such folder) or 75 on failure or when
//                                      the name leads outside the game's folders
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

  // Sets the folder relative names start from, the first root; made absolute, without a
  // trailing '/'.
  void SetProjectFolder(std::string_view folder);
  const std::string& ProjectFolder() const noexcept { return projectFolder_; }
  // Adds a folder that names may lead into besides the project folder.
  void AddRoot(std::string_view folder);
  // The project folder first, then the added roots.
  const std::vector<std::string>& Roots() const noexcept { return roots_; }
  // False when the name leads outside the roots (or to a pipe or a device): every call below
  // treats it as missing or refuses it. True for names inside, whether they exist or not.
  bool Contains(std::string_view path);

  std::optional<std::string> Find(std::string_view path);
  std::optional<std::string> ResolveForWrite(std::string_view path);
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

  // Absolute, '/'-separated form of a name, "." and ".." applied, no letter case changed. This
  // is text only: the result may lie outside the roots.
  std::string Normalize(std::string_view path) const;

 private:
  enum class Outcome { Found, Missing, Refused };
  struct Resolved {
    std::string path;  // the real path; for Missing with the missing tail kept, what to create
    Outcome outcome = Outcome::Missing;
    bool isDirectory = false;
  };
  enum class Tail { Drop, Keep };
  Resolved Resolve(std::string_view path, Tail missingTail);
  // The root a normalized name lies in, or null.
  const std::string* RootOf(std::string_view normalized) const;
  // Whether the real place a path leads to (links followed) lies inside a root.
  bool LeadsInside(const std::string& realPath) const;

  std::string projectFolder_;
  std::vector<std::string> roots_;
  DirectoryCache cache_;
  FileObserver observer_;
  std::string folded_;  // scratch buffer for lookups
};

}  // namespace sl

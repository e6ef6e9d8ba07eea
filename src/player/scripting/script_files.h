// The files scripts name (OpenFile, OpenExeFileAndWait, ReadINI, WriteINI, DDir, LoadAPicture,
// LoadGraphicFile): resolved as the project's own names are (backslashes, any letter case,
// relative to the project folder), and kept inside the project folder. A name that leads out of
// it (through "..", an absolute path elsewhere, a drive letter or a link) is refused and told
// to the observer; a refused write is error 75, "Path/File access error".
//
// API:
//   ScriptFiles files(project);
//   files.ForReading("Docs\\Help.txt")  -> real path of an existing file inside, or nullopt
//   files.ForWriting("Saves\\my.ini")    -> real path to write; RuntimeError 75 when outside
//   files.Checked("Setup.exe", FileAccess::Read)  -> real path; RuntimeError 75 when outside
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "player/desktop/request_observer.h"

namespace sl {

class Project;

class ScriptFiles {
 public:
  explicit ScriptFiles(Project& project) : project_(project) {}
  void SetObserver(RequestObserver* observer) { observer_ = observer; }

  std::optional<std::string> ForReading(std::string_view name);
  std::string ForWriting(std::string_view name) { return Checked(name, FileAccess::Write); }
  std::string Checked(std::string_view name, FileAccess access);
  // Whether a real path lies inside the project folder (links followed).
  bool Inside(const std::string& realPath) const;
  // The real path of `name` when it lies inside; otherwise tells the observer and returns
  // nullopt.
  std::optional<std::string> Resolved(std::string_view name, FileAccess access);

 private:
  Project& project_;
  RequestObserver* observer_ = nullptr;
};

}  // namespace sl

// What a run's trace hears of a game's requests to the world outside its folder: addresses,
// documents and programs handed to the desktop (or refused), and file names refused because
// they lead outside the game's folder.
#pragma once

#include <string>

namespace sl {

// One request to the desktop. `verb` is "open" (an address or a document) or "run" (a program);
// `target` an address or a real path. `asked` when the person playing was asked now, with the
// answer in `allowed`; `refused` when the request went no further.
struct ShellRequest {
  std::string verb;
  std::string target;
  bool asked = false;
  bool allowed = false;
  bool refused = false;
};

enum class FileAccess { Read, Write };

class RequestObserver {
 public:
  virtual ~RequestObserver() = default;
  virtual void ShellRequested(const ShellRequest& /*request*/) {}
  // A path outside the game's folder that a game asked to read or write.
  virtual void FileRefused(FileAccess /*access*/, const std::string& /*path*/) {}
};

}  // namespace sl

// Handing addresses, documents and programs to the desktop on behalf of a game. Games are
// untrusted downloads, so one policy decides what goes through: web and e-mail addresses go
// at once; a game's documents, pictures, sounds, videos and web pages open at once; any other
// file, any other kind of address and every program only after the person playing agreed in a
// message box of the player (default No). The answer is remembered per game and target in the
// settings. Every request, handed over or refused, is told to the observer (the trace).
//
// API:
//   DesktopRequests desktop(platform, project);
//   desktop.OpenAddress("https://example.org/")    // a script's OpenURL or SendEmail
//   desktop.OpenLink("mailto:me@example.org", ask) // a title-window link: other schemes refused
//   desktop.OpenDocument("/games/x/Readme.txt")   // a real path inside the game's folder
//   Outcome o; auto child = desktop.StartProgram("/games/x/Setup.exe", o);
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "player/desktop/request_observer.h"

namespace sl {

class Project;
namespace ui {
class Platform;
class ChildProcess;
}  // namespace ui

class DesktopRequests {
 public:
  enum class Outcome {
    HandedOver,  // the desktop took it
    Refused,     // the policy or the person playing said no
    Failed,      // allowed, but the desktop could not take it
  };

  DesktopRequests(ui::Platform& platform, Project& project);
  void SetObserver(RequestObserver* observer) { observer_ = observer; }

  // An address a script names: http, https and mailto at once, other schemes after asking. An
  // address without a scheme that starts with "www." is a web address.
  Outcome OpenAddress(std::string_view address);
  // A link of the title window: http, https and mailto go to the desktop once `confirm` (the
  // window's own question) says yes; anything else is refused with a message, unasked.
  Outcome OpenLink(std::string_view address, const std::function<bool()>& confirm);
  // A file inside the game's folder (real path).
  Outcome OpenDocument(const std::string& realPath);
  // Starts a program inside the game's folder (real path) once the person playing agreed; null
  // when refused or when it cannot start (`outcome` says which).
  std::unique_ptr<ui::ChildProcess> StartProgram(const std::string& realPath, Outcome& outcome);

  // Whether a file opens without asking: by its extension, a document, picture, sound, video or
  // web page.
  static bool IsDocument(std::string_view path);
  // The lower-case scheme of an address ("https"), or "" when it has none (a drive letter is no
  // scheme).
  static std::string SchemeOf(std::string_view address);
  // An address as it is handed over: "www." without a scheme is a web address; a mail address
  // loses the parameters that would make a mail program attach files.
  static std::string Normalized(std::string_view address);

 private:
  enum class Kind { Address, File, Program };
  // Asks (or takes the remembered answer); fills the record's asked/allowed/refused.
  bool Permitted(Kind kind, std::string_view target, ShellRequest& record);
  Outcome HandOver(ShellRequest& record, std::string_view target);
  void Tell(const ShellRequest& record);

  ui::Platform& platform_;
  Project& project_;
  RequestObserver* observer_ = nullptr;
};

}  // namespace sl

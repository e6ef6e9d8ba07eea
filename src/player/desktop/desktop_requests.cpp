// The desktop policy: addresses, documents, programs.
#include "player/desktop/desktop_requests.h"

#include <array>
#include <cstdint>
#include <cstdio>

#include "core/case_fold.h"
#include "core/message_box.h"
#include "core/path_resolver.h"
#include "player/startup/project.h"
#include "ui/platform.h"

namespace sl {

namespace {

constexpr std::string_view kVerbOpen = "open";
constexpr std::string_view kVerbRun = "run";
constexpr std::string_view kSettingsApp = "Software";

constexpr std::array<std::string_view, 3> kDirectSchemes = {"http", "https", "mailto"};

// Extensions of the files a game may open without asking: documents and web pages, pictures,
// sounds, videos.
constexpr std::array<std::string_view, 40> kDocumentExtensions = {
    "txt",  "rtf",  "pdf",  "doc", "docx", "odt",  "htm", "html", "xml",  "csv",
    "xls",  "xlsx", "ods",  "ppt", "pptx", "odp",  "bmp", "jpg",  "jpeg", "gif",
    "png",  "ico",  "wmf",  "emf", "tif",  "tiff", "wav", "mp3",  "wma",  "mid",
    "midi", "ogg",  "flac", "avi", "mpg",  "mpeg", "wmv", "mp4",  "mkv",  "mov"};

template <std::size_t N>
bool InList(const std::array<std::string_view, N>& list, std::string_view value) {
  for (std::string_view entry : list) {
    if (entry == value) return true;
  }
  return false;
}

// A mail program may attach a file an address names ("?attach=..."): such parameters go.
std::string WithoutAttachments(std::string_view mailto) {
  std::size_t query = mailto.find('?');
  if (query == std::string_view::npos) return std::string(mailto);
  std::string out(mailto.substr(0, query));
  char joiner = '?';
  std::string_view rest = mailto.substr(query + 1);
  while (!rest.empty()) {
    std::size_t amp = rest.find('&');
    std::string_view part = rest.substr(0, amp);
    rest = amp == std::string_view::npos ? std::string_view() : rest.substr(amp + 1);
    std::string name = FoldCase(part.substr(0, part.find('=')));
    if (name == "attach" || name == "attachment") continue;
    out += joiner;
    out += part;
    joiner = '&';
  }
  return out;
}

// The settings key of a remembered answer: a hash of the target, so that any target makes a
// plain key, and one that a game's own stored parameters (keys ending in "_") can never be.
std::string AnswerKey(std::string_view verb, std::string_view target) {
  std::uint64_t h = 14695981039346656037ull;
  for (char c : target) {
    h ^= static_cast<unsigned char>(c);
    h *= 1099511628211ull;
  }
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
  return "Allowed " + std::string(verb) + " " + hex;
}

}  // namespace

DesktopRequests::DesktopRequests(ui::Platform& platform, Project& project)
    : platform_(platform), project_(project) {}

std::string DesktopRequests::SchemeOf(std::string_view address) {
  std::size_t colon = address.find(':');
  if (colon == std::string_view::npos || colon < 2) return {};
  for (std::size_t i = 0; i < colon; ++i) {
    char c = address[i];
    bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    bool other = i > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.');
    if (!letter && !other) return {};
  }
  return FoldCase(address.substr(0, colon));
}

bool DesktopRequests::IsDocument(std::string_view path) {
  std::size_t dot = path.find_last_of('.');
  std::size_t slash = path.find_last_of("/\\");
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
    return false;
  }
  return InList(kDocumentExtensions, FoldCase(path.substr(dot + 1)));
}

void DesktopRequests::Tell(const ShellRequest& record) {
  if (observer_) observer_->ShellRequested(record);
}

bool DesktopRequests::Permitted(Kind kind, std::string_view target, ShellRequest& record) {
  std::string shown =
      kind == Kind::Address ? std::string(target) : project_.Paths().RelativeToProject(target);
  ui::UserSettings& settings = platform_.Settings();
  const std::string& section = project_.Info().ProjectName;
  std::string key = AnswerKey(record.verb, shown);
  if (std::optional<std::string> remembered = settings.Get(kSettingsApp, section, key))
    return *remembered == "1";
  const char* what = kind == Kind::Program ? "start the program"
                     : kind == Kind::File  ? "open the file"
                                           : "open the address";
  MessageBoxRequest box;
  box.title = project_.Info().GameTitle;
  box.text = "This game wants to " + std::string(what) + " \"" + shown + "\". Allow it?";
  box.buttons = MsgButtons::YesNo;
  box.icon = MsgIcon::Exclamation;
  box.defaultButton = 1;
  record.asked = true;
  record.allowed = project_.Messages().Show(box) == MsgAnswer::Yes;
  settings.Save(kSettingsApp, section, key, record.allowed ? "1" : "0");
  return record.allowed;
}

DesktopRequests::Outcome DesktopRequests::HandOver(ShellRequest& record, std::string_view target) {
  bool taken = platform_.ShellOpen(kVerbOpen, target);
  Tell(record);
  return taken ? Outcome::HandedOver : Outcome::Failed;
}

std::string DesktopRequests::Normalized(std::string_view address) {
  std::string target(address);
  std::string scheme = SchemeOf(target);
  if (scheme.empty() && FoldCase(target.substr(0, 4)) == "www.") target = "http://" + target;
  if (scheme == "mailto") target = WithoutAttachments(target);
  return target;
}

DesktopRequests::Outcome DesktopRequests::OpenAddress(std::string_view address) {
  std::string target = Normalized(address);
  ShellRequest record{std::string(kVerbOpen), target};
  if (!InList(kDirectSchemes, SchemeOf(target)) && !Permitted(Kind::Address, target, record)) {
    record.refused = true;
    Tell(record);
    return Outcome::Refused;
  }
  return HandOver(record, target);
}

DesktopRequests::Outcome DesktopRequests::OpenLink(std::string_view address,
                                                   const std::function<bool()>& confirm) {
  std::string target = Normalized(address);
  ShellRequest record{std::string(kVerbOpen), target};
  if (!InList(kDirectSchemes, SchemeOf(target))) {
    record.refused = true;
    Tell(record);
    MessageBoxRequest box;
    box.title = project_.Info().GameTitle;
    box.text = "The address \"" + target +
               "\" is not opened: only web (http, https) and e-mail (mailto) addresses are.";
    box.icon = MsgIcon::Exclamation;
    project_.Messages().Show(box);
    return Outcome::Refused;
  }
  if (!confirm()) return Outcome::Refused;
  return HandOver(record, target);
}

DesktopRequests::Outcome DesktopRequests::OpenDocument(const std::string& realPath) {
  ShellRequest record{std::string(kVerbOpen), realPath};
  if (!IsDocument(realPath) && !Permitted(Kind::File, realPath, record)) {
    record.refused = true;
    Tell(record);
    return Outcome::Refused;
  }
  return HandOver(record, realPath);
}

std::unique_ptr<ui::ChildProcess> DesktopRequests::StartProgram(const std::string& realPath,
                                                                Outcome& outcome) {
  ShellRequest record{std::string(kVerbRun), realPath};
  if (!Permitted(Kind::Program, realPath, record)) {
    record.refused = true;
    Tell(record);
    outcome = Outcome::Refused;
    return nullptr;
  }
  std::unique_ptr<ui::ChildProcess> child = platform_.StartProgram(realPath);
  Tell(record);
  outcome = child ? Outcome::HandedOver : Outcome::Failed;
  return child;
}

}  // namespace sl

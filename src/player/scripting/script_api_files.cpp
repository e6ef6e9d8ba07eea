// The script API's file methods: opening documents and programs, pictures, INI files and
// directory listings, all through the path rules of ScriptFiles.
#include <algorithm>

#include "core/case_fold.h"
#include "core/ini_file.h"
#include "core/path_resolver.h"
#include "core/runtime_error.h"
#include "core/variant_convert.h"
#include "core/wildcard.h"
#include "player/desktop/desktop_requests.h"
#include "player/engine/game.h"
#include "player/scripting/script_api.h"
#include "player/scripting/scripting.h"
#include "player/startup/project.h"
#include "ui/control.h"
#include "ui/control_members.h"
#include "ui/controls/timer_control.h"
#include "ui/draw/picture_cache.h"
#include "ui/form.h"
#include "ui/picture_object.h"
#include "ui/platform.h"
#include "ui/window_manager.h"

namespace sl {

namespace {

using A = VBScriptActionModule;

// What the classic INI service returns at most: a 255-character buffer less its end mark.
constexpr std::size_t kIniValueLength = 254;
constexpr std::int16_t kAttributeHidden = 2;
constexpr std::int16_t kAttributeDirectory = 16;

// A name without a folder part is one of the project folder's files.
std::string InProjectFolder(Project& project, const std::string& name) {
  if (name.find('\\') != std::string::npos || name.find('/') != std::string::npos) return name;
  return project.Folders().ProjectFolder + name;
}

// The first `count` characters of UTF-8 text.
std::string FirstCharacters(const std::string& text, std::size_t count) {
  std::size_t i = 0;
  for (std::size_t n = 0; i < text.size() && n < count; ++n) {
    ++i;
    while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
      ++i;
  }
  return text.substr(0, i);
}

}  // namespace

// ---- Documents and programs ----

void A::OpenFile(const std::string& sFileTitle) {
  if (sFileTitle.empty()) return;
  try {
    std::string name = InProjectFolder(host_.GetProject(), sFileTitle);
    std::string real = host_.Files().Checked(name, FileAccess::Read);
    if (!host_.GetProject().Paths().FileExists(real)) throw RuntimeError(kErrFileNotFound);
    if (host_.Desktop().OpenDocument(real) == DesktopRequests::Outcome::Failed)
      throw RuntimeError(kErrPathFileAccess);
  } catch (const RuntimeError& e) {
    ShowError(" Error opening the file titled '" + sFileTitle + "'.\r\n\r\n" + e.Description());
  }
}

void A::OpenExeFileAndWait(const std::string& sFileTitle) {
  if (sFileTitle.empty()) return;
  Game& g = host_.GameWindow();
  bool timerWasEnabled = g.Timer1().TimerEnabled();
  g.Form().SetEnabled(false);
  g.Timer1().SetEnabled(false);
  try {
    std::string name = InProjectFolder(host_.GetProject(), sFileTitle);
    std::string real = host_.Files().Checked(name, FileAccess::Read);
    if (!host_.GetProject().Paths().FileExists(real)) throw RuntimeError(kErrFileNotFound);
    DesktopRequests::Outcome outcome;
    std::unique_ptr<ui::ChildProcess> child = host_.Desktop().StartProgram(real, outcome);
    if (outcome == DesktopRequests::Outcome::Failed) throw RuntimeError(kErrPathFileAccess);
    if (child) {
      // The platform wakes the loop when the program ends, so the wait uses no CPU.
      ui::EventLoop& loop = host_.Windows().Loop();
      host_.WhileBlocked([&] {
        while (child->Running() && !loop.QuitRequested())
          loop.WaitEvents();
      });
    }
  } catch (const RuntimeError& e) {
    ShowError(" Error opening the file titled '" + sFileTitle + "'.\r\n\r\n" + e.Description());
  }
  g.Form().SetEnabled(true);
  g.Timer1().SetEnabled(timerWasEnabled);
}

// ---- Pictures ----

std::optional<std::string> A::PicturePath(const std::string& sFilename, std::string& resolved) {
  Project& project = host_.GetProject();
  resolved = project.FindMediaFile(project.Folders().AreasFolder + sFilename);
  return host_.Files().ForReading(resolved);
}

void A::LoadAPicture(const Variant& refControl, const std::string& sFilename) {
  std::string resolved;
  try {
    Variant picture = ui::PictureToVariant(draw::Picture());
    if (!sFilename.empty()) {
      std::optional<std::string> real = PicturePath(sFilename, resolved);
      if (!real) return;
      picture = ui::PictureToVariant(host_.Pictures().Load(*real));
    }
    ui::Control& control = ui::ControlFromVariant(refControl);
    DispId id = control.GetIdOfName("Picture");
    if (id == kDispIdUnknown) throw RuntimeError(kErrNoSuchMember);
    control.Invoke(id, kInvokeSet, std::span<Variant>(&picture, 1));
  } catch (const RuntimeError& e) {
    ShowError(" Error loading the following picture:'\r\n" + resolved + "'.\r\n\r\n" +
              e.Description());
  }
}

Variant A::LoadGraphicFile(const std::string& sFilename) {
  std::string resolved;
  try {
    if (sFilename.empty()) return ui::PictureToVariant(draw::Picture());
    std::optional<std::string> real = PicturePath(sFilename, resolved);
    if (!real) return Variant::Nothing();
    return ui::PictureToVariant(host_.Pictures().Load(*real));
  } catch (const RuntimeError& e) {
    ShowError(" Error loading the following graphic file:'\r\n" + resolved + "'.\r\n\r\n" +
              e.Description());
    return Variant::Nothing();
  }
}

// ---- INI files ----

std::string A::ReadINI(const std::string& sFilename, const std::string& sSection,
                       const std::string& sKeyName) {
  if (sFilename.empty() || sSection.empty() || sKeyName.empty()) return {};
  std::optional<std::string> real =
      host_.Files().ForReading(InProjectFolder(host_.GetProject(), sFilename));
  if (!real) return {};
  return FirstCharacters(ReadProfileString(host_.GetProject().Paths(), *real, sSection, sKeyName),
                         kIniValueLength);
}

std::int16_t A::WriteINI(const std::string& sFilename, const std::string& sSection,
                         const std::string& sKeyName, const Variant& vNewString) {
  if (sFilename.empty() || sSection.empty() || sKeyName.empty()) return 0;
  try {
    std::string real = host_.Files().ForWriting(InProjectFolder(host_.GetProject(), sFilename));
    WriteProfileString(host_.GetProject().Paths(), real, sSection, sKeyName, ToUtf8(vNewString));
  } catch (const RuntimeError&) {
    // Failures of the write are ignored, a refused path included (it is in the trace).
  }
  return 0;
}

// ---- Directory listings ----

// As the classic Dir: a pattern starts a listing and gives its first name; an empty pattern
// gives the next name of the last listing; "" when there are no more. Names of the project's
// folders only; directories only with the directory attribute, hidden files with the hidden one.
std::string A::DDir(const std::string& sPathName, std::int16_t iAttributes) {
  if (!sPathName.empty()) {
    dirMatches_.clear();
    dirNext_ = 0;
    PathResolver& paths = host_.GetProject().Paths();
    std::size_t cut = sPathName.find_last_of("/\\");
    std::string folderName =
        cut == std::string::npos ? std::string() : sPathName.substr(0, cut + 1);
    std::string pattern = cut == std::string::npos ? sPathName : sPathName.substr(cut + 1);
    std::optional<std::string> folder =
        host_.Files().Resolved(folderName.empty() ? "." : folderName, FileAccess::Read);
    if (!folder || !paths.FolderExists(*folder) || pattern.empty()) return {};
    const DirectoryCache::Listing& listing = paths.Cache().Get(*folder);
    std::string folded = FoldCase(pattern);
    for (const auto& [name, entry] : listing.entries) {
      if (entry.IsFolder() && !(iAttributes & kAttributeDirectory)) continue;
      if (name.starts_with('.') && !(iAttributes & kAttributeHidden)) continue;
      if (WildcardMatchFolded(folded, entry.folded)) dirMatches_.push_back(name);
    }
    std::sort(dirMatches_.begin(), dirMatches_.end(),
              [](const auto& a, const auto& b) { return CompareIgnoreCase(a, b) < 0; });
  }
  if (dirNext_ >= dirMatches_.size()) return {};
  return dirMatches_[dirNext_++];
}

}  // namespace sl

// Project set-up and the shared routines that find project files.
#include "player/startup/project.h"

#include <filesystem>

#include "core/data_file_reader.h"
#include "core/message_box.h"
#include "core/path_resolver.h"
#include "core/runtime_error.h"
#include "player/startup/shared_routines.h"

namespace sl {

namespace {

// Runs one set-up step; an error in it is ignored and the next step runs.
template <class F>
void IgnoringErrors(F&& step) {
  try {
    step();
  } catch (const std::exception&) {
  }
}

}  // namespace

Project::Project(PathResolver& paths, MessageBoxService& messages)
    : paths_(paths), messages_(messages) {}

void Project::SetUpFolders(std::string_view programFolder) {
  std::error_code ec;
  std::string folder(programFolder.empty() ? std::string_view(".") : programFolder);
  folder = std::filesystem::absolute(folder, ec).lexically_normal().string();
  paths_.SetProjectFolder(folder);
  // One separator at the end, also for the root folder.
  std::string root = paths_.ProjectFolder();
  folders_.ProjectFolder = root == "/" ? root : root + "/";
  const std::string& p = folders_.ProjectFolder;
  folders_.FramesDataFolder = p + "FramesData/";
  folders_.FramesFolder = p + "Frames/";
  folders_.AreasFolder = p + "Areas/";
  folders_.IconsFolder = p + "Icons/";
  folders_.ConfigFolder = p + "Config/";
  if (folders_.SchemesFolder.empty()) folders_.SchemesFolder = p + "Schemes/";
  if (folders_.InventoryFolder.empty()) folders_.InventoryFolder = p + "Inventory/";
}

SetUpResult Project::SetUpProject(std::string_view programFolder) {
  IgnoringErrors([&] { display_->RecordDisplaySettings(); });
  if (folders_.ProjectFolder.empty()) IgnoringErrors([&] { SetUpFolders(programFolder); });
  IgnoringErrors([&] {
    if (!paths_.FileExists(folders_.ConfigFolder + "Texts")) texts_.LoadBuiltInTexts(false);
  });
  IgnoringErrors([&] { activity_->ClearFrameInfo(); });
  IgnoringErrors([&] { texts_.LoadInterfaceTexts(paths_, folders_.ConfigFolder, messages_); });

  std::string general = folders_.ConfigFolder + "General";
  if (!paths_.FileExists(general)) {
    MessageBoxRequest box;
    box.title = texts_[29];
    box.text = texts_[33] + " " + general;
    box.icon = MsgIcon::Exclamation;
    messages_.Show(box);
    return SetUpResult::NotAGame;
  }
  bool largeFonts = false;
  IgnoringErrors([&] { largeFonts = display_->UsesLargeFonts(); });
  if (largeFonts) {
    MessageBoxRequest box;
    box.title = "!!!";
    box.text = texts_[40] + "\r\n\r\n" + texts_[41];
    box.buttons = MsgButtons::YesNo;
    box.icon = MsgIcon::Exclamation;
    box.defaultButton = 1;
    if (messages_.Show(box) == MsgAnswer::No) return SetUpResult::EndProgram;
  }
  IgnoringErrors([&] { LoadProjectInformation(); });
  IgnoringErrors([&] { cd_->StartUpCheck(); });
  return SetUpResult::Continue;
}

void Project::LoadProjectInformation() {
  SetProjectInformationDefaults(info_);
  try {
    DataFileReader reader(paths_.ReadFile(folders_.ConfigFolder + "General"));
    ReadProjectInformation(reader, info_);
  } catch (const std::exception&) {
    ShowError(" Error loading project information.");
  }
  std::string asked =
      std::to_string(info_.PictureWidth) + " x " + std::to_string(info_.PictureHeight);
  if (CapPictureSize(info_)) {
    MessageBoxRequest box;
    box.title = texts_[29];
    box.text = "The frame picture size of this game, " + asked +
               " pixels, is larger than the player shows; " + std::to_string(info_.PictureWidth) +
               " x " + std::to_string(info_.PictureHeight) + " pixels are used.";
    box.icon = MsgIcon::Exclamation;
    messages_.Show(box);
  }
}

void Project::ShowError(const std::string& sentence, MsgIcon icon) {
  MessageBoxRequest box;
  box.title = texts_[29];
  box.text = texts_.ErrorLead() + sentence;
  box.icon = icon;
  messages_.Show(box);
}

std::string Project::FindMediaFile(const std::string& path) {
  try {
    MediaLookup found = LocateMediaFile(path);
    if (!found.exists && !GameStopping()) {
      MessageBoxRequest box;
      box.title = texts_[29];
      box.text = texts_[33] + "\r\n" + found.path + "\r\n\r\n" + texts_[34];
      box.icon = MsgIcon::Exclamation;
      messages_.Show(box);
    }
    return found.path;
  } catch (const std::exception&) {
    return path;  // never fails; the caller's own load reports the problem
  }
}

Project::MediaLookup Project::LocateMediaFile(const std::string& path) {
  if (paths_.FileExists(path)) return {path, true};
  std::string p = path;
  if (path.size() >= 5) {
    p = MapMediaExtension(path);
    if (paths_.FileExists(p)) return {p, true};
  }
  p = cd_->CdLocation(path);
  return {p, !SafeDir(p).empty()};
}

std::string Project::SafeDir(std::string_view path) {
  try {
    std::string pattern(path);
    if (pattern.empty()) return {};
    // A folder alone lists its files, as a listing of the folder does.
    if (pattern.back() == '/' || pattern.back() == '\\') pattern += '*';
    auto names = paths_.ListFiles(pattern);
    return names.empty() ? std::string() : names.front();
  } catch (const std::exception&) {
    return {};
  }
}

void Project::DeleteFileIfExists(std::string_view path) {
  try {
    paths_.DeleteFile(path);
  } catch (const std::exception&) {
  }
}

}  // namespace sl

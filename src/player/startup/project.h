// The project being played: its folders, its information and its interface texts, set up once
// at start-up and read by every subsystem; and the shared routines that find its files.
// One object owns what were module globals; it is handed to whoever needs it.
//
// API:
//   Project project(paths, messages);            // a PathResolver and a MessageBoxService
//   project.SetDisplayChecks(&d); SetCdLookup(&c); SetActivityTargets(&a);   (optional)
//   project.SetGameStoppingQuery([&] { return game.GameStopping(); });     (optional)
//   if (project.SetUpProject("/path/of/game") != SetUpResult::Continue) exit
//   project.Folders().FramesFolder, project.Info().GameTitle, project.Texts()[29]
//   project.FindMediaFile(project.Folders().AreasFolder + "Music.mp3")
//   project.SafeDir(pattern), project.DeleteFileIfExists(path), project.HaltActivity()
// Folder values end in '/', and the project's own names ("Frames\Pic.JPG") are appended to
// them as they stand: every file access goes through the PathResolver, which accepts both.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/message_box.h"
#include "player/startup/interface_texts.h"
#include "player/startup/project_information.h"
#include "player/startup/startup_hooks.h"

namespace sl {

class PathResolver;

struct ProjectFolders {
  std::string ProjectFolder;     // the project folder with a trailing separator
  std::string FramesDataFolder;  // per-frame data of hotspots, actions, items, text boxes
  std::string FramesFolder;      // frame files, backgrounds, videos, frame sounds
  std::string AreasFolder;       // hotspot and item pictures, sounds, music
  std::string IconsFolder;       // pointer pictures
  std::string ConfigFolder;      // "General", "Texts", "More", ...
  std::string SchemesFolder;     // title-screen schemes
  std::string InventoryFolder;   // inventory bar pictures
};

enum class SetUpResult {
  Continue,
  EndProgram,  // the person playing refused to go on (large fonts)
  NotAGame     // the folder has no project information file: told, and the program ends
};

class Project {
 public:
  Project(PathResolver& paths, MessageBoxService& messages);

  void SetDisplayChecks(DisplayChecks* display) { display_ = display ? display : &noDisplay_; }
  void SetCdLookup(CdLookup* cd) { cd_ = cd ? cd : &noCd_; }
  void SetActivityTargets(ActivityTargets* a) { activity_ = a ? a : &noActivity_; }
  void SetGameStoppingQuery(std::function<bool()> query) { gameStopping_ = std::move(query); }

  // The start-up routine; programFolder is the executable's folder or the one given on the
  // command line. NotAGame when "General" is missing, EndProgram when large fonts were refused.
  SetUpResult SetUpProject(std::string_view programFolder);
  // Sets the defaults and reads "General"; an error shows the standard report.
  void LoadProjectInformation();

  std::string FindMediaFile(const std::string& path);
  // FindMediaFile without its warning: the path it would return, and whether a file is there.
  struct MediaLookup {
    std::string path;
    bool exists = false;
  };
  MediaLookup LocateMediaFile(const std::string& path);
  std::string SafeDir(std::string_view path);
  void DeleteFileIfExists(std::string_view path);
  void HaltActivity() { activity_->HaltActivity(); }

  const ProjectFolders& Folders() const noexcept { return folders_; }
  const ProjectInformation& Info() const noexcept { return info_; }
  ProjectInformation& MutableInfo() noexcept { return info_; }  // DefaultPointer may change
  const InterfaceTexts& Texts() const noexcept { return texts_; }
  InterfaceTexts& MutableTexts() noexcept { return texts_; }
  PathResolver& Paths() noexcept { return paths_; }
  MessageBoxService& Messages() noexcept { return messages_; }
  // The standard error report: title entry 29, the error lead, then `sentence` (which starts
  // with a space).
  void ShowError(const std::string& sentence, MsgIcon icon = MsgIcon::Critical);

 private:
  void SetUpFolders(std::string_view programFolder);
  bool GameStopping() const { return gameStopping_ && gameStopping_(); }

  PathResolver& paths_;
  MessageBoxService& messages_;
  DisplayChecks noDisplay_;
  CdLookup noCd_;
  ActivityTargets noActivity_;
  DisplayChecks* display_ = &noDisplay_;
  CdLookup* cd_ = &noCd_;
  ActivityTargets* activity_ = &noActivity_;
  std::function<bool()> gameStopping_;

  ProjectFolders folders_;
  ProjectInformation info_;
  InterfaceTexts texts_;
};

}  // namespace sl

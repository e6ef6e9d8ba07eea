// The game check (see game_check.h).
#include "player/check/game_check.h"

#include <algorithm>

#include "core/case_fold.h"
#include "core/data_file_reader.h"
#include "core/path_resolver.h"
#include "core/recording_message_box.h"
#include "core/runtime_error.h"
#include "player/engine/frame_file.h"
#include "player/engine/game.h"
#include "player/hotspots/action_record.h"
#include "player/hotspots/area_record.h"
#include "player/inventory/combination_file.h"
#include "player/media/sound_channels.h"
#include "player/player.h"
#include "player/scripting/scripting.h"
#include "player/startup/project.h"
#include "player/startup/shared_routines.h"
#include "player/variables/variable_store.h"
#include "vbscript/errors.h"

namespace sl {

namespace {

constexpr const char* kLastVisitedFrame = "[last visited frame]";
// The procedures file starts with header lines before the procedures' own.
constexpr int kProceduresHeaderLines = 3;

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

// What an action record names that the check follows up besides its fields.
class NamesOfAction final : public ActionRecordEffects {
 public:
  void SetChannel(int /*channel*/, const ChannelLine& line) override {
    if (!line.file.empty()) channelFiles.push_back(line.file);
  }
  void PickUp(const std::string& item) override { pickedUp.push_back(item); }

  std::vector<std::string> channelFiles;
  std::vector<std::string> pickedUp;
};

}  // namespace

GameCheck::GameCheck(Player& player, RecordingMessageBoxService& messages, std::string folder)
    : player_(player),
      messages_(messages),
      project_(player.GetProject()),
      paths_(player.GetProject().Paths()),
      scripts_(player.Scripts()),
      folder_(std::move(folder)) {}

template <class F>
bool GameCheck::Quietly(F&& load) {
  std::size_t before = messages_.Shown().size();
  load();
  return messages_.Shown().size() == before;
}

CheckResult GameCheck::Run() {
  result_ = {};
  if (project_.SetUpProject(folder_) == SetUpResult::NotAGame) {
    result_.notAGame = true;
    return result_;
  }
  CheckInformation();
  // The game window's objects, the variables and the procedures, as a new game has them.
  Game& game = player_.EnsureGame();
  VariableStore& variables = player_.Variables();
  if (!Quietly([&] { variables.LoadVariables(); }))
    Report({ShownName(project_.Folders().ConfigFolder + "Variables"), {}}, "does not read");
  // The game window's controls count as declared: a game may allow scripts to use them at any
  // time (Action.AllowControlsReferencesNextTime), and a name told wrongly is worse than one
  // not told.
  game.ControlsReferencesMode = kControlsReferencesAllowed;
  CheckProcedures();
  std::vector<std::string> frames = paths_.ListFiles(project_.Folders().FramesFolder + "*.fme");
  for (const std::string& file : frames)
    CheckFrame(file.substr(0, file.size() - 4));
  CheckItems();
  CheckCombinations();
  return result_;
}

void GameCheck::CheckInformation() {
  const ProjectFolders& folders = project_.Folders();
  Place at{ShownName(folders.ConfigFolder + "General"), {}};
  DataFileReader reader("");
  if (!Open(folders.ConfigFolder + "General", reader, at)) return;
  ProjectInformation info;
  SetProjectInformationDefaults(info);
  try {
    ReadProjectInformation(reader, info);
  } catch (const RuntimeError& e) {
    Report(at, "does not read: " + e.Description());
  }
  const ProjectInformation& used = project_.Info();
  if (!paths_.FileExists(folders.FramesFolder + used.InitialFrame + ".fme"))
    Report(at, "the first frame " + Quoted(used.InitialFrame) + " is missing");
  if (!IsNoneOrDefault(used.DefaultPointer))
    CheckMedia(at, "cursor", folders.IconsFolder + used.DefaultPointer);
}

void GameCheck::CheckProcedures() {
  Place at{ShownName(project_.Folders().ConfigFolder + "Procedures"), {}};
  if (!Quietly([&] { scripts_.LoadProcedures(); })) Report(at, "does not read");
  ++result_.scripts;
  try {
    for (const vbs::UndeclaredName& n : scripts_.CheckProcedures()) {
      Report({at.file, "line " + std::to_string(n.line + kProceduresHeaderLines)},
             Quoted(n.name) + " is used but not declared");
    }
    proceduresCompiled_ = true;
  } catch (const vbs::ScriptError& e) {
    Report({at.file, "line " + std::to_string(e.Line() + kProceduresHeaderLines)},
           e.FullDescription());
  }
}

void GameCheck::CheckFrame(const std::string& frame) {
  ++result_.frames;
  CheckFrameFile(frame);
  CheckHotspots(frame);
  CheckActions(frame);
  CheckItemUses(frame);
}

void GameCheck::CheckFrameFile(const std::string& frame) {
  const ProjectFolders& folders = project_.Folders();
  Place at{{}, {}};
  DataFileReader reader("");
  if (!Open(folders.FramesFolder + frame + ".fme", reader, at)) return;
  FrameFile f;
  SoundChannels channels(player_.EnsureGame().MPlayer());
  try {
    ReadFrameFile(reader, f, channels);
  } catch (const RuntimeError& e) {
    Report(at, "does not read: " + e.Description());
    return;
  }
  if (f.header.BackgroundKind == 1 && !f.header.BackgroundSource.empty())
    CheckMedia(at, "picture", folders.FramesFolder + f.header.BackgroundSource);
  if (!f.MusicFile.empty()) CheckMedia(at, "music", folders.AreasFolder + f.MusicFile);
  if (!f.VideoFile.empty()) CheckMedia(at, "video", folders.FramesFolder + f.VideoFile);
  if (!f.FrameSound.empty()) CheckMedia(at, "sound", folders.FramesFolder + f.FrameSound);
  for (int c = 1; c <= SoundChannels::kChannels; ++c) {
    const SoundChannel& channel = channels.Channel(c);
    if (channel.keep && !channel.file.empty())
      CheckMedia(at, "sound", folders.AreasFolder + channel.file);
  }
  if (f.TimerEnabled && !f.TimerTarget.empty() && FoldCase(f.TimerTarget) != kLastVisitedFrame) {
    CheckFrameLink({at.file, "frame timer"}, "goes to", f.TimerTarget);
  }
  CheckScript(at, "opening script", f.Script);
}

void GameCheck::CheckHotspots(const std::string& frame) {
  const ProjectFolders& folders = project_.Folders();
  Place file{{}, {}};
  DataFileReader reader("");
  if (!OpenFrameData(frame, {".mr2", ".fm2"}, reader, file)) return;
  for (int n = 1; !reader.Eof(); ++n) {
    Place at{file.file, "hotspot " + std::to_string(n)};
    AreaRecord a;
    try {
      a = ReadAreaRecord(reader);
    } catch (const RuntimeError& e) {
      Report(at, "does not read: " + e.Description());
      reader.SkipRecord();
      continue;
    }
    if (a.hasPicture && !a.picture.empty())
      CheckMedia(at, "picture", folders.AreasFolder + a.picture);
    if (!IsNoneOrDefault(a.pointer)) CheckMedia(at, "cursor", folders.IconsFolder + a.pointer);
  }
}

void GameCheck::CheckActions(const std::string& frame) {
  Place file{{}, {}};
  DataFileReader reader("");
  if (!OpenFrameData(frame, {".mr3", ".fm3"}, reader, file)) return;
  for (int n = 1; !reader.Eof(); ++n) {
    Place at{file.file, "hotspot " + std::to_string(n)};
    try {
      reader.Skip(10);
    } catch (const RuntimeError& e) {
      Report(at, "does not read: " + e.Description());
      return;
    }
    CheckAction(at, reader);
  }
}

void GameCheck::CheckItemUses(const std::string& frame) {
  Place file{{}, {}};
  DataFileReader reader("");
  if (!OpenFrameData(frame, {".fm0"}, reader, file)) return;
  for (int n = 1; !reader.Eof(); ++n) {
    Place at{file.file, "record " + std::to_string(n)};
    try {
      reader.Skip(1);
      at.record = reader.ReadString();
      reader.Skip(8);
    } catch (const RuntimeError& e) {
      Report(at, "does not read: " + e.Description());
      return;
    }
    CheckAction(at, reader);
  }
}

// One action record from its settings on, up to and including its separator.
void GameCheck::CheckAction(const Place& at, DataFileReader& reader) {
  const ProjectFolders& folders = project_.Folders();
  ActionRecord a;
  NamesOfAction names;
  try {
    ReadActionRecord(reader, a, names);
  } catch (const RuntimeError& e) {
    Report(at, "does not read: " + e.Description());
  }
  reader.SkipRecord();
  if (a.goToFrame != 0) CheckFrameLink(at, "goes to", a.targetFrame);
  if (a.playVideo != 0) CheckMedia(at, "video", folders.FramesFolder + a.videoFile);
  if (a.hotspotSoundOn && !a.hotspotSound.empty())
    CheckMedia(at, "sound", folders.AreasFolder + a.hotspotSound);
  if (a.oneShotOn) CheckMedia(at, "sound", folders.FramesFolder + a.oneShotSound);
  for (const std::string& file : names.channelFiles)
    CheckMedia(at, "sound", folders.AreasFolder + file);
  for (const std::string& item : names.pickedUp)
    CheckItem(item, at);
  if (a.runProcedure) CheckScript(at, "procedure", a.procedure);
}

// An item a record hands over: its file (the items' files are checked on their own).
void GameCheck::CheckItem(const std::string& item, const Place& at) {
  if (!paths_.FileExists(project_.Folders().AreasFolder + item + ".obj"))
    Report(at, "hands over the missing item " + Quoted(item));
}

// Every item file, and the picture it names.
void GameCheck::CheckItems() {
  const std::string& areas = project_.Folders().AreasFolder;
  for (const std::string& file : paths_.ListFiles(areas + "*.obj")) {
    Place at{{}, {}};
    DataFileReader reader("");
    if (!Open(areas + file, reader, at)) continue;
    try {
      CheckMedia(at, "picture", areas + reader.ReadString());
    } catch (const RuntimeError& e) {
      Report(at, "does not read: " + e.Description());
    }
  }
}

// Every combination file: the item it hands over and its procedure.
void GameCheck::CheckCombinations() {
  struct NamesOfCombination final : CombinationEffects {
    void Add(const std::string& item) override { added.push_back(item); }
    std::vector<std::string> added;
  };
  const std::string& areas = project_.Folders().AreasFolder;
  for (const std::string& file : paths_.ListFiles(areas + "*.drg")) {
    Place at{{}, {}};
    DataFileReader reader("");
    if (!Open(areas + file, reader, at)) continue;
    NamesOfCombination names;
    std::optional<CombinationScript> script;
    try {
      script = ReadCombinationFile(reader, names);
    } catch (const RuntimeError& e) {
      Report(at, "does not read: " + e.Description());
    }
    for (const std::string& item : names.added)
      CheckItem(item, at);
    if (script && script->run) CheckScript(at, "procedure", script->text);
  }
}

void GameCheck::CheckFrameLink(const Place& at, const std::string& what, const std::string& frame) {
  if (frame.empty() || !paths_.FileExists(project_.Folders().FramesFolder + frame + ".fme"))
    Report(at, what + " the missing frame " + Quoted(frame));
}

void GameCheck::CheckMedia(const Place& at, const std::string& what, const std::string& path) {
  if (project_.LocateMediaFile(path).exists) return;
  std::string name = path;
  for (const std::string* folder :
       {&project_.Folders().FramesFolder, &project_.Folders().AreasFolder,
        &project_.Folders().IconsFolder}) {
    if (name.starts_with(*folder)) name = name.substr(folder->size());
  }
  Report(at, "the " + what + " " + Quoted(name) + " is missing");
}

void GameCheck::CheckScript(const Place& at, const std::string& what,
                            const std::string& storedText) {
  std::string code = UnescapeScriptText(storedText);
  if (code.empty()) return;
  ++result_.scripts;
  auto place = [&](int line) {
    return Place{at.file, (at.record.empty() ? "" : at.record + ", ") + what + ", line " +
                              std::to_string(line)};
  };
  try {
    std::vector<vbs::UndeclaredName> names = scripts_.CheckScript(code);
    // Names the procedures might declare are not told when the procedures do not compile.
    if (!proceduresCompiled_) return;
    for (const vbs::UndeclaredName& n : names)
      Report(place(n.line), Quoted(n.name) + " is used but not declared");
  } catch (const vbs::ScriptError& e) {
    Report(place(e.Line()), e.FullDescription());
  }
}

bool GameCheck::OpenFrameData(const std::string& frame,
                              std::initializer_list<const char*> extensions, DataFileReader& reader,
                              Place& at) {
  std::string base = project_.Folders().FramesDataFolder + frame;
  for (const char* extension : extensions) {
    if (paths_.FileExists(base + extension)) return Open(base + extension, reader, at);
  }
  return false;
}

bool GameCheck::Open(const std::string& path, DataFileReader& reader, Place& at) {
  at.file = ShownName(path);
  try {
    reader = DataFileReader(paths_.ReadFile(path));
    return true;
  } catch (const RuntimeError& e) {
    Report(at, "does not read: " + e.Description());
    return false;
  }
}

std::string GameCheck::ShownName(const std::string& path) {
  std::optional<std::string> real = paths_.Find(path);
  if (real) return paths_.RelativeToProject(*real);
  std::string name = path.substr(std::min(path.size(), project_.Folders().ProjectFolder.size()));
  std::replace(name.begin(), name.end(), '\\', '/');
  return name;
}

void GameCheck::Report(const Place& at, const std::string& text) {
  result_.problems.push_back(at.file + (at.record.empty() ? "" : ", " + at.record) + ": " + text);
}

}  // namespace sl

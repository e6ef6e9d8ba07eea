// Checks a game without playing it: reads every data file with the game's own readers and
// reports what would go wrong in play, one problem a line, naming the file and the record:
// links to frames that do not exist, pictures, sounds, videos and cursors that the game's own
// media lookup does not find, records that do not read, script syntax errors (with the line)
// and names that scripts use but nothing declares. Nothing of the game runs, and every name
// resolves inside the game's folders as in play.
//
// API:
//   RecordingMessageBoxService messages;           // the loaders' own reports land here
//   Player player(platform, messages, "/path/to/game");   // never started
//   GameCheck check(player, messages, "/path/to/game");
//   CheckResult r = check.Run();
//   for (const std::string& line : r.problems) puts(line);   // "Frames/Hall.fme: ..."
//   r.notAGame, r.frames, r.scripts
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace sl {

class Player;
class RecordingMessageBoxService;
class Project;
class Scripting;
class PathResolver;
class DataFileReader;
struct ActionRecord;

struct CheckResult {
  std::vector<std::string> problems;  // one line each, without its '\n'
  bool notAGame = false;              // no project information file: nothing else checked
  int frames = 0;                     // frame files checked
  int scripts = 0;                    // script texts compiled (the procedures counting as one)
};

class GameCheck {
 public:
  GameCheck(Player& player, RecordingMessageBoxService& messages, std::string folder);
  CheckResult Run();

 private:
  // Where a problem lies: a project file (as written in the game's names) and its record.
  struct Place {
    std::string file;
    std::string record;
  };

  void CheckInformation();
  void CheckProcedures();
  void CheckFrame(const std::string& frame);
  void CheckFrameFile(const std::string& frame);
  void CheckHotspots(const std::string& frame);
  void CheckActions(const std::string& frame);
  void CheckItemUses(const std::string& frame);
  void CheckAction(const Place& at, DataFileReader& reader);
  void CheckItem(const std::string& item, const Place& at);
  void CheckItems();
  void CheckCombinations();

  void CheckFrameLink(const Place& at, const std::string& what, const std::string& frame);
  void CheckMedia(const Place& at, const std::string& what, const std::string& path);
  void CheckScript(const Place& at, const std::string& what, const std::string& storedText);
  // Opens the first of a frame's data files (FramesData/<frame><extension>) that exists; false
  // when there is none, or (with a problem) when it cannot be read.
  bool OpenFrameData(const std::string& frame, std::initializer_list<const char*> extensions,
                     DataFileReader& reader, Place& at);
  // Opens a data file; false (and a problem) when it cannot be read.
  bool Open(const std::string& path, DataFileReader& reader, Place& at);
  // The file's name inside the game ("FramesData/Hall.fm3") for a project path.
  std::string ShownName(const std::string& path);
  void Report(const Place& at, const std::string& text);

  // Runs a loader that reports its failures in a message box; true when it showed none.
  template <class F>
  bool Quietly(F&& load);

  Player& player_;
  RecordingMessageBoxService& messages_;
  Project& project_;
  PathResolver& paths_;
  Scripting& scripts_;
  std::string folder_;
  CheckResult result_;
  bool proceduresCompiled_ = false;
};

}  // namespace sl

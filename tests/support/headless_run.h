// Runs the storyloom program headless on a fixture project with an event script, in a temporary
// folder that receives its settings, trace and standard error, and hands back the trace records
// with the exit status. For tests of whole runs read from the trace.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace sl::test {

struct HeadlessRun {
  int status = -1;                 // the exit status, -1 when the program did not exit
  std::vector<std::string> trace;  // one JSON record a line
};

// `project` names a fixture of tests/projects, or is a whole path ("/tmp/..."). `options` go
// before the project folder (for instance "--screen 640x480"); `launcher` before the program
// (for instance a command that runs it as another user).
inline HeadlessRun RunHeadless(const TempFolder& dir, const std::string& project,
                               const std::string& events, const std::string& options = "",
                               const std::string& launcher = "") {
  std::string script = dir.Write("events.txt", events);
  std::string folder =
      project.starts_with('/') ? project : std::string(STORYLOOM_TEST_PROJECTS "/") + project;
  std::string command = launcher + " '" STORYLOOM_BINARY_DIR "/src/app/storyloom' --headless " +
                        options + " --settings '" + dir / "settings.ini" + "' --trace '" +
                        dir / "trace.jsonl" + "' --events '" + script + "' '" + folder + "' 2>'" +
                        dir / "stderr" + "'";
  HeadlessRun run;
  int raw = std::system(command.c_str());
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  std::ifstream in(dir / "trace.jsonl");
  for (std::string line; std::getline(in, line);)
    run.trace.push_back(line);
  return run;
}

inline bool Has(const std::string& line, const std::string& part) {
  return line.find(part) != std::string::npos;
}

// The records of one kind (`ev`), in order.
inline std::vector<std::string> Records(const std::vector<std::string>& trace,
                                        const std::string& ev) {
  std::vector<std::string> found;
  for (const std::string& line : trace) {
    if (Has(line, "\"ev\":\"" + ev + "\"")) found.push_back(line);
  }
  return found;
}

}  // namespace sl::test

// What start-up and the shared routines need from subsystems that come later: the display
// checks, the multi-CD lookup and the targets of HaltActivity. Each default does nothing (a
// display with small fonts, no CD, nothing running); the subsystems override them.
//
// API:
//   class MyDisplay : public DisplayChecks { bool UsesLargeFonts() override {...} };
//   project.SetDisplayChecks(&myDisplay);  (see player/startup/project.h)
#pragma once

#include <string>

namespace sl {

class DisplayChecks {
 public:
  virtual ~DisplayChecks() = default;
  // Remembers the current display mode so that it can be restored at exit.
  virtual void RecordDisplaySettings() {}
  virtual bool UsesLargeFonts() { return false; }
};

class CdLookup {
 public:
  virtual ~CdLookup() = default;
  // Where a project file lies when the game runs from CD; the path itself otherwise.
  virtual std::string CdLocation(const std::string& path) { return path; }
  // The check made once the project information is loaded.
  virtual void StartUpCheck() {}
};

class ActivityTargets {
 public:
  virtual ~ActivityTargets() = default;
  // Stops videos, timers, timed events, the media object and the sound players.
  virtual void HaltActivity() {}
  // Clears the current-frame values.
  virtual void ClearFrameInfo() {}
};

}  // namespace sl

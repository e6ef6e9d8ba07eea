// The hotspots of the current frame and everything a click on one does: loading the hotspot
// file into the `Area` control array (LoadAreas, ResetFrameAreas), the visibility pass
// (ShowOrNotShowAreas), the action of a hotspot or of an item dropped on it (MakeAction,
// AreaClick), the mouse pointers (the default-pointer operation, ResetDefaultPointer, the
// screen-wide pointer) and the mouse handlers of the frame's controls (click position, pointer
// zone).
//
// API:
//   Hotspots hotspots(project, variables, pictures, windows);
//   subsystems.hotspots = &hotspots;     // before the game window is created
//   hotspots.Attach(game);               // once the game window exists: wires the handlers
//   ActionOutcome r = hotspots.MakeAction(3, 0);  // NothingFurther, EndGame or NewFrame
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "player/game_subsystems.h"

namespace sl {

class Game;
class Project;
class VariableStore;
class DataFileReader;
namespace draw {
class PictureCache;
class Picture;
}  // namespace draw
namespace ui {
class Control;
class ControlArray;
class WindowManager;
}  // namespace ui

struct ActionRecord;

class Hotspots final : public HotspotSubsystem {
 public:
  Hotspots(Project& project, VariableStore& variables, draw::PictureCache& pictures,
           ui::WindowManager& windows);

  void Attach(Game& game);

  // HotspotSubsystem
  void ResetMergedIndex() override { MergedHotspotIndex = 1; }
  void ResetFrameAreas() override;
  void LoadAreas() override;
  void ShowOrNotShowAreas() override;
  void ResetDefaultPointer() override;
  void SetScreenPointerArrow() override;
  void SetScreenPointerDefault() override;
  ActionOutcome MakeAction(std::int16_t AreaIndex, std::int16_t ObjectIndex) override;
  void SaveClickPos(float sglLeft, float sglTop) override;
  std::int16_t GetMergedHotspotIndex() override { return MergedHotspotIndex; }
  std::int16_t ClickPositionX() override { return clickX_; }
  std::int16_t ClickPositionY() override { return clickY_; }
  std::int16_t PointerZone() override;
  bool OpenRequestedFrame() override;

  void AreaClick(std::int16_t AreaIndex, int Button);
  // The default-pointer operation: the project's default cursor on one control.
  void ApplyDefaultPointer(ui::Control& control) override;
  // The animated-picture index of a hotspot (0 = a still hotspot).
  int AnimatedIndex(int hotspot) const;

  std::int16_t MergedHotspotIndex = 1;

 private:
  // hotspot_loading.cpp
  void LoadOneArea(DataFileReader& reader, int n);
  void ApplyPointer(ui::Control& control, const std::string& pointerFile);
  void ReportLoadError(int n, const std::string& description);
  // visibility.cpp
  void ShowAnimated(int k, bool visible);
  // action.cpp
  bool OpenActionRecord(std::int16_t n, std::int16_t item, DataFileReader& reader);
  bool ReadActionRecord(DataFileReader& reader, std::int16_t n, std::int16_t item, ActionRecord& a);
  ActionOutcome FinishAction(std::int16_t n, std::int16_t item, const ActionRecord& a);
  void PlayHotspotChannels(std::int16_t n);
  void PlayActionVideo(const ActionRecord& a);
  void WaitForActionVideo(bool frameChangeFollows);
  ActionOutcome ChangeFrame(const ActionRecord& a);
  // pointers.cpp
  void WireMouseHandlers();
  void AreaMouseDown(ui::Control& control, int button, double x, double y, bool holderBox);
  void MouseMovedOver(std::int16_t zone);

  bool FileExists(const std::string& path);
  DataFileReader OpenFile(const std::string& path);
  ui::ControlArray& Array(const char* name);

  Project& project_;
  VariableStore& variables_;
  draw::PictureCache& pictures_;
  ui::WindowManager& windows_;
  Game* game_ = nullptr;
  std::map<int, int> animated_;  // hotspot number -> animated-picture index
  std::int16_t clickX_ = 0;
  std::int16_t clickY_ = 0;
};

}  // namespace sl

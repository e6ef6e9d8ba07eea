// The script API object, `Action` to scripts (class VBScriptActionModule): the request fields a
// script leaves for the code that ran it (a frame to open with its transition, a wish to leave
// the game, the number of the hotspot that ran it) and the game operations scripts may call:
// frames, inventory, saved-game dialogs, messages, addresses and files, pictures, INI files,
// stored parameters, display, cursor, timed events. One instance lives as long as the player.
// A method with an error message of its own reports a failure itself (the standard error
// report) and ends; other failures reach the script as run-time errors.
//
// API:
//   auto action = MakeRef<VBScriptActionModule>(host);
//   action->ResetModule();  action->sFrameToLoad;  action->bStopGame;
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/dispatch_table.h"
#include "core/object.h"

namespace sl {

class Scripting;

class VBScriptActionModule final : public Object {
 public:
  static constexpr const char* kVersion = "Version 3.3.1";

  explicit VBScriptActionModule(Scripting& host) : host_(host) {}

  // Request fields.
  std::string sFrameToLoad;
  std::int16_t iHotspotNumber = 0;
  double dTransitionDuration = 0;
  std::int16_t iTransitionNumber = 1;
  bool bStopGame = false;

  void ResetModule();
  Scripting& Host() { return host_; }

  std::string TypeName() const override { return "VBScriptActionModule"; }
  DispId GetIdOfName(std::string_view name) override;
  Variant Invoke(DispId id, std::uint8_t flags, std::span<Variant> args) override;

  // ---- Methods (script_api.cpp) ----
  void PopupSaveGame();
  void PopupLoadGame();
  void GoToFrame(const std::string& sFrameName, double dTransDuration, std::int16_t iTransNumber);
  void StopEverything();
  void Message(const std::string& sText);
  void AddItem(const std::string& sText, bool bDoNotPopup);
  void SendEmail(const std::string& sAddress);
  void OpenURL(const std::string& sURL);
  void HideInventoryButton();
  void ShowInventoryButton();
  void RemoveAllItems();
  void RemoveItem(const std::string& sItemName, bool bRemoveDuplicates);
  void CreateObject(const Variant& ObjectRef);
  void DeleteObject(const Variant& ObjectRef);
  void ChangeDisplayResolution(std::int16_t iResolution);
  void SaveParameter(const std::string& sParameterName, const Variant& ParameterValue);
  std::string LoadParameter(const std::string& sParameterName,
                            const Variant& DefaultParameterValue);
  void ChangeDefaultCursor(const std::string& sFilename);

  // ---- File methods (script_api_files.cpp) ----
  void OpenFile(const std::string& sFileTitle);
  void OpenExeFileAndWait(const std::string& sFileTitle);
  void LoadAPicture(const Variant& refControl, const std::string& sFilename);
  Variant LoadGraphicFile(const std::string& sFilename);
  std::string ReadINI(const std::string& sFilename, const std::string& sSection,
                      const std::string& sKeyName);
  std::int16_t WriteINI(const std::string& sFilename, const std::string& sSection,
                        const std::string& sKeyName, const Variant& vNewString);
  std::string DDir(const std::string& sPathName, std::int16_t iAttributes);

 private:
  static const DispatchTable<VBScriptActionModule>& Members();
  void ShowError(const std::string& sentence);
  // The resolved path of a picture a script names in the Areas folder; nothing when it does not
  // exist (or may not be read).
  std::optional<std::string> PicturePath(const std::string& sFilename, std::string& resolved);

  Scripting& host_;
  // What DDir with an empty pattern goes on with.
  std::vector<std::string> dirMatches_;
  std::size_t dirNext_ = 0;
};

}  // namespace sl

// The script API object: its request fields and members as scripts see them, and the methods
// that act on the game.
#include "player/scripting/script_api.h"

#include <algorithm>

#include "core/case_fold.h"
#include "core/runtime_error.h"
#include "core/variant_convert.h"
#include "player/desktop/desktop_requests.h"
#include "player/display/resolutions.h"
#include "player/engine/game.h"
#include "player/scripting/scripting.h"
#include "player/startup/project.h"
#include "player/startup/shared_routines.h"
#include "ui/control_array.h"
#include "ui/control_members.h"
#include "ui/controls/menu.h"
#include "ui/controls/picture_box.h"
#include "ui/controls/timer_control.h"
#include "ui/window_manager.h"

namespace sl {

namespace {

constexpr const char* kSettingsApp = "Software";
constexpr std::int16_t kNoTransition = 1;

using A = VBScriptActionModule;

// Arguments as the method's parameters take them; a missing optional one gives the default.
std::string Text(std::span<Variant> a, std::size_t i) {
  return i < a.size() ? ToUtf8(a[i]) : std::string();
}
bool Flag(std::span<Variant> a, std::size_t i) {
  return ui::Arg(a, i) ? ToBoolean(a[i]) : false;
}
std::int16_t Integer(std::span<Variant> a, std::size_t i, std::int16_t fallback = 0) {
  return ui::Arg(a, i) ? ToInteger(a[i]) : fallback;
}
Variant At(std::span<Variant> a, std::size_t i) {
  return i < a.size() ? a[i] : Variant();
}

template <class F>
DispatchTable<A>::Method Sub(F f) {
  return [f](A& self, std::span<Variant> a) {
    f(self, a);
    return Variant();
  };
}

void AddFields(DispatchTable<A>& t) {
  t.Property(
      "sFrameToLoad", [](A& s) { return Variant(s.sFrameToLoad); },
      [](A& s, const Variant& v) { s.sFrameToLoad = ToUtf8(v); });
  t.Property(
      "iHotspotNumber", [](A& s) { return Variant(s.iHotspotNumber); },
      [](A& s, const Variant& v) { s.iHotspotNumber = ToInteger(v); });
  t.Property(
      "dTransitionDuration", [](A& s) { return Variant(s.dTransitionDuration); },
      [](A& s, const Variant& v) { s.dTransitionDuration = ToDouble(v); });
  t.Property(
      "iTransitionNumber", [](A& s) { return Variant(s.iTransitionNumber); },
      [](A& s, const Variant& v) { s.iTransitionNumber = ToInteger(v); });
  t.Property(
      "bStopGame", [](A& s) { return Variant(s.bStopGame); },
      [](A& s, const Variant& v) { s.bStopGame = ToBoolean(v); });
}

}  // namespace

const DispatchTable<A>& A::Members() {
  static const DispatchTable<A> table = [] {
    DispatchTable<A> t;
    AddFields(t);
    t.Function("PopupSaveGame", 0, 0, Sub([](A& s, auto) { s.PopupSaveGame(); }));
    t.Function("PopupLoadGame", 0, 0, Sub([](A& s, auto) { s.PopupLoadGame(); }));
    t.Function("GoToFrame", 1, 3, Sub([](A& s, std::span<Variant> a) {
                 s.GoToFrame(Text(a, 0), ui::Arg(a, 1) ? ToDouble(a[1]) : 0,
                             Integer(a, 2, kNoTransition));
               }));
    t.Function("ResetModule", 0, 0, Sub([](A& s, auto) { s.ResetModule(); }));
    t.Function("StopEverything", 0, 0, Sub([](A& s, auto) { s.StopEverything(); }));
    t.Function("Message", 1, 1, Sub([](A& s, std::span<Variant> a) { s.Message(Text(a, 0)); }));
    t.Function("AddItem", 1, 2,
               Sub([](A& s, std::span<Variant> a) { s.AddItem(Text(a, 0), Flag(a, 1)); }));
    t.Function("SendEmail", 1, 1, Sub([](A& s, std::span<Variant> a) { s.SendEmail(Text(a, 0)); }));
    t.Function("OpenURL", 1, 1, Sub([](A& s, std::span<Variant> a) { s.OpenURL(Text(a, 0)); }));
    t.Function("OpenFile", 1, 1, Sub([](A& s, std::span<Variant> a) { s.OpenFile(Text(a, 0)); }));
    t.Function("OpenExeFileAndWait", 1, 1,
               Sub([](A& s, std::span<Variant> a) { s.OpenExeFileAndWait(Text(a, 0)); }));
    t.Function("LoadAPicture", 2, 2,
               Sub([](A& s, std::span<Variant> a) { s.LoadAPicture(a[0], Text(a, 1)); }));
    t.Function("LoadGraphicFile", 1, 1,
               [](A& s, std::span<Variant> a) { return s.LoadGraphicFile(Text(a, 0)); });
    t.Function("GetHotspotNumber", 0, 0, [](A& s, auto) { return Variant(s.iHotspotNumber); });
    t.Function("GetPath", 0, 0, [](A& s, auto) {
      std::string folder = s.Host().GetProject().Folders().ProjectFolder;
      std::replace(folder.begin(), folder.end(), '/', '\\');
      return Variant(folder);
    });
    t.Function("HideInventoryButton", 0, 0, Sub([](A& s, auto) { s.HideInventoryButton(); }));
    t.Function("ShowInventoryButton", 0, 0, Sub([](A& s, auto) { s.ShowInventoryButton(); }));
    t.Function("GetClickPositionX", 0, 0, [](A& s, auto) {
      return Variant(s.Host().GameWindow().Subsystems().hotspots->ClickPositionX());
    });
    t.Function("GetClickPositionY", 0, 0, [](A& s, auto) {
      return Variant(s.Host().GameWindow().Subsystems().hotspots->ClickPositionY());
    });
    t.Function("GetTransitionsStatus", 0, 0, [](A& s, auto) {
      return Variant(!s.Host().GameWindow().Menu("mnuDisableTransitions").Checked());
    });
    t.Function("GetEffectsStatus", 0, 0,
               [](A& s, auto) { return Variant(s.Host().GameWindow().EffectsEnabled()); });
    t.Function("InvertTransitionsStatus", 0, 0, Sub([](A& s, auto) {
                 s.Host().GameWindow().Subsystems().effects->EnableOrDisableTransitions();
               }));
    t.Function("InvertEffectsStatus", 0, 0, Sub([](A& s, auto) {
                 s.Host().GameWindow().Subsystems().effects->EnableOrDisableEffects();
               }));
    t.Function("RemoveAllItems", 0, 0, Sub([](A& s, auto) { s.RemoveAllItems(); }));
    t.Function("RemoveItem", 1, 2,
               Sub([](A& s, std::span<Variant> a) { s.RemoveItem(Text(a, 0), Flag(a, 1)); }));
    t.Function("CreateObject", 1, 1, Sub([](A& s, std::span<Variant> a) { s.CreateObject(a[0]); }));
    t.Function("DeleteObject", 1, 1, Sub([](A& s, std::span<Variant> a) { s.DeleteObject(a[0]); }));
    t.Function("GetSLVersion", 0, 0, [](A&, auto) { return Variant(kVersion); });
    t.Function("ChangeDisplayResolution", 1, 1,
               Sub([](A& s, std::span<Variant> a) { s.ChangeDisplayResolution(Integer(a, 0)); }));
    t.Function("ChangeDisplayResolutionOnLoadGame", 1, 1, Sub([](A& s, std::span<Variant> a) {
                 s.Host().GameWindow().Subsystems().savegame->ChangeDisplayResolutionOnLoadGame(
                     Integer(a, 0));
               }));
    t.Function("GetDisplayResolutionX", 0, 0, [](A& s, auto) {
      return Variant(static_cast<std::int32_t>(s.Host().Display().ScreenWidth()));
    });
    t.Function("GetDisplayResolutionY", 0, 0, [](A& s, auto) {
      return Variant(static_cast<std::int32_t>(s.Host().Display().ScreenHeight()));
    });
    t.Function("AllowControlsReferencesNextTime", 0, 0, Sub([](A& s, auto) {
                 s.Host().GameWindow().ControlsReferencesMode = kControlsReferencesAllowed;
               }));
    t.Function("DoNotAllowControlsReferencesNextTime", 0, 0, Sub([](A& s, auto) {
                 s.Host().GameWindow().ControlsReferencesMode = kControlsReferencesRefused;
               }));
    t.Function("GetCurrentFrameName", 0, 0,
               [](A& s, auto) { return Variant(s.Host().GameWindow().CurrentFrameName); });
    t.Function("GetMergedHotspotIndex", 0, 0, [](A& s, auto) {
      return Variant(s.Host().GameWindow().Subsystems().hotspots->GetMergedHotspotIndex());
    });
    t.Function("GetMergedTextIndex", 0, 0, [](A& s, auto) {
      return Variant(s.Host().GameWindow().Subsystems().texts->GetMergedTextIndex());
    });
    t.Function("Quit", 0, 0, Sub([](A& s, auto) { s.bStopGame = true; }));
    t.Function("CreateTimedEvent", 2, 3, [](A& s, std::span<Variant> a) {
      return Variant(s.Host().Events().CreateTimedEvent(a[0], Text(a, 1), Flag(a, 2)));
    });
    t.Function("RemoveTimedEvent", 1, 1, Sub([](A& s, std::span<Variant> a) {
                 s.Host().Events().RemoveTimedEvent(ToInteger(a[0]));
               }));
    t.Function("SaveParameter", 2, 2,
               Sub([](A& s, std::span<Variant> a) { s.SaveParameter(Text(a, 0), a[1]); }));
    t.Function("LoadParameter", 1, 2, [](A& s, std::span<Variant> a) {
      return Variant(s.LoadParameter(Text(a, 0), At(a, 1)));
    });
    t.Function("ChangeDefaultCursor", 1, 1,
               Sub([](A& s, std::span<Variant> a) { s.ChangeDefaultCursor(Text(a, 0)); }));
    t.Function("ReadINI", 3, 3, [](A& s, std::span<Variant> a) {
      return Variant(s.ReadINI(Text(a, 0), Text(a, 1), Text(a, 2)));
    });
    t.Function("WriteINI", 4, 4, [](A& s, std::span<Variant> a) {
      return Variant(s.WriteINI(Text(a, 0), Text(a, 1), Text(a, 2), a[3]));
    });
    t.Function("DDir", 1, 2, [](A& s, std::span<Variant> a) {
      return Variant(s.DDir(Text(a, 0), Integer(a, 1)));
    });
    return t;
  }();
  return table;
}

DispId A::GetIdOfName(std::string_view name) {
  return Members().GetIdOfName(name);
}

Variant A::Invoke(DispId id, std::uint8_t flags, std::span<Variant> args) {
  Ref<Object> keep(this);
  return Members().Invoke(*this, id, flags, args);
}

void A::ShowError(const std::string& sentence) {
  host_.GetProject().ShowError(sentence);
}

void A::ResetModule() {
  sFrameToLoad.clear();
  dTransitionDuration = 0;
  iTransitionNumber = kNoTransition;
  bStopGame = false;
}

// ---- Frames, dialogs and the game ----

// The saved-games subsystem holds the frame timer (and for loading the timed events) itself.
void A::PopupSaveGame() {
  Game& g = host_.GameWindow();
  host_.WhileBlocked([&] { g.Subsystems().savegame->ShowSaveGameWindow(SaveGameCaller::Script); });
}

void A::PopupLoadGame() {
  Game& g = host_.GameWindow();
  host_.WhileBlocked([&] { g.Subsystems().savegame->ShowLoadGameWindow(LoadGameCaller::Script); });
}

void A::GoToFrame(const std::string& sFrameName, double dTransDuration, std::int16_t iTransNumber) {
  sFrameToLoad = sFrameName;
  dTransitionDuration = dTransDuration;
  iTransitionNumber = iTransNumber;
}

void A::StopEverything() {
  Game& g = host_.GameWindow();
  GameSubsystems& subs = g.Subsystems();
  g.SetGameStopping();
  g.PictureBox().SetVisible(false);
  g.RequestMovieStop();
  g.Timer1().SetEnabled(false);
  g.Form().Get<ui::TimerControl>("TimerMessageBox").SetEnabled(false);
  host_.PauseTimedEvents();
  subs.video->StopMovie();
  g.Channels().StopAllSounds();
  g.ShowMenus();
}

void A::Message(const std::string& sText) {
  host_.GameWindow().Subsystems().texts->ShowMessage(sText, true);
}

// ---- Addresses ----

void A::SendEmail(const std::string& sAddress) {
  if (sAddress.empty()) return;
  if (host_.Desktop().OpenAddress("mailto:" + sAddress) == DesktopRequests::Outcome::Failed)
    ShowError(" Error opening the default mail client to send email to: " + sAddress);
}

void A::OpenURL(const std::string& sURL) {
  if (sURL.empty()) return;
  // A name without a scheme other than a "www." address is a file of the game, as the desktop's
  // opener of the classic player took it.
  if (DesktopRequests::SchemeOf(sURL).empty() && FoldCase(sURL.substr(0, 4)) != "www.") {
    OpenFile(sURL);
    return;
  }
  if (host_.Desktop().OpenAddress(sURL) == DesktopRequests::Outcome::Failed)
    ShowError(" Error opening the following URL with the default browser:\r\n\r\n" + sURL);
}

// ---- Inventory ----

void A::AddItem(const std::string& sText, bool bDoNotPopup) {
  host_.GameWindow().Subsystems().inventory->AddPickedObject(sText, bDoNotPopup);
}

void A::HideInventoryButton() {
  try {
    host_.GameWindow().Subsystems().inventory->HideInventoryButton();
  } catch (const RuntimeError& e) {
    ShowError(" Error hiding inventory. " + e.Description());
  }
}

void A::ShowInventoryButton() {
  try {
    host_.GameWindow().Subsystems().inventory->ShowInventoryButton();
  } catch (const RuntimeError& e) {
    ShowError(" Error displaying inventory. " + e.Description());
  }
}

void A::RemoveAllItems() {
  try {
    InventorySubsystem& inventory = *host_.GameWindow().Subsystems().inventory;
    for (std::size_t n = inventory.ItemNames().size(); n > 0; --n)
      inventory.RemovePickedObject(1);
  } catch (const RuntimeError& e) {
    ShowError(" Error removing all the inventory items. " + e.Description());
  }
}

// The item's name is lower-cased before the comparison, the name asked for is not.
void A::RemoveItem(const std::string& sItemName, bool bRemoveDuplicates) {
  try {
    InventorySubsystem& inventory = *host_.GameWindow().Subsystems().inventory;
    std::vector<std::string> names = inventory.ItemNames();
    for (std::size_t k = names.size(); k >= 1; --k) {
      if (FoldCase(names[k - 1]) != sItemName) continue;
      inventory.RemovePickedObject(static_cast<std::int16_t>(k));
      if (!bRemoveDuplicates) break;
    }
  } catch (const RuntimeError& e) {
    ShowError(" Error removing from the inventory the item named '" + sItemName + "'. " +
              e.Description());
  }
}

// ---- Controls ----

// Loading a member of a control array as the classic Load statement does: the reference a
// script can hand over is always an existing member, which is already loaded.
void A::CreateObject(const Variant& ObjectRef) {
  try {
    ui::Control& control = ui::ControlFromVariant(ObjectRef);
    if (!control.Array()) throw RuntimeError(kErrObjectRequired);
    throw RuntimeError(kErrAlreadyLoaded);
  } catch (const RuntimeError& e) {
    ShowError(" Error creating the object. " + e.Description());
  }
}

void A::DeleteObject(const Variant& ObjectRef) {
  try {
    ui::Control& control = ui::ControlFromVariant(ObjectRef);
    if (!control.Array()) throw RuntimeError(kErrObjectRequired);
    control.Array()->Unload(control.Index());
  } catch (const RuntimeError& e) {
    ShowError(" Error deleting the object. " + e.Description());
  }
}

// ---- Display, stored parameters, cursor ----

void A::ChangeDisplayResolution(std::int16_t iResolution) {
  try {
    host_.Display().ChangeResolutionTo(iResolution);
  } catch (const RuntimeError& e) {
    ShowError(" Error changing display resolution. " + e.Description());
  }
}

void A::SaveParameter(const std::string& sParameterName, const Variant& ParameterValue) {
  try {
    host_.Windows().GetPlatform().Settings().Save(kSettingsApp,
                                                  host_.GetProject().Info().ProjectName,
                                                  sParameterName + "_", ToUtf8(ParameterValue));
  } catch (const RuntimeError& e) {
    ShowError(" Unable to save the parameter named \"" + sParameterName + "\". " + e.Description());
  }
}

std::string A::LoadParameter(const std::string& sParameterName,
                             const Variant& DefaultParameterValue) {
  try {
    std::optional<std::string> value = host_.Windows().GetPlatform().Settings().Get(
        kSettingsApp, host_.GetProject().Info().ProjectName, sParameterName + "_");
    return value ? *value : ToUtf8(DefaultParameterValue);
  } catch (const RuntimeError& e) {
    ShowError(" Unable to load the parameter named \"" + sParameterName + "\". " + e.Description());
    return {};
  }
}

void A::ChangeDefaultCursor(const std::string& sFilename) {
  try {
    Project& project = host_.GetProject();
    if (!IsNoneOrDefault(sFilename)) {
      std::string path = project.FindMediaFile(project.Folders().IconsFolder + sFilename);
      if (!host_.Files().ForReading(path)) return;
    }
    project.MutableInfo().DefaultPointer = sFilename;
    Game& g = host_.GameWindow();
    HotspotSubsystem& hotspots = *g.Subsystems().hotspots;
    hotspots.ResetDefaultPointer();
    for (const char* name : {"Area", "AniGifBox"}) {
      if (ui::ControlArray* array = g.Form().FindArray(name)) {
        for (const auto& [index, control] : array->Elements())
          hotspots.ApplyDefaultPointer(*control);
      }
    }
  } catch (const RuntimeError& e) {
    ShowError(" Unable to change the default cursor. " + e.Description());
  }
}

}  // namespace sl

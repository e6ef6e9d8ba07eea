// Defaults and field order of the project information file.
#include "player/startup/project_information.h"

#include <algorithm>

#include "core/data_file_reader.h"

namespace sl {

void SetProjectInformationDefaults(ProjectInformation& info) {
  info.ProjectName = "None";
  info.ResolutionOffer = 0;
  info.InventoryItemGap = 10;
  info.InventoryMargin = 10;
  info.InventoryAnimated = true;
  info.InventorySlideIn = true;
  info.InventorySlideOut = true;
  info.InventoryHideWhenEmpty = true;
  info.InventoryPopUpOnAdd = true;
  info.InventoryBackgroundShown = false;
  info.InventoryPicture1 = "DEFAULT";
  info.InventoryPicture2 = "DEFAULT";
  info.TargetResolution = 0;
  info.DefaultPointer = "DEFAULT";
  info.MenusAlwaysShown = false;
  info.SkipTitleScreen = false;
  info.HideLogo = false;
  info.HideTransitionsOption = false;
  info.HideEffectsOption = false;
  info.MenusNeverShown = false;
}

// Fields are read straight into the values, so a bad field leaves the earlier ones set. The
// file grew over the editor's versions: at each marked point an older file may end.
void ReadProjectInformation(DataFileReader& r, ProjectInformation& info) {
  info.ProjectName = r.ReadString();
  r.ReadString();  // read, not used
  info.GameTitle = r.ReadString();
  r.ReadInteger();  // read, not used: a non-number here is still an error
  info.InitialFrame = r.ReadString();
  info.GameVersion = r.ReadString();
  info.PictureWidth = r.ReadInteger();
  info.PictureHeight = r.ReadInteger();
  info.AuthorName = r.ReadString();
  info.AuthorEmail = r.ReadString();
  info.AuthorHomepage = r.ReadString();
  if (r.Eof()) return;
  info.ResolutionOffer = r.ReadInteger();
  if (r.Eof()) return;
  r.Skip(3);
  info.SchemeName = r.ReadString();
  if (r.Eof()) return;
  r.Skip(3);
  info.HideLoadButton = r.ReadBoolean();
  info.HideSaveButton = r.ReadBoolean();
  r.Skip(1);
  if (r.Eof()) return;
  r.Skip(2);
  info.InventoryItemGap = r.ReadLong();
  info.InventoryMargin = r.ReadLong();
  info.InventoryAnimated = r.ReadBoolean();
  info.InventorySlideIn = r.ReadBoolean();
  info.InventorySlideOut = r.ReadBoolean();
  info.InventoryHideWhenEmpty = r.ReadBoolean();
  info.InventoryPopUpOnAdd = r.ReadBoolean();
  info.InventoryBackgroundShown = r.ReadBoolean();
  info.InventoryPicture1 = r.ReadString();
  info.InventoryPicture2 = r.ReadString();
  info.TargetResolution = r.ReadInteger();
  r.Skip(2);
  info.DefaultPointer = r.ReadString();
  if (r.Eof()) return;
  r.Skip(2);
  info.MenusAlwaysShown = r.ReadBoolean();
  if (r.Eof()) return;
  r.Skip(1);
  info.SkipTitleScreen = r.ReadBoolean();
  info.HideLogo = r.ReadBoolean();
  if (r.Eof()) return;
  r.Skip(1);
  info.HideTransitionsOption = r.ReadBoolean();
  if (r.Eof()) return;
  info.HideEffectsOption = r.ReadBoolean();
  if (r.Eof()) return;
  info.MenusNeverShown = r.ReadBoolean();
}

bool CapPictureSize(ProjectInformation& info) {
  bool capped =
      info.PictureWidth > kMaxFramePictureSide || info.PictureHeight > kMaxFramePictureSide;
  info.PictureWidth = std::min(info.PictureWidth, kMaxFramePictureSide);
  info.PictureHeight = std::min(info.PictureHeight, kMaxFramePictureSide);
  return capped;
}

}  // namespace sl

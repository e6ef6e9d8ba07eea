// The project information: the values of the project's "General" file that describe the game
// as a whole (title, author, first frame, picture size, inventory and menu options, ...).
//
// API:
//   ProjectInformation info;
//   SetProjectInformationDefaults(info);   // the defaults; values without one are kept
//   ReadProjectInformation(reader, info);  // reads the fields in order, stopping where an
//                                          // older file ends; throws RuntimeError on a bad
//                                          // field (the values read so far stay)
//   CapPictureSize(info);                  // true when the frame picture size was reduced to
//                                          // kMaxFramePictureSide
#pragma once

#include <cstdint>
#include <string>

namespace sl {

class DataFileReader;

struct ProjectInformation {
  std::string ProjectName;  // section of the per-user settings
  std::string GameTitle;
  std::string InitialFrame;
  std::string GameVersion;
  std::int16_t PictureWidth = 0;  // pixels
  std::int16_t PictureHeight = 0;
  std::string AuthorName;
  std::string AuthorEmail;
  std::string AuthorHomepage;
  std::int16_t ResolutionOffer = 0;  // 1 = offer a display-resolution switch
  std::string SchemeName;
  bool HideLoadButton = false;
  bool HideSaveButton = false;
  std::int32_t InventoryItemGap = 10;  // pixels
  std::int32_t InventoryMargin = 10;   // pixels
  bool InventoryAnimated = true;
  bool InventorySlideIn = true;
  bool InventorySlideOut = true;
  bool InventoryHideWhenEmpty = true;
  bool InventoryPopUpOnAdd = true;
  bool InventoryBackgroundShown = false;
  std::string InventoryPicture1 = "DEFAULT";  // a picture, or "default" in any case
  std::string InventoryPicture2 = "DEFAULT";
  std::int16_t TargetResolution = 0;       // 0 = 640x480, 1 = 800x600, 2 = 1024x768
  std::string DefaultPointer = "DEFAULT";  // scripts may change it
  bool MenusAlwaysShown = false;
  bool SkipTitleScreen = false;
  bool HideLogo = false;
  bool HideTransitionsOption = false;
  bool HideEffectsOption = false;
  bool MenusNeverShown = false;
};

// The largest side of the frame picture the player builds: every frame keeps surfaces of that
// size, so a project file announcing 32767 x 32767 would cost many gigabytes.
constexpr std::int16_t kMaxFramePictureSide = 8192;

void SetProjectInformationDefaults(ProjectInformation& info);
void ReadProjectInformation(DataFileReader& reader, ProjectInformation& info);
bool CapPictureSize(ProjectInformation& info);

}  // namespace sl

// Built-in interface texts and the "Texts" file.
#include "player/startup/interface_texts.h"

#include <string>

#include "core/data_file_reader.h"
#include "core/message_box.h"
#include "core/path_resolver.h"
#include "core/runtime_error.h"

namespace sl {

namespace {

// Entries 1 to 51 of the program wording; index 0 unused, nullptr = empty.
constexpr const char* kProgramTexts[52] = {
    nullptr,
    /* 1 */ "Start",
    /* 2 */ "  Load...",
    /* 3 */ "Exit",
    /* 4 */ "Created By:",
    /* 5 */ "E-mail:",
    /* 6 */ "Web site:",
    /* 7 */ "Change display resolution to",
    /* 8 */ "  Save...",
    /* 9 */ "Please select something.",
    /* 10 */ "Do you really want to quit?",
    /* 11 */ "Cancel",
    /* 12 */ "Exit",
    /* 13 */ "Do you want to open the default mail client to send an e-mail to:",
    /* 14 */ "Do you want to visit",
    /* 15 */ "(You must be connected to the Internet)",
    /* 16 */ nullptr,
    /* 17 */ "Load",
    /* 18 */ "Select the file you wish to load and click 'LOAD'",
    /* 19 */ "LOAD",
    /* 20 */ nullptr,
    /* 21 */ "Save",
    /* 22 */ "Remove Selected",
    /* 23 */ "Enter the name of the file you want to save",
    /* 24 */ "already exists. Do you want to replace it?",
    /* 25 */ "SAVE",
    /* 26 */ "Remove Saved File",
    /* 27 */ "Do you really want to remove",
    /* 28 */ nullptr,
    /* 29 */ "Error",
    /* 30 */
    "An error has occurred. The program may not work properly. Press 'Esc' and the click 'Exit' to "
    "quit.",
    /* 31 */ "Error description:",
    /* 32 */ "Do you want to continue anyway? (not recommended)",
    /* 33 */ "The following file is missing:",
    /* 34 */
    "This file may have been moved or removed from its original location. The program may not work "
    "properly until the missing file is placed back in its original location. Press 'Esc' and the "
    "click 'Exit' to quit.",
    /* 35 */ "Please do not use any of the following characters:",
    /* 36 */ "Please insert the CD in the CD-Rom drive and then click 'OK'.",
    /* 37 */ "CD-Rom drive:",
    /* 38 */
    "The selected device is unavailable. Make sure that the CD-Rom drive letter is right and that "
    "the disk is properly inserted, and then try again.",
    /* 39 */ nullptr,
    /* 40 */
    "Warning! Your system is set to use large fonts. This program will NOT work properly if you "
    "don't change this setting. Do you want to continue anyway? (not recommended)",
    /* 41 */
    "To fix the problem, go to the 'Control Panel' (from the 'Settings' menu of the Start Menu), "
    "double-click 'Display', click the 'Settings' tab, click 'Advanced...', select 'Small Fonts' "
    "under 'Font size', click 'OK', and then restart your computer.",
    /* 42 */ nullptr,
    /* 43 */ "The following folder is missing:",
    /* 44 */ "Make sure that the disk is properly inserted, and then try again.",
    /* 45 */ "File Not Found:",
    /* 46 */ "The file may be missing, or you may have inserted the wrong CD.",
    /* 47 */ "Please insert the CD#",
    /* 48 */ "in the CD-Rom drive and click OK to continue...",
    /* 49 */ "Options",
    /* 50 */ "Disable Transitions",
    /* 51 */ "Disable Real-Time Effects",
};

// The game wording where it differs from the program wording; nullptr = the same.
constexpr const char* kGameTexts[52] = {
    nullptr,
    /* 1 */ "Start New Game",
    /* 2 */ "Load Game...",
    /* 3 */ nullptr,
    /* 4 */ nullptr,
    /* 5 */ nullptr,
    /* 6 */ nullptr,
    /* 7 */ nullptr,
    /* 8 */ "Save Game...",
    /* 9 */ nullptr,
    /* 10 */ nullptr,
    /* 11 */ nullptr,
    /* 12 */ nullptr,
    /* 13 */ nullptr,
    /* 14 */ nullptr,
    /* 15 */ nullptr,
    /* 16 */ nullptr,
    /* 17 */ "Load a previously saved game",
    /* 18 */ "Select the game you wish to load and click 'LOAD'",
    /* 19 */ nullptr,
    /* 20 */ nullptr,
    /* 21 */ "Save the current game",
    /* 22 */ nullptr,
    /* 23 */ "Enter the name of the game you want to save",
    /* 24 */ nullptr,
    /* 25 */ nullptr,
    /* 26 */ "Remove Saved Game",
    /* 27 */ nullptr,
    /* 28 */ nullptr,
    /* 29 */ nullptr,
    /* 30 */
    "An error has occurred. The game may not work properly. Press 'Esc' and the click 'Exit' to "
    "quit.",
    /* 31 */ nullptr,
    /* 32 */ nullptr,
    /* 33 */ nullptr,
    /* 34 */
    "This file may have been moved or removed from its original location. The game may not work "
    "properly until the missing file is placed back in its original location. Press 'Esc' and the "
    "click 'Exit' to quit.",
    /* 35 */ nullptr,
    /* 36 */ "Please insert the CD in the CD-ROM drive and then click 'OK'.",
    /* 37 */ "CD-ROM Drive:",
    /* 38 */
    "The selected device is unavailable. Make sure that the CD-ROM drive letter is right and that "
    "the disk is properly inserted, and then try again.",
    /* 39 */ nullptr,
    /* 40 */ nullptr,
    /* 41 */ nullptr,
    /* 42 */ nullptr,
    /* 43 */ nullptr,
    /* 44 */ nullptr,
    /* 45 */ nullptr,
    /* 46 */ nullptr,
    /* 47 */ nullptr,
    /* 48 */ nullptr,
    /* 49 */ nullptr,
    /* 50 */ nullptr,
    /* 51 */ nullptr,
};

const std::string kNoText;

}  // namespace

const std::string& InterfaceTexts::operator[](int index) const {
  return index >= 0 && index < kCount ? texts_[static_cast<std::size_t>(index)] : kNoText;
}

void InterfaceTexts::Set(int index, std::string text) {
  if (index < 0 || index >= kCount) throw RuntimeError(kErrSubscript);
  texts_[static_cast<std::size_t>(index)] = std::move(text);
}

void InterfaceTexts::LoadBuiltInTexts(bool gameVariant) {
  for (int k = 1; k <= 51; ++k) {
    const char* text = gameVariant && kGameTexts[k] ? kGameTexts[k] : kProgramTexts[k];
    texts_[static_cast<std::size_t>(k)] = text ? text : "";
  }
}

void InterfaceTexts::LoadInterfaceTexts(PathResolver& paths, std::string_view configFolder,
                                        MessageBoxService& messages) {
  std::string file = std::string(configFolder) + "Texts";
  if (!paths.FileExists(file)) {
    LoadBuiltInTexts(false);
    return;
  }
  try {
    DataFileReader reader(paths.ReadFile(file));
    int mode = reader.ReadInteger();
    if (mode == 1) {
      LoadBuiltInTexts(true);
    } else if (mode == 2) {
      LoadBuiltInTexts(false);
      reader.Skip(5);
      int count = reader.ReadInteger();
      // The string is read before its place is checked: a 61st entry is read, then refused.
      for (int k = 1; k <= count; ++k) {
        std::string text = reader.ReadString();
        Set(k, std::move(text));
      }
    } else {
      // Mode 0, and any unknown mode, which would otherwise leave every text empty.
      LoadBuiltInTexts(false);
    }
  } catch (const std::exception&) {
    MessageBoxRequest box;
    box.title = "Error";
    box.text = "Unable to load text.";
    box.icon = MsgIcon::Critical;
    messages.Show(box);
    LoadBuiltInTexts(false);
  }
}

std::string InterfaceTexts::ErrorLead() const {
  return texts_[30] + "\r\n\r\n" + texts_[31];
}

}  // namespace sl

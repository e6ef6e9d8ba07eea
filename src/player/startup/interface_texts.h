// The table of interface texts: every caption and standard message the player shows in its own
// interface, by index 0 to 60. Two built-in wordings exist (one for a generic program, one for
// a game); a project may replace entries through the "Texts" file of its configuration folder.
//
// API:
//   InterfaceTexts texts;
//   texts.LoadBuiltInTexts(false);                 // entries 1..51 of the program wording
//   texts.LoadInterfaceTexts(paths, configFolder, messages);  // applies the "Texts" file
//   texts[29]                                     // "Error" (an index outside 0..60 reads "")
//   texts.Set(k, text)                            // RuntimeError 9 outside 0..60
//   texts.ErrorLead()                             // entry 30 + CR LF CR LF + entry 31, the
//                                                 // start of every standard error report
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace sl {

class MessageBoxService;
class PathResolver;

class InterfaceTexts {
 public:
  static constexpr int kCount = 61;

  const std::string& operator[](int index) const;
  void Set(int index, std::string text);

  void LoadBuiltInTexts(bool gameVariant);
  // configFolder: the project's configuration folder ending in a separator.
  void LoadInterfaceTexts(PathResolver& paths, std::string_view configFolder,
                          MessageBoxService& messages);

  std::string ErrorLead() const;

 private:
  std::array<std::string, kCount> texts_;
};

}  // namespace sl

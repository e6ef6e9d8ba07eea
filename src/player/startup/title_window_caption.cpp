// The resolution offer's caption.
#include "player/startup/title_window_caption.h"

#include "core/case_fold.h"

namespace sl {

namespace {

bool EndsWithSize(const std::string& s, std::size_t length, std::string_view xForm,
                  std::string_view starForm) {
  if (s.size() < length + 1) return false;
  std::string tail = s.substr(s.size() - length);
  return FoldCase(tail) == xForm || tail == starForm;
}

}  // namespace

std::string ResolutionCaption(std::string_view text, int targetResolution) {
  std::string s(text);
  if (s.size() >= 2 && s.back() == '.') s.pop_back();
  if (EndsWithSize(s, 7, "640x480", "640*480")) s.resize(s.size() - 7);
  if (EndsWithSize(s, 9, "640 x 480", "640 * 480")) s.resize(s.size() - 9);
  while (!s.empty() && s.back() == ' ')
    s.pop_back();
  switch (targetResolution) {
    case 1:
      return s + " 800x600.";
    case 2:
      return s + " 1024x768.";
    default:
      return s + " 640x480.";
  }
}

}  // namespace sl

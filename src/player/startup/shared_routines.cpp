// Path and text routines shared by the player's subsystems.
#include "player/startup/shared_routines.h"

#include <array>
#include <utility>

#include "core/case_fold.h"

namespace sl {

namespace {

// Usual extension -> the numbered one media files may be stored with.
constexpr std::array<std::pair<std::string_view, std::string_view>, 12> kMediaExtensions = {{
    {".ico", ".002"},
    {".cur", ".003"},
    {".bmp", ".004"},
    {".jpg", ".005"},
    {".gif", ".006"},
    {".wmf", ".007"},
    {".emf", ".008"},
    {".wav", ".010"},
    {".mid", ".011"},
    {".mp3", ".012"},
    {".avi", ".014"},
    {".wma", ".016"},
}};

}  // namespace

std::string MapMediaExtension(std::string_view path) {
  std::string result(path);
  if (path.size() < 4) return result;
  std::string ending = ToLowerAscii(path.substr(path.size() - 4));
  for (const auto& [usual, numbered] : kMediaExtensions) {
    if (ending == usual) {
      result.replace(result.size() - 4, 4, numbered);
      break;
    }
  }
  return result;
}

std::string FileNameOfPath(std::string_view path) {
  std::size_t cut = path.find_last_of("\\/");
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::int32_t NonNegative(std::int32_t n) {
  return n < 0 ? 0 : n;
}

std::string UnescapeScriptText(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c == '|') c = '"';
  }
  return out;
}

bool IsNoneOrDefault(std::string_view name) {
  return name.empty() || EqualsIgnoreCase(name, "default");
}

}  // namespace sl

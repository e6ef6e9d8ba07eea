// The folder a run plays (see game_folder.h).
#include "app/game_folder.h"

#include <filesystem>

#include "core/path_resolver.h"
#include "core/settings_store.h"

namespace sl {

namespace {

constexpr const char* kPlayerSection = "Storyloom Player";
constexpr const char* kLastGameKey = "LastGame";
constexpr const char* kInformationFile = "Config/General";
constexpr const char* kUsageHint = " (see 'storyloom --help' for usage)\n";

// The folder as one absolute path without "." or "..", as the project set-up makes it.
std::string Absolute(const std::string& folder) {
  std::error_code ec;
  std::filesystem::path path = std::filesystem::absolute(folder, ec);
  if (ec) return folder;
  std::string text = path.lexically_normal().string();
  if (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

}  // namespace

std::string ExecutableFolder() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty()) return std::filesystem::current_path(ec).string();
  return exe.parent_path().string();
}

bool IsGameFolder(const std::string& folder) {
  std::error_code ec;
  if (folder.empty() || !std::filesystem::is_directory(folder, ec)) return false;
  return PathResolver(folder).FileExists(kInformationFile);
}

GameFolderChoice ChooseGameFolder(const CommandLineOptions& options,
                                  const std::string& executableFolder,
                                  const SettingsStore& settings) {
  if (!options.projectDir.empty()) return {options.projectDir, {}};
  if (IsGameFolder(executableFolder)) return {executableFolder, {}};
  std::string last = settings.Get(kPlayerSection, kLastGameKey);
  if (last.empty()) return {{}, "no game folder given, and none was played before"};
  if (!IsGameFolder(last)) {
    return {{}, "no game folder given, and the last game played (" + last + ") is gone"};
  }
  return {last, {}};
}

void RememberLastGame(SettingsStore& settings, const std::string& folder) {
  std::string path = Absolute(folder);
  if (settings.Get(kPlayerSection, kLastGameKey) != path)
    settings.Save(kPlayerSection, kLastGameKey, path);
}

std::string NotAGameMessage(const std::string& folder) {
  std::error_code ec;
  if (!std::filesystem::exists(folder, ec))
    return "storyloom: no such folder: " + folder + kUsageHint;
  if (!std::filesystem::is_directory(folder, ec))
    return "storyloom: not a folder: " + folder + kUsageHint;
  return "storyloom: " + folder + " is not a Storyloom game: it has no " + kInformationFile +
         kUsageHint;
}

}  // namespace sl

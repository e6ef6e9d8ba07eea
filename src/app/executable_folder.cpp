// The program's own folder.
#include "app/executable_folder.h"

#include <filesystem>

namespace sl {

std::string ExecutableFolder() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty()) return std::filesystem::current_path(ec).string();
  return exe.parent_path().string();
}

std::string ProjectFolderToUse(const CommandLineOptions& options) {
  return options.projectDir.empty() ? ExecutableFolder() : options.projectDir;
}

}  // namespace sl

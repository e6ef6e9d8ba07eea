// Entry point of the player: reads the command line and runs the game.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app/command_line.h"
#include "app/desktop.h"
#include "app/player_run.h"

namespace {

// The folder that holds the executable: the project folder when the command line names none.
std::string ExecutableFolder(const char* argv0) {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) exe = std::filesystem::absolute(argv0, ec);
  return exe.parent_path().string();
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  sl::CommandLineResult parsed = sl::ParseCommandLine(args);
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "storyloom: %s\nTry 'storyloom --help' for more information.\n",
                 parsed.error.c_str());
    return 2;
  }
  if (parsed.options.help) {
    std::fputs(sl::Usage().c_str(), stdout);
    return 0;
  }
  if (parsed.options.version) {
    std::printf("storyloom %s\n%s\n", STORYLOOM_VERSION, STORYLOOM_HOMEPAGE);
    return 0;
  }
  // Without --headless the game plays in windows on the desktop; with no display to open them
  // on, say so and how to run headless instead.
  if (!parsed.options.headless) {
    std::string why;
    if (!sl::DesktopAvailable(why)) {
      std::fputs(sl::NoDesktopMessage(why).c_str(), stderr);
      return 1;
    }
  }
  return sl::RunPlayer(parsed.options, ExecutableFolder(argv[0]), false);
}

// Entry point of the player: reads the command line and runs the game.
#include <cstdio>
#include <string>
#include <vector>

#include "app/command_line.h"

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
  std::puts("storyloom: not playable yet");
  return 0;
}

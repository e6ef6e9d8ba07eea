// Entry point of the player: reads the command line and runs the game.
#include <cstdio>

int main() {
  std::puts("storyloom: not playable yet");
  return 0;
}

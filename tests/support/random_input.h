// Cases of tests on random or randomly damaged input. The seed is printed when the test takes
// it, every failure inside a case names the seed and the case, and the case's bytes are kept in
// a file while it runs: the file goes when the case passes and stays when it fails, crashes or
// hangs, so that the input can be tried again on its own.
//
// API:
//   unsigned seed = test::RandomSeed(20040307);   // STORYLOOM_TEST_SEED overrides it
//   std::mt19937 rng(seed);
//   for (int i = 0; i < 1000; ++i) {
//     std::string bytes = Mutate(original, rng);
//     test::RandomCase kept("mutated-script", seed, i, bytes, ".vbs");
//     ...                                         // kept.Path() is the file holding the bytes
//   }
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

namespace sl::test {

// Where the inputs of failed cases stay: a folder in the build tree.
inline std::filesystem::path FailingInputFolder() {
  return std::filesystem::path(STORYLOOM_BINARY_DIR) / "failing-inputs";
}

// The seed of a random test: `usual`, or the number in STORYLOOM_TEST_SEED (to try other inputs
// or to repeat another run). Printed, so that the log of a crashed run still names it.
inline unsigned RandomSeed(unsigned usual) {
  unsigned seed = usual;
  if (const char* chosen = std::getenv("STORYLOOM_TEST_SEED"); chosen && *chosen)
    seed = static_cast<unsigned>(std::strtoul(chosen, nullptr, 10));
  std::cout << "random seed " << seed << " (STORYLOOM_TEST_SEED chooses another)" << std::endl;
  return seed;
}

class RandomCase {
 public:
  RandomCase(std::string_view name, unsigned seed, int index, std::string_view bytes,
             std::string_view extension = ".bin")
      : path_(Keep(std::string(name) + "-seed" + std::to_string(seed) + "-case" +
                       std::to_string(index) + std::string(extension),
                   bytes)),
        partsBefore_(Parts()),
        trace_(__FILE__, __LINE__,
               "seed " + std::to_string(seed) + ", case " + std::to_string(index) +
                   ", input kept in " + path_) {}
  ~RandomCase() {
    if (Parts() != partsBefore_) return;  // the case failed: its input stays
    std::error_code ec;
    std::filesystem::remove(path_, ec);
  }
  RandomCase(const RandomCase&) = delete;
  RandomCase& operator=(const RandomCase&) = delete;

  const std::string& Path() const { return path_; }

 private:
  static std::string Keep(const std::string& file, std::string_view bytes) {
    std::filesystem::create_directories(FailingInputFolder());
    std::string path = (FailingInputFolder() / file).string();
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
  }
  // The failures (and skips) the running test has recorded so far.
  static int Parts() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return info ? info->result()->total_part_count() : 0;
  }

  std::string path_;
  int partsBefore_;
  ::testing::ScopedTrace trace_;
};

}  // namespace sl::test

// Feeds thousands of mutated scripts (made from the conformance scripts) to the engine: whatever
// the input, the engine must end with a script error or normally, never crash or hang.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "support/random_input.h"
#include "vbscript/engine.h"
#include "vbscript/fuzz/run_untrusted.h"

namespace sl::vbs {
namespace {

std::vector<std::string> LoadCorpus() {
  std::vector<std::string> corpus;
  std::filesystem::path dir =
      std::filesystem::path(STORYLOOM_SOURCE_DIR) / "tests" / "vbscript" / "conformance";
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (entry.path().extension() != ".vbs") continue;
    // Scripts that fill memory on purpose only make the run slow.
    if (entry.path().stem() == "limits") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    corpus.push_back(text.str());
  }
  return corpus;
}

std::string Mutate(const std::string& source, std::mt19937& rng) {
  static const char* const kPieces[] = {"(",
                                        ")",
                                        "\"",
                                        ",",
                                        ":",
                                        "\n",
                                        " _\n",
                                        "#",
                                        "&H",
                                        ".",
                                        "=",
                                        "If ",
                                        "Then ",
                                        "End If",
                                        "For ",
                                        "Next",
                                        "Do ",
                                        "Loop",
                                        "Sub ",
                                        "End Sub",
                                        "Class ",
                                        "End Class",
                                        "Function ",
                                        "Set ",
                                        "New ",
                                        "Me",
                                        "With ",
                                        "End With",
                                        "Select Case ",
                                        "Case ",
                                        "Exit ",
                                        "ReDim Preserve ",
                                        "Dim ",
                                        "Array(",
                                        "Execute \"",
                                        "Eval(\"",
                                        "GetRef(\"",
                                        " Is ",
                                        " And ",
                                        " Mod ",
                                        "\\",
                                        "^",
                                        "-",
                                        "1E308",
                                        "&HFFFFFFFF",
                                        "32767",
                                        "Null",
                                        "Nothing",
                                        "Err.Raise ",
                                        "On Error Resume Next\n",
                                        "'",
                                        "Rem ",
                                        "[",
                                        "]",
                                        "Property Get ",
                                        "Default ",
                                        "ByRef ",
                                        "ByVal "};
  std::string s = source;
  std::uniform_int_distribution<int> count(1, 4);
  int n = count(rng);
  for (int i = 0; i < n; ++i) {
    std::size_t size = s.size();
    std::size_t pos = size ? std::uniform_int_distribution<std::size_t>(0, size - 1)(rng) : 0;
    std::size_t len = std::uniform_int_distribution<std::size_t>(1, 16)(rng);
    switch (std::uniform_int_distribution<int>(0, 4)(rng)) {
      case 0:
        s.erase(pos, len);
        break;
      case 1:
        s.insert(
            pos,
            kPieces[std::uniform_int_distribution<std::size_t>(0, std::size(kPieces) - 1)(rng)]);
        break;
      case 2:
        if (size) s[pos] = static_cast<char>(std::uniform_int_distribution<int>(0, 255)(rng));
        break;
      case 3:
        if (pos < size) s.insert(pos, s.substr(pos, len));
        break;
      default: {
        std::size_t other = size ? std::uniform_int_distribution<std::size_t>(0, size - 1)(rng) : 0;
        if (pos < size && other < size) s.insert(other, s.substr(pos, len));
        break;
      }
    }
  }
  return s;
}

// Inputs the coverage-guided fuzzer found that once crashed the engine or ran far past the time
// limit; each must now end quickly (the test's own time-out catches a hang).
TEST(FuzzTest, FoundInputsEndNormallyOrWithAnError) {
  std::filesystem::path dir =
      std::filesystem::path(STORYLOOM_SOURCE_DIR) / "tests" / "vbscript" / "fuzz" / "found";
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    SCOPED_TRACE(entry.path().filename().string());
    RunUntrustedScript(text.str());
    ++count;
  }
  EXPECT_GT(count, 0);
}

TEST(FuzzTest, MutatedScriptsNeverCrashTheEngine) {
  std::vector<std::string> corpus = LoadCorpus();
  ASSERT_FALSE(corpus.empty());
  unsigned seed = test::RandomSeed(20040307);
  std::mt19937 rng(seed);
  int errors = 0;
  for (int i = 0; i < 10000; ++i) {
    const std::string& base = corpus[static_cast<std::size_t>(i) % corpus.size()];
    std::string script = Mutate(base, rng);
    test::RandomCase kept("mutated-script", seed, i, script, ".vbs");
    if (!RunUntrustedScript(script)) ++errors;
  }
  // Most mutations break the scripts; some still run. Both kinds must be met.
  EXPECT_GT(errors, 100);
  EXPECT_LT(errors, 10000);
}

}  // namespace
}  // namespace sl::vbs

// Cached case-insensitive lookups in a folder of 20,000 files: names given in another letter
// case than on disk, with '\' separators, as project data writes them.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "../tests/support/temp_folder.h"
#include "core/path_resolver.h"

namespace {

class BenchFolder {
 public:
  BenchFolder() : root_(folder_.Path()) {
    std::filesystem::create_directories(root_ / "Frames");
    for (int i = 0; i < 20000; ++i) {
      std::string name = "Picture_" + std::to_string(i) + ".Jpg";
      if (std::FILE* f = std::fopen((root_ / "Frames" / name).c_str(), "wb")) std::fclose(f);
    }
  }
  std::string Path() const { return root_.string(); }

 private:
  sl::test::TempFolder folder_;
  std::filesystem::path root_;
};

void BM_CaseInsensitiveLookup(benchmark::State& state) {
  BenchFolder folder;
  sl::PathResolver paths(folder.Path());
  std::vector<std::string> queries;
  for (int i = 0; i < 20000; i += 7)
    queries.push_back("frames\\PICTURE_" + std::to_string(i) + ".jpg");
  paths.FileExists(queries[0]);  // lists the folder once
  std::size_t k = 0;
  std::size_t found = 0;
  for (auto _ : state) {
    found += paths.FileExists(queries[k]);
    if (++k == queries.size()) k = 0;
  }
  if (found != static_cast<std::size_t>(state.iterations())) state.SkipWithError("lookup failed");
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_CaseInsensitiveLookup);

void BM_ExactLookup(benchmark::State& state) {
  BenchFolder folder;
  sl::PathResolver paths(folder.Path());
  std::vector<std::string> queries;
  for (int i = 0; i < 20000; i += 7)
    queries.push_back("Frames/Picture_" + std::to_string(i) + ".Jpg");
  paths.FileExists(queries[0]);
  std::size_t k = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(paths.Find(queries[k]));
    if (++k == queries.size()) k = 0;
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_ExactLookup);

void BM_WildcardListing(benchmark::State& state) {
  BenchFolder folder;
  sl::PathResolver paths(folder.Path());
  for (auto _ : state)
    benchmark::DoNotOptimize(paths.ListFiles("FRAMES\\picture_1?.JPG"));
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_WildcardListing)->Unit(benchmark::kMicrosecond);

}  // namespace

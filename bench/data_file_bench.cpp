// Reader throughput on a generated 20 MB data file in the editor's notation, read from the page
// cache: typed reads of every field, reported as bytes per second.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "../tests/support/temp_folder.h"
#include "core/data_file_reader.h"
#include "core/data_file_writer.h"

namespace {

// One record per line: a quoted name, numbers, Booleans, a longer text with a comma.
std::string MakeDataFile(std::size_t targetBytes) {
  sl::DataFileWriter w;
  for (int i = 0; w.Bytes().size() < targetBytes; ++i) {
    w.String("Hotspot " + std::to_string(i)).Integer(i % 30000).Integer(i * 7 % 640);
    w.Boolean(i % 2 == 0).Number(i * 0.25);
    w.String("A description, with a comma and caf\xC3\xA9 in it").EndLine();
  }
  return w.Bytes();
}

void BM_ReadDataFile(benchmark::State& state) {
  sl::test::TempFolder folder;
  std::string path = folder / "storyloom-bench.dat";
  std::string bytes = MakeDataFile(20 << 20);
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  std::size_t fields = 0;
  for (auto _ : state) {
    sl::DataFileReader r = sl::DataFileReader::FromFile(path);
    while (!r.Eof()) {
      benchmark::DoNotOptimize(r.ReadString());
      benchmark::DoNotOptimize(r.ReadInteger());
      benchmark::DoNotOptimize(r.ReadLong());
      benchmark::DoNotOptimize(r.ReadBoolean());
      benchmark::DoNotOptimize(r.ReadDouble());
      benchmark::DoNotOptimize(r.ReadString());
      fields += 6;
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
  state.counters["fields"] = static_cast<double>(fields);
  std::filesystem::remove(path);
}
BENCHMARK(BM_ReadDataFile)->Unit(benchmark::kMillisecond);

}  // namespace

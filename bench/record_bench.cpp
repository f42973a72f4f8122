// Loading the largest records config.json may hold (just under the 64 MiB limit): the time of a
// load and the process's peak resident memory. Run alone so the peak is the load's:
// build/orelog-bench --benchmark_filter=LargestRecord
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "profile/settings.h"
#include "services/record_file.h"
#include "tests/support/temp_folder.h"

namespace orelog {
namespace {

// {"Items":[ELEMENT,ELEMENT,...]} as large as the limit allows.
void writeLargestRecord(const std::filesystem::path& file, const std::string& element) {
  const std::size_t count = (kRecordFileMaxBytes - 13) / (element.size() + 1);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << R"({"Items":[)" << element;
  const std::string next = "," + element;
  for (std::size_t i = 1; i < count; ++i) out.write(next.data(), static_cast<std::streamsize>(next.size()));
  out << "]}";
}

void BM_LoadLargestRecord(benchmark::State& state, const std::string& element) {
  test::TempFolder folder{"orelog-record-bench"};
  const std::filesystem::path file = folder.file("config.json");
  writeLargestRecord(file, element);
  for (auto _ : state) {
    PlayerRecord record;
    benchmark::DoNotOptimize(loadSettings(record, file, 0).loaded);
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

BENCHMARK_CAPTURE(BM_LoadLargestRecord, LargestRecord_empty_objects, std::string("{}"))
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_LoadLargestRecord, LargestRecord_items, std::string(R"({"Item ID":1,"X":2,"Y":3})"))
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
}  // namespace orelog

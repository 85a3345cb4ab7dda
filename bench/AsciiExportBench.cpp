// The delimited export of a large object to a real temporary file: a string grid and a dataset
// of 10 columns. Reported as rows per second, with the growth of the process's peak memory
// during the export itself: it must stay flat from 50,000 to 200,000 rows.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "bench/BenchRun.h"

namespace {

std::string CellText(int Col, int Row) {
  if (Col % 3 == 1) return std::to_string(Row * 7 % 10007) + "." + std::to_string(Col);
  return "text " + std::to_string(Row) + "-" + std::to_string(Col);
}

BenchRun::TObjects& Objects(benchmark::State& State) {
  return BenchRun::Objects(static_cast<int>(State.range(0)), CellText, true);
}

// ru_maxrss of the whole process so far, in kB.
long PeakRssKb() {
  rusage Usage{};
  getrusage(RUSAGE_SELF, &Usage);
  return Usage.ru_maxrss;
}

void Export(benchmark::State& State, TComponent* Object) {
  const std::string FileName =
      (std::filesystem::temp_directory_path() / ("versora-export-bench-" + std::to_string(getpid()) + ".asc"))
          .string();
  long long Rows = 0;
  long Growth = 0;
  for (auto _ : State) {
    BenchRun::ResetPeakRss();
    const long Before = BenchRun::StatusKb("VmRSS");
    Rows += BenchRun::TReport().ExportAscii(Object, FileName);
    Growth = std::max(Growth, BenchRun::StatusKb("VmHWM") - Before);
  }
  State.counters["rows/s"] = benchmark::Counter(static_cast<double>(Rows), benchmark::Counter::kIsRate);
  State.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(FileName)) / 1e6;
  State.counters["peak_rss_MB"] = static_cast<double>(PeakRssKb()) / 1024;
  // The peak resident size during an export above the size before it.
  State.counters["export_peak_growth_kB"] = static_cast<double>(Growth);
  std::filesystem::remove(FileName);
}

void BM_StringGridExport(benchmark::State& State) { Export(State, Objects(State).Grid); }
void BM_DataSetExport(benchmark::State& State) { Export(State, Objects(State).DataSet); }

BENCHMARK(BM_StringGridExport)->Unit(benchmark::kMillisecond)->Iterations(3)->Arg(50000)->Arg(200000);
BENCHMARK(BM_DataSetExport)->Unit(benchmark::kMillisecond)->Iterations(3)->Arg(50000)->Arg(200000);

}  // namespace

BENCHMARK_MAIN();

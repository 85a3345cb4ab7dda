// The column scan of a large string grid: every row measured once in character output, then
// the layout over pages across. Reported as rows per second, with the bytes the scan keeps per
// column, which must not grow with the rows.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/BenchRun.h"

namespace {

std::string CellText(int Col, int Row) {
  if (Col % 3 == 1) return std::to_string(Row * 7 % 10007) + "." + std::to_string(Col);
  return "text " + std::to_string(Row % 997) + std::string(Row % 13, '-') + std::to_string(Col);
}

// One scan over Grid; the bytes of the texts kept for the columns.
size_t ScanOnce(TStringGrid* Grid, int& Rows) {
  BenchRun::TReport Report;
  Report.Settings.OutputQuality = 0;  // character output
  Report.Settings.MaxStringColWidTxt = 40;
  Report.Settings.NumFixedCols = 1;
  Report.Run.SetTextMode();
  Report.Run.PageWidth = 132;
  Report.Start(Grid);
  bool RescanPending = true;
  Report.Info.ColumnScan(nullptr, nullptr, RescanPending);
  Rows = Report.Info.RowsProcessed;
  size_t Kept = 0;
  for (int C = 0; C < Report.Info.ColsList->Count(); ++C)
    for (const TColStrWid& Record : Report.Info.ColsList->Items(C)->Texts) Kept += Record.Text.size();
  return Kept;
}

void BM_StringGridColumnScan(benchmark::State& State) {
  TStringGrid* Grid = BenchRun::Objects(static_cast<int>(State.range(0)), CellText, false).Grid;
  long long Rows = 0;
  size_t Kept = 0;
  for (auto _ : State) {
    int Scanned = 0;
    Kept = ScanOnce(Grid, Scanned);
    Rows += Scanned;
  }
  State.counters["rows/s"] = benchmark::Counter(static_cast<double>(Rows), benchmark::Counter::kIsRate);
  State.counters["kept bytes"] = static_cast<double>(Kept);
  State.SetComplexityN(State.range(0));
}

// A quarter and the whole: linear time shows as an equal rate, constant memory as equal kept bytes.
BENCHMARK(BM_StringGridColumnScan)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Arg(50000)
    ->Arg(200000)
    ->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();

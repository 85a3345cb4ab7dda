// A whole report of a large string grid printed to a text file through the run a Print command
// takes, set beside common tools that lay out or copy the same rows: how far the report is from
// what a plain table formatter costs. Not a test: it prints its figures and fails only when a
// run itself fails.
//
//   report_bench [rows ...]       (default 100000 1000000)
//   report_bench --progress [rows] (default 200000)
//
// For each size: the report's rows/s and MB/s of output; its memory growth measured two ways,
// the peak of the bytes live through operator new during the run above those live at its start
// (every engine container and string allocates through it), and the resident peak (VmHWM of
// /proc/self/status, reset through /proc/self/clear_refs just before the run, minus VmRSS at
// that moment; it misses what the run gets back from memory freed earlier); and the report's
// wall time over each peer's on the same rows written as TSV: `mlr --itsv --opprint cat`,
// `column -t -s <tab>`, and `cat` of the report's own bytes. Then the delimited export of the
// same grid against `mlr --itsv --ocsv cat`.
//
// With --progress: what the progress window costs a report of the rows to a text file, its wall
// time with the window on over the time with it off (the budget is 5%). Both runs have the
// report windows as their user interface, as the program has, behind a twin of that interface
// that first moves the headless backend's virtual clock up to the wall clock, so the window's
// 500 ms throttle lets repaints through as often as on a real machine. The window is made from
// its layout, and each repaint sets its bar and texts and processes the messages; only the
// window system's painting is missing, and the throttle bounds that to two repaints a second.
// The runs alternate, and each side's best of several counts.
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchRun.h"
#include "bench/GroupedReport.h"
#include "bench/HeapCount.h"
#include "engine/VLMXGbl/RunUI.h"
#include "framework/headless/Clock.h"
#include "windows/ReportWindows.h"
#include "windows/VLMXPgrs/VLMXPgrs.h"

namespace {

namespace fs = std::filesystem;

using GroupedReport::CellText;

// The wall time of Work in seconds.
double Timed(const std::function<void()>& Work) {
  const auto Start = std::chrono::steady_clock::now();
  Work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
}

// The run's time, the peak of its live heap over the heap before it, and the growth of the
// resident peak over the resident size before it, in kB.
struct TMeasured {
  double Seconds = 0;
  long HeapKb = 0;
  long ResidentKb = -1;  // -1: the kernel would not reset the peak
};

TMeasured Measure(const std::function<void()>& Work) {
  TMeasured Result;
  const bool Reset = BenchRun::ResetPeakRss();
  const long Before = BenchRun::StatusKb("VmRSS");
  const size_t HeapBefore = Heap::Live;
  Heap::Peak = Heap::Live;
  Result.Seconds = Timed(Work);
  Result.HeapKb = static_cast<long>((Heap::Peak - HeapBefore) / 1024);
  if (Reset) Result.ResidentKb = BenchRun::StatusKb("VmHWM") - Before;
  return Result;
}

// Prints Object into FileName as the setup window's Print command does with the destination
// "Text File": the setup's start, the column scan, the remeasure, the print range, the run.
void PrintReport(TComponent* Object, const std::string& FileName) {
  BenchRun::TReport Report;
  GroupedReport::Configure(Report);
  const int Result = Report.Print(Object, FileName);
  if (Result != 1) throw std::runtime_error("report run ended with " + std::to_string(Result));
}

// The grid's rows, titles first, as tab-separated lines.
void WriteTsv(int Rows, const std::string& FileName) {
  std::ofstream Out(FileName, std::ios::binary);
  for (int C = 0; C < BenchRun::ColCount; ++C) Out << (C ? "\t" : "") << "Title " << C;
  Out << '\n';
  for (int R = 0; R < Rows; ++R) {
    for (int C = 0; C < BenchRun::ColCount; ++C) Out << (C ? "\t" : "") << CellText(C, R);
    Out << '\n';
  }
  if (!Out.flush()) throw std::runtime_error("cannot write " + FileName);
}

bool HaveCommand(const std::string& Name) {
  return std::system(("command -v " + Name + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a shell command line; its wall time, or a negative time when it failed.
double RunPeer(const std::string& Command) {
  int Status = 0;
  const double Seconds = Timed([&] { Status = std::system(Command.c_str()); });
  return Status == 0 ? Seconds : -1;
}

// The memory figures of a run: "heap +x MB, resident +y MB".
std::string GrowthText(const TMeasured& Run) {
  char Text[64];
  if (Run.ResidentKb < 0)
    std::snprintf(Text, sizeof Text, "heap +%.1f MB, resident n/a", static_cast<double>(Run.HeapKb) / 1024);
  else
    std::snprintf(Text, sizeof Text, "heap +%.1f MB, resident +%.1f MB", static_cast<double>(Run.HeapKb) / 1024,
                  static_cast<double>(Run.ResidentKb) / 1024);
  return Text;
}

double MB(const std::string& FileName) { return static_cast<double>(fs::file_size(FileName)) / 1e6; }

// One line of a peer: its time, output size and the engine's time over it.
void ReportPeer(const std::string& Title, const std::string& Tool, const std::string& Command,
                const std::string& OutFile, double EngineSeconds) {
  if (!HaveCommand(Tool)) {
    std::printf("  %-34s %s not found, ratio skipped\n", Title.c_str(), Tool.c_str());
    return;
  }
  const double Seconds = RunPeer(Command);
  if (Seconds < 0) {
    std::printf("  %-34s failed: %s\n", Title.c_str(), Command.c_str());
    return;
  }
  std::printf("  %-34s %8.3f s  %8.1f MB  report/peer time %6.2f\n", Title.c_str(), Seconds, MB(OutFile),
              EngineSeconds / Seconds);
  fs::remove(OutFile);
}

// Runs Work, which writes Rows rows into File, and prints its line; its time.
double RunOwn(const char* Title, int Rows, const std::string& File, const std::function<void()>& Work) {
  fs::remove(File);
  const TMeasured Run = Measure(Work);
  const double Size = MB(File);
  std::printf("  %-34s %8.3f s  %8.1f MB  %10.0f rows/s  %7.1f MB/s  %s\n", Title, Run.Seconds, Size,
              Rows / Run.Seconds, Size / Run.Seconds, GrowthText(Run).c_str());
  return Run.Seconds;
}

void RunSize(int Rows, const fs::path& Dir) {
  const std::string Tsv = (Dir / "rows.tsv").string();
  const std::string Txt = (Dir / "report.txt").string();
  const std::string Asc = (Dir / "export.asc").string();
  const std::string Peer = (Dir / "peer.out").string();

  std::printf("\n%d rows x %d columns\n", Rows, BenchRun::ColCount);
  std::fflush(stdout);
  TStringGrid* Grid = BenchRun::Objects(Rows, CellText, false).Grid;
  WriteTsv(Rows, Tsv);

  const double Report = RunOwn("report (IBM lines, text file)", Rows, Txt, [&] { PrintReport(Grid, Txt); });
  ReportPeer("mlr --itsv --opprint cat", "mlr", "mlr --itsv --opprint cat '" + Tsv + "' > '" + Peer + "'", Peer,
             Report);
  ReportPeer("column -t -s <tab>", "column", "column -t -s \"$(printf '\\t')\" '" + Tsv + "' > '" + Peer + "'",
             Peer, Report);
  ReportPeer("cat of the report", "cat", "cat '" + Txt + "' > '" + Peer + "'", Peer, Report);
  fs::remove(Txt);

  int Exported = 0;
  const double Export = RunOwn("ASCII export (tab delimited)", Rows, Asc,
                               [&] { Exported = BenchRun::TReport().ExportAscii(Grid, Asc); });
  // The titles and the totals count as rows of the export too.
  if (Exported < Rows) throw std::runtime_error("export wrote " + std::to_string(Exported) + " rows");
  ReportPeer("mlr --itsv --ocsv cat", "mlr", "mlr --itsv --ocsv cat '" + Tsv + "' > '" + Peer + "'", Peer, Export);
  fs::remove(Asc);
  fs::remove(Tsv);
}

// The report windows' side of a run on a clock that keeps up with the wall clock; the repaints
// that got through the throttle are counted.
class TWallClockWindows : public TvlxRunUI {
public:
  explicit TWallClockWindows(TvlxRunUI& Windows) : FWindows(Windows) {}

  void ProgressStart(bool Show, const std::string& Caption, const std::string& AbortCaption,
                     const std::string& ResumeCaption) override {
    KeepUp();
    FWindows.ProgressStart(Show, Caption, AbortCaption, ResumeCaption);
  }
  void ProgressAdvance(int Count, int& Total, TPoint PagePanel) override {
    KeepUp();
    const unsigned Last = fmVlxProgress ? fmVlxProgress->LastTick : 0;
    FWindows.ProgressAdvance(Count, Total, PagePanel);
    if (fmVlxProgress && fmVlxProgress->LastTick != Last) ++Repaints;
  }
  void ProgressFinish(bool ShowSummary, const std::string& Msg) override {
    KeepUp();
    FWindows.ProgressFinish(ShowSummary, Msg);
  }
  void CheckSuspend() override { FWindows.CheckSuspend(); }

  int Repaints = 0;

private:
  void KeepUp() {
    const auto Wall = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - FStart).count();
    if (Wall > FMoved) {
      Headless::AdvanceClock(static_cast<unsigned>(Wall - FMoved));
      FMoved = Wall;
    }
  }

  using Clock = std::chrono::steady_clock;
  TvlxRunUI& FWindows;
  const Clock::time_point FStart = Clock::now();
  long long FMoved = 0;
};

void RunProgressCost(int Rows, const fs::path& Dir) {
  RegisterReportWindows();
  TWallClockWindows Windows(RunUI());
  SetRunUI(&Windows);
  const std::string Txt = (Dir / "report.txt").string();
  std::printf("\n%d rows x %d columns to a text file, progress window off and on\n", Rows, BenchRun::ColCount);
  std::fflush(stdout);
  TStringGrid* Grid = BenchRun::Objects(Rows, CellText, false).Grid;
  constexpr int Rounds = 5;
  double Best[2] = {1e30, 1e30};
  for (int Round = 0; Round < Rounds; ++Round)
    for (int Side = 0; Side < 2; ++Side) {
      fs::remove(Txt);
      Windows.Repaints = 0;
      const double Seconds = Timed([&] {
        BenchRun::TReport Report;
        GroupedReport::Configure(Report, Side == 1);
        const int Result = Report.Print(Grid, Txt);
        if (Result != 1) throw std::runtime_error("report run ended with " + std::to_string(Result));
      });
      Best[Side] = std::min(Best[Side], Seconds);
      std::printf("  round %d, progress %-3s %8.3f s  %3d repaints\n", Round + 1, Side ? "on" : "off", Seconds,
                  Windows.Repaints);
    }
  fs::remove(Txt);
  std::printf("  best: off %.3f s, on %.3f s; the progress window costs %+.1f%% (budget 5%%)\n", Best[0], Best[1],
              (Best[1] / Best[0] - 1) * 100);
}

}  // namespace

int main(int Argc, char** Argv) {
  const bool Progress = Argc > 1 && std::string(Argv[1]) == "--progress";
  std::vector<int> Sizes;
  for (int I = Progress ? 2 : 1; I < Argc; ++I) Sizes.push_back(std::stoi(Argv[I]));
  if (Sizes.empty()) Sizes = Progress ? std::vector<int>{200000} : std::vector<int>{100000, 1000000};
  const fs::path Dir = fs::temp_directory_path() / ("versora-report-bench-" + std::to_string(getpid()));
  fs::create_directories(Dir);
  int Status = 0;
  try {
    for (int Rows : Sizes) Progress ? RunProgressCost(Rows, Dir) : RunSize(Rows, Dir);
  } catch (const std::exception& E) {
    std::fprintf(stderr, "report_bench: %s\n", E.what());
    Status = 1;
  }
  fs::remove_all(Dir);
  return Status;
}

// Loading and saving one report's section in a settings file shared by many reports: both read
// and rewrite the whole file, so their time must grow with the file's size and no faster.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "engine/Vellumix/FileMgr.h"
#include "engine/Vellumix/ReportSettings.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/rtl/SysUtils.h"

namespace {

std::string IdOf(int Section) { return Format("Report %d (%.3d.%.3d)", {Section, 1 + Section / 999, 1 + Section % 999}); }

// A settings file of Sections sections, each with a few values and two memo blocks.
struct TSettingsFile {
  std::filesystem::path Dir;
  std::string Name;
  explicit TSettingsFile(int Sections) {
    Dir = std::filesystem::temp_directory_path() / ("settings-bench-" + std::to_string(Sections));
    std::filesystem::create_directories(Dir);
    Name = (Dir / "RptSet.Txt").string();
    std::ofstream Out(Name, std::ios::binary | std::ios::trunc);
    for (int S = 0; S < Sections; ++S)
      Out << "[Bench:" << IdOf(S) << "]\r\nPrintWhat=6\r\nPageRangeTo=0,12\r\nReportDesc=Report number " << S
          << "\r\nCreateDate=20260105.090000\r\nLastSaveDate=20260105.090000\r\n"
          << "Memo,RptTi=START\r\nMonthly sales\r\n[Draft]\r\nMemo,RptTi=END\r\n"
          << "Memo,PgNum=START\r\n\r^DL^PC^TR\r\nMemo,PgNum=END\r\n\r\n";
  }
  ~TSettingsFile() {
    std::error_code Ignored;
    std::filesystem::remove_all(Dir, Ignored);
  }
};

// A component bound to settings over a generated file of Sections sections.
struct TBench {
  TSettingsFile File;
  TvlxReportSettings Settings;
  TvlxVellumix Vlx{nullptr};
  explicit TBench(int Sections) : File(Sections) {
    Vlx.SetReportSettingsFileName(File.Name);
    Vlx.FileMgr()->SetReportSettings(&Settings);
  }
};

void BM_LoadOneSection(benchmark::State& State) {
  const int Sections = static_cast<int>(State.range(0));
  TBench B(Sections);
  TSettingsFile& File = B.File;
  TvlxReportSettings& Settings = B.Settings;
  TvlxVellumix& Vlx = B.Vlx;
  for (auto _ : State) {
    Vlx.FileMgr()->LoadReportSettings("Bench", IdOf(Sections / 2));
    benchmark::DoNotOptimize(Settings.PrintWhat);
  }
  State.SetBytesProcessed(State.iterations() * std::filesystem::file_size(File.Name));
}

void BM_SaveOneSection(benchmark::State& State) {
  const int Sections = static_cast<int>(State.range(0));
  TBench B(Sections);
  TSettingsFile& File = B.File;
  TvlxReportSettings& Settings = B.Settings;
  TvlxVellumix& Vlx = B.Vlx;
  std::string User = "Bench", Id = IdOf(Sections / 2);
  Vlx.FileMgr()->LoadReportSettings(User, Id);
  for (auto _ : State) {
    Settings.PrintWhat = static_cast<TPrintWhat>(State.iterations() % 5);
    Vlx.FileMgr()->SaveReportSettingsSimple(User, Id, true);
  }
  State.SetBytesProcessed(State.iterations() * std::filesystem::file_size(File.Name));
}

}  // namespace

BENCHMARK(BM_LoadOneSection)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveOneSection)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();

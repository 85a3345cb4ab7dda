// The preview over a large string grid: the last-page search, then moves to page 10 and to the
// last page from their restart points. Not a test: it prints its figures and fails only when the
// report cannot be set up.
//
//   preview_bench [rows ...]     (default 100000 1000000)
//
// For each size: the search's rows/s (a search linear in rows keeps it level from size to size),
// the time of one move to page 10 and to the last page (the same work: one page composed from
// its restart point, whichever page it is), and the bytes the restart points hold per page.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "bench/BenchRun.h"
#include "bench/GroupedReport.h"
#include "bench/HeapCount.h"
#include "engine/VLMXGbl/RptStyles.h"
#include "windows/VLMXPrev/PrvwPageList.h"

namespace {

double Timed(const std::function<void()>& Work) {
  const auto Start = std::chrono::steady_clock::now();
  Work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
}

class TShown : public TvlxPreviewText {
public:
  void ShowPage(const TStrings& Lines) override { Count = Lines.Count(); }
  int Count = 0;
};

void Bench(int Rows) {
  TStringGrid* Grid = BenchRun::Objects(Rows, GroupedReport::CellText, false).Grid;
  // The report benchmark's report: the restart points carry previous values and totals.
  BenchRun::TReport Report;
  GroupedReport::Configure(Report);
  const std::string Scratch = (std::filesystem::temp_directory_path() / "preview_bench.txt").string();
  // The start of the run: the columns measured and placed.
  if (Report.Print(Grid, Scratch) != 1) {
    std::fprintf(stderr, "the report of %d rows failed\n", Rows);
    std::exit(1);
  }
  std::filesystem::remove(Scratch);

  TvlxPrintSettings& Run = Report.Run;
  TShown Shown;
  Run.Sink = PreviewPageSink(Shown);
  Run.PageMode = pmPreview;
  PreviewStartReport();
  const size_t HeapBefore = Heap::Live;
  TPrvwPageList PageList;
  int LastTotalsRow = 0;
  bool Exact = false;
  PreviewGoToPage(PageList, gpNext, LastTotalsRow, Exact);

  // The last-page search: pages laid out, not shown, until the report ends.
  const double Search = Timed([&] {
    Run.PageMode = pmLayoutOnly;
    while (!PreviewAtReportEnd()) PreviewGoToPage(PageList, gpNext, LastTotalsRow, Exact);
    Run.PageMode = pmPreview;
  });
  const int LastPage = Run.CurVertPage;
  const double BytesPerPage = static_cast<double>(Heap::Live - HeapBefore) / PageList.Count();

  // A move to a known page: its restart point restored, one page composed.
  const auto MoveTo = [&](int Page) {
    constexpr int Moves = 50;
    return Timed([&] {
             for (int I = 0; I < Moves; ++I) {
               Run.CurPageAcross = 1;
               Run.CurVertPage = Page;
               PreviewGoToPage(PageList, gpSame, LastTotalsRow, Exact);
             }
           }) / Moves;
  };
  const double ToPage10 = MoveTo(10), ToLast = MoveTo(LastPage);
  Run.Sink.reset();

  std::printf("%8d rows, %6d pages: search %.2f s (%.0f rows/s); move to page 10 %.3f ms, to the last page "
              "%.3f ms (ratio %.2f); restart points %.0f bytes a page\n",
              Rows, LastPage, Search, Rows / Search, ToPage10 * 1e3, ToLast * 1e3, ToLast / ToPage10, BytesPerPage);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> Sizes;
  for (int I = 1; I < argc; ++I) Sizes.push_back(std::atoi(argv[I]));
  if (Sizes.empty()) Sizes = {100000, 1000000};
  for (const int Rows : Sizes) Bench(Rows);
}

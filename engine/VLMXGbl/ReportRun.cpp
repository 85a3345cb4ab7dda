// The top of a report run: the output opened and closed around one of the window snapshot, the
// delimited export or the page loop, the end state turned into the caller's result, and the
// report start with the print range that the page loop follows.
#include <algorithm>
#include <exception>
#include <type_traits>
#include <utility>

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/RptStyles.h"
#include "engine/VLMXGbl/RunUI.h"
#include "engine/VLMXGbl0.h"
#include "engine/VLMXText.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/Forms.h"
#include "framework/rtl/SysUtils.h"

namespace {

constexpr int NotPlaced = -99;

// The caller's result for the run's end state.
int ResultOf(TvlxRunState RunState) {
  switch (RunState) {
    case rsCompletedNormally: return 1;
    case rsUserCancelled: return 2;
    default: return 3;
  }
}

const std::string SnapshotErrorPrefix = "TvlxVellumix Setup Error\r\r";

// The surface of a page laid out before the print range: it measures text as the run's canvas
// does and draws nothing, so the sheet being printed gets none of that page.
class TLayoutDevice : public TCanvasDevice {
public:
  explicit TLayoutDevice(TCanvas& Measure) : FMeasure(Measure) {}
  void TextOut(int, int, const std::string&, const TFont&, const TBrush&) override {}
  TSize TextExtent(const std::string& Text, const TFont& Font) override {
    return InFont(Font, [&] { return FMeasure.TextExtent(Text); });
  }
  TTextMetric TextMetrics(const TFont& Font) override {
    return InFont(Font, [&] { return FMeasure.TextMetrics(); });
  }
  int PixelsPerInch() const override { return FMeasure.Font().PixelsPerInch(); }

private:
  template <class F>
  std::invoke_result_t<F> InFont(const TFont& Font, F&& Measure) {
    const TFont Saved = FMeasure.Font();
    FMeasure.Font().Assign(Font);
    auto Result = Measure();
    FMeasure.Font() = Saved;
    return Result;
  }
  TCanvas& FMeasure;
};

// Puts the run on a canvas of Device for its life, carrying the font and brush there and back.
class TCanvasSwap {
public:
  TCanvasSwap(TvlxPrintSettings& PS, TLayoutDevice& Device) : FPS(PS), FLive(PS.Canvas) {
    FCanvas.SetDevice(&Device);
    FCanvas.Font().Assign(FLive->Font());
    FCanvas.Brush() = FLive->Brush();
    PS.Canvas = &FCanvas;
  }
  ~TCanvasSwap() {
    FLive->Font().Assign(FCanvas.Font());
    FLive->Brush() = FCanvas.Brush();
    FPS.Canvas = FLive;
  }
  TCanvasSwap(const TCanvasSwap&) = delete;
  TCanvasSwap& operator=(const TCanvasSwap&) = delete;

private:
  TvlxPrintSettings& FPS;
  TCanvas* FLive;
  TCanvas FCanvas;
};

// Gives the page about to be composed its page mode by the print range: laid out only before
// the range (the range's first vertical page starts on its first page across instead), printed
// inside it. False past the range's end, which ends the report.
bool PlaceInRange(TvlxPrintSettings& PS, int FirstPanel, int FirstPanelColumn) {
  if (ComparePageNo(PS.CurPagePos(), PS.PrintRangeFrom) < 0) {
    if (PS.CurVertPage == PS.PrintRangeFrom.Y) {
      PS.CurCol = FirstPanelColumn;
      PS.CurPageAcross = FirstPanel;
      PS.PageMode = pmPrint;
    } else {
      PS.PageMode = pmLayoutOnly;
    }
  } else if (ComparePageNo(PS.CurPagePos(), PS.PrintRangeLast()) > 0) {
    PS.Adapter().EndOfRows = true;
    PS.Styles().BandInfo[bnTotals].Finished = true;
    return false;
  } else {
    PS.PageMode = pmPrint;
  }
  return true;
}

// Composes the current page; a page laid out only measures on the run's canvas and draws
// nothing on the sheet being printed.
void ComposePage(TvlxPrintSettings& PS) {
  if (PS.PageMode == pmLayoutOnly && PS.Canvas) {
    TLayoutDevice Device(*PS.Canvas);
    TCanvasSwap Swap(PS, Device);
    PS.PrintPage();
  } else {
    PS.PrintPage();
  }
}

// Tells the progress of a printed page, rows when the whole report prints, else pages, and
// lets the user suspend the run.
void AdvanceProgress(TvlxPrintSettings& PS) {
  int Count = PS.CurVertPage, Total = PS.PrintRangeTo.Y;
  if (PS.Settings().PrintWhat == pwAll) {
    Count = PS.Adapter().RowsProcessed;
    Total = PS.Adapter().RowCount;
  }
  RunUI().ProgressAdvance(Count, Total, PS.CurPagePos());
  // The one point where the user's Abort, Esc or Ctrl+Pause reaches a printing run.
  RunUI().CheckSuspend();
}

// The vertical pages of the report, each with its pages across, until the report ends.
void PrintReportBody(TvlxPrintSettings& PS) {
  PS.PagesLaidOut = 0;
  const int FirstPanel = std::max(1, PS.PrintRangeFrom.X);
  int PlacedOn = FirstPanel;
  const int FirstPanelColumn = PS.Adapter().NextUnplacedCol(PlacedOn);
  while (!PS.Styles().BandInfo[bnTotals].Finished && PS.RunState == rsActive) {
    ++PS.CurVertPage;
    PS.CurPageAcross = 0;
    PS.CurCol = 0;
    struct TPageDone {
      TvlxPrintSettings& PS;
      ~TPageDone() {
        PS.BMLineList.Clear();
        ++PS.PagesLaidOut;
      }
    } PageDone{PS};
    do {
      ++PS.CurPageAcross;
      if (!PlaceInRange(PS, FirstPanel, FirstPanelColumn)) break;
      PS.FirstCol = PS.CurCol;
      ComposePage(PS);
      // A page before the range is laid out on its first panel only, which consumes its rows.
      if (PS.PageMode == pmLayoutOnly) break;
      ++PS.PagesWritten;
      AdvanceProgress(PS);
      // At or past the last panel: a panel count not laid out yet must not loop for ever.
    } while (PS.CurPageAcross < PS.PagesAcross && PS.RunState == rsActive);
  }
}

}  // namespace

int TvlxPrintSettings::Execute(bool ShowSummary) {
  RunStart = Now();
  FailureText.clear();
  // The progress summary tells a failure in its red line once it has opened; one that comes
  // before, or without a summary, would go untold.
  bool SummaryTells = false;
  try {
    if (OutPrinter) {
      std::string Device, Driver;
      Printer()->GetPrinter(Device, Driver);
      DestName = Device;
    } else if (OutAnyFile) {
      DestName = Settings().OutputFileName;
    }
    RunState = rsActive;
    if (OpenOutput()) {
      if (!OutAsciiFile && !OutSnapshot) {
        CheckMemosFitPage();
        CheckColumnsFitPage();
        NormalizePageRange();
      }
      if (!OutSnapshot) {
        RunUI().ProgressStart(Settings().DisplayProgressWin, "Report:" + Settings().ReportTitle, "&Abort Report",
                      "&Resume Report");
        SummaryTells = Settings().DisplayProgressWin && ShowSummary;
      }
      if (OutSnapshot) PrintSnapshot();
      else if (OutAsciiFile) ExportAscii();
      else PrintPages();
      if (RunState == rsActive) RunState = rsCompletedNormally;
    }
  } catch (const std::exception& E) {
    // Kept for the caller (which gets result 3) to tell, unless the summary will.
    RunState = rsTerminatedWithError;
    if (!SummaryTells) FailureText = E.what();
  } catch (...) {
    RunState = rsTerminatedWithError;
  }
  const int Result = ResultOf(RunState);

  std::exception_ptr CloseError;
  try {
    CloseOutput();
  } catch (...) {
    CloseError = std::current_exception();
    // Pages that never reached the printer are no completed report, in the summary either.
    RunState = rsTerminatedWithError;
  }
  std::string Elapsed;
  ElapsedTimeStr(Now() - RunStart, Elapsed);
  const std::string Pages = OutAsciiFile ? "" : IntToStr(PagesWritten) + " Pages Printed. ";
  RunUI().ProgressFinish(ShowSummary, Pages + "Elapsed Time: " + Elapsed);
  if (CloseError) std::rethrow_exception(CloseError);
  return Result;
}

void TvlxPrintSettings::SetPageRange(TPrintWhat Kind, bool UsePreviewPages, TPoint FromPage, TPoint ToPage) {
  CurVertPage = 0;
  FromRestartPoint = false;
  RecordCounterStart = Settings().StartingReportLineId;
  switch (Kind) {
    case pwAll:
      AllPages = true;
      PrintRangeFrom = {0, 1};
      PrintRangeTo = {0, AllPagesEnd};
      break;
    case pwCurrentPage:
      AllPages = false;
      PrintRangeFrom = PrintRangeTo = {0, 1};
      break;
    case pwTestPage:
      AllPages = true;
      PrintRangeFrom = PrintRangeTo = {1, 1};
      break;
    case pwPageRange:
      PrintRangeFrom = FromPage;
      PrintRangeTo = ToPage;
      // Without the preview's restart points the run starts from the first row and lays out
      // the pages before the range without emitting them.
      (void)UsePreviewPages;
      AllPages = true;
      break;
    default: break;
  }
}

void TvlxPrintSettings::NormalizePageRange() {
  PrintRangeFrom.X = std::max(PrintRangeFrom.X, 0);
  PrintRangeFrom.Y = std::max(PrintRangeFrom.Y, 1);
  PrintRangeFrom.X = std::min(PrintRangeFrom.X, PagesAcross);
  PrintRangeTo.X = std::min(PrintRangeTo.X, PagesAcross);
  // A to-panel of 0 on the from-page means every panel of that page.
  const bool WholeFromPage = PrintRangeTo.Y == PrintRangeFrom.Y && PrintRangeTo.X == 0;
  if (ComparePageNo(PrintRangeTo, PrintRangeFrom) < 0 && !WholeFromPage) PrintRangeTo = PrintRangeFrom;
}

void TvlxPrintSettings::ResetPagePositions() {
  RptFtrPos = {NotPlaced, NotPlaced};
  TotalsPage = RptFtrPage = NotPlaced;
  LastEmittedPage = {0, 0};
  PagesWritten = 0;
  RememberedCols = {-1, -1};
}

void TvlxPrintSettings::ResetBandCounters() {
  TObjInfo& Info = Adapter();
  const int TitleRows = Info.FixedRows;
  const int Counts[] = {TitleRows, Info.RowCount - (Info.HasHeaderRow ? TitleRows : 0), Info.TotalLines};
  for (int Band = bnTitles; Band <= bnTotals; ++Band) {
    TBandInfo& B = Styles().BandInfo[Band];
    B.RowCount = Counts[Band - bnTitles];
    B.RowNdx = 0;
    B.Finished = false;
  }
}

void TvlxPrintSettings::StartReport() {
  TObjInfo& Info = Adapter();
  // A run from a restart point continues the report there: emptying what the point restored
  // would lose the repeat marks of its first row and total from the restart on.
  const bool Restarted = std::exchange(FromRestartPoint, false) && !AllPages;
  if (!Restarted) {
    Info.SelRowNdx = 0;
    Info.ResetPrevValues();
  }
  if (Info.OnZeroColumnTotals) Info.OnZeroColumnTotals(Info.Component);
  MakeRunDateTexts();
  ResetPagePositions();
  if (Info.ColsList) Info.ColsList->ResetTotals(!Restarted);
  Info.RowsProcessed = 0;
  RowsSinceRule = 0;
  RecordCounter = RecordCounterStart - 1;
  RunStart = Now();
  Info.EndOfRows = false;
  Info.RuleEveryRow = false;
  LastCol = (Info.ColsList ? Info.ColsList->Count() : 0) - 1;
  GrpBrkCol = PrevGrpBrkCol = -1;
  ClearSelRows();
  PrevRowGrpHdr = false;
  ResetBandCounters();
  const TPrintWhat PrintWhat = Settings().PrintWhat;
  if (AllPages || PrintWhat == pwAll || PrintWhat == pwCurrentPage) {
    if (!Info.First()) Styles().BandInfo[bnData].Finished = true;
  } else {
    // A restart inside the report: the object already stands on the row to print.
    ++RecordCounter;
  }
  // The rows go on counting from the restart point, as the previous values recorded them.
  if (Restarted) Styles().BandInfo[bnData].RowNdx = RecordCounter - Settings().StartingReportLineId;
  RunState = rsActive;
}

void TvlxPrintSettings::PrintPages() {
  TObjPosn SavedPosn(Adapter());
  struct TRestore {
    TvlxPrintSettings& PS;
    TObjPosn& Posn;
    TPoint Page;
    ~TRestore() {
      Posn.Restore();
      PS.CurPageAcross = Page.X;
      PS.CurVertPage = Page.Y;
    }
  } Restore{*this, SavedPosn, CurPagePos()};

  std::exception_ptr Error;
  try {
    StartReport();
    PrintReportBody(*this);
  } catch (...) {
    Error = std::current_exception();
  }
  // The report footer that found no room below the totals gets a page of its own. Only a report
  // that reached its end has it: after the totals no row is left to pull onto that page, and a
  // run that stopped before (its range, the current or test page, an abort, an error) prints no
  // page beyond what was asked. The footer's page must lie in the range too.
  try {
    if (!Error && RunState == rsActive && TotalsPage >= 1 && RptFtrPos.Y < 0 && Settings().MemoVisible(RptFtr, true) &&
        CurVertPage < PrintRangeTo.Y) {
      // It follows the report's last page across, as in a run that printed every page across,
      // also when the pages before a range were laid out on their first one only.
      CurPageAcross = std::max(PagesAcross, 1);
      ++CurVertPage;
      PageMode = pmPrint;
      PrintPage();
      ++PagesWritten;
    }
  } catch (...) {
    Error = std::current_exception();
  }
  if (Error) std::rethrow_exception(Error);
}

void TvlxPrintSettings::PrintSnapshot() {
  TCustomForm* Form = Adapter().ActiveForm;
  if (!Form) throw eVlxSUError(VlxWholeText, SnapshotErrorPrefix + Adapter().ComponentName + " does not have a form");
  // The picture goes on the printer's canvas: raw spooler text has none.
  if (!OutPrinter || OutFastPrinterText)
    throw eVlxSUError(VlxWholeText, SnapshotErrorPrefix + "Attempted to print snapshot without using printer as Output Destination");

  struct TRestoreForm {
    TCustomForm& Form;
    bool Visible;
    TPrintScale Scale;
    TWindowState State;
    ~TRestoreForm() {
      Form.SetPrintScale(Scale);
      Form.SetWindowState(State);
      Form.SetVisible(Visible);
    }
  } Restore{*Form, Form->Visible(), Form->PrintScale(), Form->WindowState()};

  const std::string Size = Settings().SnapShotSize + "  ";
  if (Size[0] == 'M' && Form->WindowState() != TWindowState::wsMaximized)
    Form->SetWindowState(TWindowState::wsMaximized);
  Form->SetPrintScale(Size[1] == 'P'   ? TPrintScale::poProportional
                      : Size[1] == 'S' ? TPrintScale::poNone
                                       : TPrintScale::poPrintToFit);
  if (!Form->Visible()) Form->Show();
  Form->Print();
}

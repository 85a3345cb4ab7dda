// Column widths: the walk over the rows that keeps each column's widest title, data and totals
// texts, the measuring of those texts in the report's fonts (or the control's own column sizes),
// and the line heights of the row bands.
#include <algorithm>

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/RowSources.h"
#include "engine/VLMXGbl/RptStyles.h"
#include "engine/VLMXGbl/RunUI.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/DB.h"

namespace {

// AutoSizze 0 measures every row.
constexpr uint8_t asLimitRows = 1, asCurrentSizes = 2;
constexpr int RecPixels = 0, RecChars = 1;
// The database scans that are long enough to be worth a progress window.
constexpr int ProgressRowThreshold = 200;

uint8_t AutoSizze(const TvlxRunPart& R) { return R.Settings().AutoSizze; }
bool TextUnits(const TvlxRunPart& R) { return R.State().UnitSet == usText; }
bool CharacterOutput(const TvlxRunPart& R) { return R.Settings().IsTextStyleOutput(); }

// Calls Visit on each line of Text between carriage returns; an empty text is one empty line.
// A text of one line, nearly every cell, is visited as it stands.
template <class TVisit>
void ForEachLine(const std::string& Text, TVisit Visit) {
  if (Text.find('\r') == std::string::npos) {
    Visit(Text);
    return;
  }
  size_t From = 0;
  for (;;) {
    const size_t At = Text.find('\r', From);
    Visit(Text.substr(From, At == std::string::npos ? std::string::npos : At - From));
    if (At == std::string::npos) return;
    From = At + 1;
  }
}

TCanvas* RunCanvas(const TvlxRunPart& R) { return R.State().Canvas; }

int TextWidth(const TvlxRunPart& R, const std::string& Text) {
  TCanvas* Canvas = RunCanvas(R);
  return Canvas ? Canvas->TextWidth(Text) : 0;
}

// The styles' font of a zone goes onto the run's canvas only when the zone changes: every font
// change makes the device choose a font again.
void SetStyleFont(TObjInfo& Info, uint8_t Zone) {
  if (Info.LayoutCase == Zone) return;
  Info.LayoutCase = Zone;
  Info.Styles().ApplyFont(false);
}


// Strings and memos wider than the report's maxima are measured at the maximum.
void CapWidth(const TvlxRunPart& R, int Kind, int& Pixels, int& Chars) {
  const TvlxReportSettings& S = R.Settings();
  const int CharWidth = R.State().CharWidth;
  if (Kind == ftMemo) {
    const bool Over = TextUnits(R) ? S.MaxMemoColWidTxt > 0 && Chars > S.MaxMemoColWidTxt
                                  : S.MaxMemoColWidDev > 0 && Pixels > S.MaxMemoColWidDev;
    if (Over) {
      Chars = S.MaxMemoColWidTxt;
      Pixels = S.MaxMemoColWidDev;
    }
  } else if (Kind == ftString) {
    if (TextUnits(R)) {
      if (S.MaxStringColWidTxt > 0 && Chars > S.MaxStringColWidTxt) {
        Chars = S.MaxStringColWidTxt;
        Pixels = Chars * CharWidth;
      }
    } else if (S.MaxStringColWidDev > 0 && Pixels > S.MaxStringColWidDev) {
      Pixels = S.MaxStringColWidDev;
      if (CharWidth > 0) Chars = Pixels / CharWidth;
    }
  }
}

}  // namespace

int ScreenTextWidth(const TvlxRunPart& R, const TFont& Font, const std::string& Text) {
  TCanvas* Canvas = RunCanvas(R);
  if (!Canvas || R.State().DevResX <= 0 || R.State().ScrResX <= 0) return 0;
  struct TRestore {
    TCanvas& Canvas;
    TFont Saved;
    ~TRestore() { Canvas.Font() = Saved; }
  } Restore{*Canvas, Canvas->Font()};
  Canvas->Font().Assign(Font);
  return std::max(0, MulDivRound(Canvas->TextWidth(Text), R.State().ScrResX, R.State().DevResX));
}

void TObjInfo::ColumnScan(TComponent* /*Host*/, TControl* PagesAcrossLabel, bool& RescanPending) {
  TvlxPrintSettings& PS = State();
  ResetPrevValues();
  const uint8_t A = Settings().AutoSizze;
  PS.PageMode = pmColumnScan;
  PS.RunState = rsActive;
  RowsProcessed = 0;
  EndOfRows = false;

  int Limit = RowCount;
  if (FRows->IsDatabase() && A == asLimitRows) Limit = std::min(RowCount, Settings().MaxRowsToAutoSizze);
  else if (FRows->IsDatabase() && A == asCurrentSizes) Limit = 1;
  const bool MeasureText = A < asCurrentSizes;

  // A window left open by an exception would outlive the scan that owns it.
  struct TProgressGuard {
    ~TProgressGuard() {
      RunUI().ProgressFinish(false, "");
    }
  } ProgressGuard;
  int FirstRow = CurCell.Y;
  if (MeasureText) {
    RunUI().ProgressStart(Limit > ProgressRowThreshold && FRows->IsDatabase(), "", "&Abort Column Scan",
                          "&Resume Column Scan");
    First();
    FirstRow = CurCell.Y;
  }
  ResetColumns(true, true);

  CurCell = Origin;
  for (int I = 0; I < FixedRows; ++I) {
    CurCell.Y = Origin.Y + I;
    Styles().BandInfo[bnTitles].RowNdx = I;
    CalcColWid(MeasureText, bnTitles);
  }
  // The data rows start on the row First found, which honours the filter, the selection and
  // the current-page start; without First the walk starts at the first data row.
  if (MeasureText) {
    CurCell.Y = FirstRow;
  } else {
    CurCell.Y = FixedPoint.Y;
    EndOfRows = !FRows->RowAtCursor();
  }
  Styles().BandInfo[bnData].RowNdx = 0;

  bool Measured = false;
  while (!EndOfRows && PS.RunState != rsTerminatedWithError && PS.RunState != rsUserCancelled) {
    ++RowsProcessed;
    if (!PS.GrpHdrRow) {
      CalcColWid(MeasureText, bnData, Measured);
      Measured = true;
    }
    RunUI().ProgressAdvance(RowsProcessed, Limit, TPoint{-1, -1});
    if (RowsProcessed == Limit) break;
    Next(bnData, false);
  }

  FinishColWidths(MeasureText);
  CalcPagesAcross(PagesAcrossLabel);
  if (MeasureText) RunUI().ProgressAdvance(RowsProcessed, Limit, TPoint{-1, -1});

  if (PS.RunState == rsActive) PS.RunState = rsCompletedNormally;
  const bool Stopped = PS.RunState == rsTerminatedWithError || PS.RunState == rsUserCancelled;
  ColScanResult = Stopped ? 1 : 2;
  RunUI().ProgressFinish(Stopped, "");
  RescanPending = false;
  DefaultAlignments();
}

void TObjInfo::Remeasure(TControl* PagesAcrossLabel, bool& RescanPending) {
  // The widest texts kept by the last walk were cut to the caps then in force and read with the
  // line numbers of the starting number then in force: a wider cap or another starting number
  // would measure other texts. So the rows are walked again, once, keeping only the widest
  // texts as the walk goes; the totals it measures are counted again from nothing over the same
  // rows. The caller's print or preview mode and run state are its own again afterwards.
  TvlxPrintSettings& PS = State();
  const TvlxPageMode Mode = PS.PageMode;
  const TvlxRunState RunState = PS.RunState;
  struct TRestore {
    TvlxPrintSettings& PS;
    TvlxPageMode Mode;
    TvlxRunState RunState;
    ~TRestore() {
      PS.PageMode = Mode;
      PS.RunState = RunState;
    }
  } Restore{PS, Mode, RunState};
  ColumnScan(nullptr, PagesAcrossLabel, RescanPending);
}

void TObjInfo::CalcColWid(bool MeasureText, int Level, bool SampleMeasured) {
  if (FRows->MeasuresText()) MeasureText = true;
  LayoutCase = 0;
  if (!ColsList) return;
  // Only the control's own column sizes need the control; the cast is not free on every row.
  const auto* Control = MeasureText ? nullptr : dynamic_cast<const TControl*>(Object);
  std::string Text;
  for (int I = 0; I < ColsList->Count(); ++I) {
    TColsListData* Column = ColsList->Items(I);
    if (!Column) continue;
    SetStyleFont(*this, Column->Plane);
    // The line-number column reads the same sample on every data row of the scan: measured
    // once, it cannot widen again. Only a handler of the read, or its totals, needs it again.
    if (SampleMeasured && Level == bnData && Column->ColKind == ckLineNo && !Column->TotList && !OnFieldEdit &&
        !OnFieldAlign)
      continue;
    GetCellText(Level, I, Text, true, MeasureText);
    ForEachLine(Text, [&](const std::string& Line) {
      if (MeasureText) {
        // Read after the text: the scan may just have classified the column.
        MeasureMultiLine(I, Line, Level, Column->DataType);
        return;
      }
      std::string Xs(Line.size(), 'x');
      const int P = Control ? ScreenTextWidth(*this, Control->Font(), Xs) : 0;
      int W = P;
      if (Column->SourceColNdx >= 0) {
        W = FRows->ControlColWidth(Column->SourceColNdx);
        // A title holds as many characters as the on-screen column shows.
        if (Level == bnTitles && P > 0)
          Xs.assign(std::max(0, MulDivRound(W, static_cast<int>(Xs.size()), P)), 'x');
      }
      const int Scaled = State().ScaleXY(W, 0);
      RaiseColMax(Xs, I, Level, Scaled, static_cast<int>(Xs.size()));
    });
  }
}

void TObjInfo::MeasureMultiLine(int ColNdx, const std::string& Text, int Level, int DataType) {
  const int Kind = Level == bnData ? DataType : ftString;
  int Chars = 0, Pixels = 0;
  if (Level == bnTotals && Text.find('\r') != std::string::npos) {
    ForEachLine(Text, [&](const std::string& Line) {
      Chars = std::max(Chars, static_cast<int>(Line.size()));
      Pixels = std::max(Pixels, TextWidth(*this, Line));
    });
  } else {
    Chars = static_cast<int>(Text.size());
    Pixels = TextWidth(*this, Text);
  }
  if (Settings().AutoSizze < asCurrentSizes) CapWidth(*this, Kind, Pixels, Chars);
  RaiseColMax(Text, ColNdx, Level, Pixels, Chars);
}

void TObjInfo::RaiseColMax(const std::string& Text, int ColNdx, int Level, int PixelWidth,
                           int CharCount) {
  TColsListData* Column = ColsList ? ColsList->Items(ColNdx) : nullptr;
  if (!Column || Level < 0 || Level >= ColLevelCount) return;
  TColStrWid& Chars = Column->ColStrWid(Level, RecChars);
  TColStrWid& Pixels = Column->ColStrWid(Level, RecPixels);
  // Nearly every text of a scan is no wider than one before it.
  if (CharCount <= Chars.Width && PixelWidth <= Pixels.Width) return;
  // With the control's column sizes the title holds the column's width: nothing widens it.
  const bool TitleBound = AutoSizze(*this) == asCurrentSizes && Level != bnTitles;
  if (CharCount > Chars.Width && !(TitleBound && CharCount > Column->ColStrWid(bnTitles, RecChars).Width))
    Chars = {CharCount, Text};
  if (PixelWidth > Pixels.Width && !(TitleBound && PixelWidth > Column->ColStrWid(bnTitles, RecPixels).Width))
    Pixels = {PixelWidth, Text};
}

void TObjInfo::FinishColWidths(bool MeasureText) {
  TvlxPrintSettings& PS = State();
  ClearColLevels(1u << 3, true);
  TBandInfo& Totals = Styles().BandInfo[bnTotals];
  Totals.RowNdx = 0;
  // A scan stopped by the user or an error stays stopped: its result must say so.
  const TvlxRunState Before = PS.RunState;
  PS.PageMode = pmColumnScan;
  PS.RunState = rsActive;
  for (; Totals.RowNdx < TotalLines; ++Totals.RowNdx) CalcColWid(MeasureText, bnTotals);
  const bool Stopped = Before == rsTerminatedWithError || Before == rsUserCancelled;
  PS.RunState = Stopped ? Before : rsCompletedNormally;
}

int TObjInfo::CountTotalLines() {
  int ReportLevel = 0;
  for (int I = 0; ColsList && I < ColsList->Count() && !ReportLevel; ++I) {
    const TColsListData* Column = ColsList->Items(I);
    // A hidden column's total is kept for when it is shown again; alone it would print an
    // empty totals row under the columns that are printed.
    const TColTotListData* Total = Column && Column->Printed && Column->TotList ? Column->TotList->Items(0) : nullptr;
    if (Total && Total->Kind != tkNone && Total->KindChanged) ReportLevel = 1;
  }
  TotalLines = ReportLevel + FurtherTotalsLines;
  return TotalLines;
}

void TObjInfo::CalcLineHeights() {
  for (TBandInfo& Band : Styles().BandInfo) Band.LineHeight = 0;
  Styles().RegionLineHeights.fill(0);
  LayoutCase = 0;
  TCanvas* Canvas = RunCanvas(*this);
  const bool CharOut = CharacterOutput(*this);
  for (uint8_t Band = bnTitles; Band <= bnTotals; ++Band) {
    for (int I = 0; ColsList && I < ColsList->Count(); ++I) {
      TColsListData* Column = ColsList->Items(I);
      if (!Column || !Column->Printed) continue;
      uint8_t Region = 0;
      Styles().CnvtColNdxToRegNdx(I, Band, Region);
      SetStyleFont(*this, Column->Plane);
      const int H = CharOut ? 1 : Canvas ? Canvas->TextHeight(Column->ColStrWid(Band, RecPixels).Text) : 0;
      Styles().RegionLineHeights[Region] = std::max(Styles().RegionLineHeights[Region], H);
      Styles().BandInfo[Band].LineHeight = std::max(Styles().BandInfo[Band].LineHeight, H);
    }
  }
  constexpr int FirstGrid = 5, LastGrid = 13;
  for (int Region = 0; Region < RegionCount; ++Region) {
    if (Region >= FirstGrid && Region <= LastGrid) continue;
    Styles().ApplyFont(false);
    Styles().RegionLineHeights[Region] = Canvas ? Canvas->TextHeight("TygW") : 0;
  }
  // The memo font is on the canvas now, whatever zone the cache names.
  LayoutCase = 0;
}

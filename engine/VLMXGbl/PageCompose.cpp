// One page of the report, built top-down on the running current line (the Bottom of the cell
// rectangle): title memos, column titles, data rows until the body is full, at the report's end
// the totals rows and the report footer, then the footer memos at their fixed place; repeated
// for each panel across the sheet, then handed to the output.
#include <algorithm>
#include <utility>

#include "engine/VLMXGbl/Memo.h"
#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/RptStyles.h"
#include "engine/Vellumix/ReportSettings.h"

namespace {

bool DataExhausted(const TvlxRunPart& R) { return R.Adapter().EndOfRows; }

bool TotalsFinished(const TvlxRunPart& R) { return R.Styles().BandInfo[bnTotals].Finished; }

// Titles and totals are out for good: the page (every page across of it) or the panel begins
// after the report's end. On a later page across the panels up to the one where the first page
// across ended the report are still to print.
bool AfterReportEnd(const TvlxPrintSettings& PS) {
  const bool EndLaterOnPage = PS.TotalsPage == PS.CurVertPage && PS.CurPanel <= PS.PgFtrPanel;
  return PS.PastReportEnd || (PS.CurPanel > 1 && TotalsFinished(PS) && DataExhausted(PS) && !EndLaterOnPage);
}

// A row read for the first time adds its values to the totals of the columns of the other
// pages across too: the pages before a range are laid out on one page across only, and a range
// may start on a later one, and each total must still be that of every row.
void AddOtherPagesTotals(TvlxPrintSettings& PS) {
  const TColsList& Cols = *PS.Adapter().ColsList;
  const int Col = PS.CurCol;
  std::string Text;
  for (int I = 0; I < Cols.Count(); ++I) {
    const TColsListData* C = Cols.Items(I);
    if (!C || !C->Printed || !C->TotList || PS.IsRepeatedCol(I) || C->HorzPage == PS.CurPageAcross) continue;
    PS.CurCol = I;
    PS.Adapter().GetCellText(bnData, I, Text, true, true);
  }
  PS.CurCol = Col;
}

}  // namespace

int TvlxPrintSettings::PageAcrossWidth(bool WithZoneBorders) const {
  int Sum = 0;
  if (Adapter().ColsList) {
    const TColsList& Cols = *Adapter().ColsList;
    for (int I = 0; I < Cols.Count(); ++I) {
      const TColsListData* Col = Cols.Items(I);
      if (!Col || !Col->Printed) continue;
      const bool Fixed = IsRepeatedCol(I);
      if (!Fixed && Col->HorzPage > CurPageAcross) break;
      if (!Fixed && Col->HorzPage != CurPageAcross) continue;
      // A zone's own right border stands beside its last cell, the page's closing one inside.
      Sum += Col->CellWidth + (WithZoneBorders && !Col->LastOnPage ? Col->RightLineWidth : 0);
    }
  }
  return Sum;
}

int TvlxPrintSettings::CalcReportWidth() const {
  const int Sum = PageAcrossWidth();
  if (PanelsAcrossPage >= 2) return (Sum + PanelGap) * PanelsAcrossPage - PanelGap;
  return Sum;
}

void TvlxPrintSettings::CalcLeftOffset() {
  // Pages across differ in width: each panel of this one is as wide as the columns it shows,
  // the borders between its zones included, so that no panel runs into the next.
  const int Extent = PageAcrossWidth(true);
  PanelStep = Extent + PanelGap;
  PageRptWidth = CalcReportWidth();
  const int Alignment = Settings().ReportAlignment;
  int Offset = 0;
  switch (Alignment) {
    case 0: Offset = LeftMargin; break;
    case 1: Offset = RightEdge - PageRptWidth; break;
    case 2: Offset = LeftMargin + (RightEdge - LeftMargin - PageRptWidth) / 2; break;
    default: Offset = 0; break;
  }
  // Aligned by the columns' widths, the report still ends on the sheet with its zone borders.
  const int Panels = std::max(PanelsAcrossPage, 1);
  Offset = std::min(Offset, RightEdge - (PanelStep * Panels - PanelGap));
  RptLeftOffset = Offset < 0 ? LeftMargin : Offset;
}

bool TvlxPrintSettings::IsPageEndReached(bool UseFooterPosition, bool ComparePagesAcross, int Panel) const {
  const bool LastAcross = CurPageAcross >= PagesAcross;
  if (TotalsPage >= 1 && TotalsPage <= CurVertPage && Panel >= PgFtrPanel && LastAcross) return true;
  int Totals = TotalsPage, TotalsPanel = PgFtrPanel;
  TPoint Footer = RptFtrPos;
  int FooterPanel = RptFtrPanel;
  if (Settings().PrintWhat == pwPageRange && CurVertPage == PrintRangeTo.Y) {
    // The range's end page ends with the sheet's last panel, unless the report ends there first.
    const int LastPanel = std::max(PanelsAcrossPage, 1);
    if (Totals != CurVertPage) Totals = CurVertPage, TotalsPanel = LastPanel;
    if (Footer.Y != CurVertPage) Footer.Y = CurVertPage, FooterPanel = LastPanel;
  }
  const TPoint Target = UseFooterPosition ? Footer : TPoint{PagesAcross, Totals};
  const int TargetPanel = UseFooterPosition ? FooterPanel : TotalsPanel;
  // Pages count from 1: a position below that was never placed.
  if (Target.Y < 1) return false;
  const int Order = ComparePagesAcross ? ComparePageNo(CurPagePos(), Target)
                                       : (CurVertPage > Target.Y) - (CurVertPage < Target.Y);
  return Order > 0 || (Order == 0 && Panel >= TargetPanel);
}

void TvlxPrintSettings::PrintPage() {
  if (CurVertPage != LastEmittedPage.Y) {
    BMLineList.Clear();
    PastReportEnd = TotalsFinished(*this);
  }
  NewPagePos = ComparePageNo(CurPagePos(), LastEmittedPage) > 0;
  CellRect = TRect{};
  TextRect = TRect{};
  CellRect.Bottom = UnitSet == usText ? Settings().PageMarginTxt.Top : Settings().PageMarginDev.Top;
  CalcLeftOffset();
  CalcGroupSpans();
  if (UnitSet == usText) ClearPageLines();

  CurPanel = 1;
  BMCursor = 0;
  const int SavedOffset = RptLeftOffset;
  const TRect SavedCell = CellRect;
  const int SavedReserve = FooterReserve;
  if (RenderingPreview) FooterReserve = 0;
  const int Panels = std::max(PanelsAcrossPage, 1);
  for (;;) {
    StartPage();
    if (!(TotalsPage >= 1 && TotalsPage < CurVertPage)) PrintBodyRows();
    // The closing rule's line below the body, which the rows were fitted to leave free.
    CellRect.Bottom += std::max(0, Styles().LineWidths[bnTotals][lkBottomEdge]);
    EndPage();
    ++CurPanel;
    if (CurPanel > Panels || IsPageEndReached(true, false, CurPanel - 1)) break;
    RptLeftOffset += PanelStep;
    CellRect = SavedCell;
  }
  RptLeftOffset = SavedOffset;
  FooterReserve = SavedReserve;

  // The sheet is the last one only once every page across of the report's end is out.
  const bool ReportEnd = TotalsFinished(*this) && CurPageAcross >= PagesAcross;
  const bool FooterPending = Settings().MemoVisible(RptFtr, true) && RptFtrPos.Y < 1;
  if (PageMode != pmColumnScan) EmitPage(ReportEnd, FooterPending);
}

void TvlxPrintSettings::StartPage() {
  const bool Heading = GrpHdrRow;
  GrpHdrRow = false;
  RowsSinceRule = 0;
  if (CurPanel <= 1) {
    if (CurVertPage == 1) PrintReportTitleMemos();
    PrintMemoRegion(PgTi, false, true);
    PrintMemoRegion(PgHdr, false, true);
    SavedBodyOrigin = CellRect;
  } else {
    CellRect = SavedBodyOrigin;
  }
  --CellRect.Bottom;
  CellRect.Left = RptLeftOffset;
  PrevRowGrpHdr = false;
  PageTop = BodyTop = EdgePending = true;

  if (!AfterReportEnd(*this) && Adapter().KindInRange && Adapter().ColsList &&
      RunState == rsActive && Settings().ItemOpt(ioColumnTitles) &&
      Styles().BandInfo[bnTitles].RowCount > 0) {
    // The title rows are read where the object keeps them; the data position comes back after.
    const int Counter = RecordCounter;
    const TPoint Cell = Adapter().CurCell;
    TListItem* const Item = Adapter().CurListItem;
    const bool Ended = Adapter().EndOfRows;
    // Walking the titles moves through the selection too when only selected rows print.
    const int SelRow = Adapter().SelRowNdx;
    Adapter().CurCell.Y = Adapter().Origin.Y;
    Styles().BandInfo[bnTitles].RowNdx = 0;
    for (int Row = 0; Row < Styles().BandInfo[bnTitles].RowCount && RunState == rsActive; ++Row) {
      PrintBandRow(bnTitles, -1);
      Adapter().Next(bnTitles, false);
    }
    RecordCounter = Counter;
    Adapter().CurCell = Cell;
    Adapter().CurListItem = Item;
    Adapter().EndOfRows = Ended;
    Adapter().SelRowNdx = SelRow;
    if (Borders && !ShareAdjBorders) {
      ++CellRect.Bottom;
      DrawBandRule(bnTotals, lkBottomEdge);
    }
  }
  GrpHdrRow = Heading;
}

void TvlxPrintSettings::PrintBodyRows() {
  // An object without a row to print: a later panel of the first page that finds the data
  // ended has printed them, and the later pages across still replay them.
  if (CurPageAcross == 1 && CurVertPage == 1 && CurPanel <= 1 && Adapter().EndOfRows) {
    Adapter().SelRowCount = 0;
    Adapter().RowCount = 0;
  }
  if ((SelectedRowsOnly && Adapter().SelRowCount == 0) || Adapter().RowCount == 0) return;

  const bool Wide = PagesAcross > 1;
  const bool Replay = Wide && BMLineList.Count() > 0 && CurVertPage == LastEmittedPage.Y;
  const bool Record = Wide && !Replay;
  // After the last replayed row the object moves on exactly once per vertical page.
  const bool AdvanceAfterReplay = (CurPageAcross >= PagesAcross && NewPagePos) || (CurPageAcross == 1 && !NewPagePos);
  TPrevValues& Groups = Adapter().PrevValues;
  ReplayingRows = Replay;
  struct TPassEnd {
    TvlxPrintSettings& PS;
    TPrevValues& Groups;
    bool Replay, Record;
    ~TPassEnd() {
      PS.ReplayingRows = false;
      if (Replay) {
        Groups = PS.BMLineList.GroupsAtEnd;
      } else if (Record) {
        PS.BMLineList.GroupsAtEnd = Groups;
        PS.BMLineList.EndedAtEnd = PS.Adapter().EndOfRows;
      }
    }
  } PassEnd{*this, Groups, Replay, Record};
  const bool OtherPagesTotals = Wide && !Replay && !ReRendering;
  EdgePending = true;
  for (;;) {
    int Height = -1;
    const int Entry = BMCursor;
    if (Replay) {
      // Each row prints again in its own panel, at its own place down the sheet.
      if (Entry >= BMLineList.Count() || BMLineList.Items(Entry)->Panel != CurPanel) break;
      if (!BMLineList.GotoEntry(Entry, Height)) break;
    } else if (Adapter().EndOfRows) {
      break;
    }
    // A replayed row finds the group state as its first print left it (GotoEntry).
    const TPrevValues GroupsBefore = Record ? Groups : TPrevValues{};
    const int PrevBreakCol = PrevGrpBrkCol;
    const bool Printed = PrintBandRow(bnData, Height);
    BookmarkFailed = false;
    if (!Printed) break;
    if (Record) BMLineList.AddCurrent(GroupsBefore, PrevBreakCol);
    if (OtherPagesTotals) AddOtherPagesTotals(*this);
    if (CurPageAcross == 1 && PageMode != pmLayoutOnly) ++Adapter().RowsProcessed;
    if (Replay) {
      ++BMCursor;
      if (Entry < BMLineList.Count() - 1) continue;
      Adapter().EndOfRows = BMLineList.EndedAtEnd;
      if (AdvanceAfterReplay) Adapter().Next(bnData, false);
      break;
    }
    Adapter().Next(bnData, false);
  }
}

bool TvlxPrintSettings::EndPage() {
  DrawBandEndRule(bnData, CellRect.Bottom);
  // The report's end closes the panel where the first page across put it, else where the data
  // end; a range's end, the sheet's last panel, which its rows reach first.
  bool Due;
  if (TotalsPage >= 1) Due = TotalsPage < CurVertPage || (TotalsPage == CurVertPage && CurPanel >= PgFtrPanel);
  else Due = DataExhausted(*this) ||
             (!RenderingPreview && PrintRangeTo.Y <= CurVertPage && CurPanel >= std::max(PanelsAcrossPage, 1));
  if (Due) PrintReportEnd();
  CellRect.Bottom = PageHeight - CalcFooterHeight(false);
  PrintMemoRegion(PgFtr, false, true);
  PrintMemoRegion(PgNum, false, true);
  PrintMemoRegion(Copyright, false, true);
  return Due;
}

void TvlxPrintSettings::PrintReportEnd() {
  TBandInfo& Totals = Styles().BandInfo[bnTotals];
  if (!AfterReportEnd(*this) && Adapter().KindInRange && Adapter().ColsList && RunState == rsActive) {
    FooterReserve = 0;
    CellRect.Left = RptLeftOffset;
    // A totals row first on its page (no titles, no rows above) opens its box with the top edge.
    EdgePending = true;
    Adapter().ColsList->CurLevel = 0;
    if (PrintTotalRows()) {
      const bool Entire = Settings().PrintWhat == pwAll;
      if (TotalsPage < 1 && (Entire || Adapter().EndOfRows)) {
        TotalsPage = CurVertPage;
        PgFtrPanel = CurPanel;
      }
      Totals.Finished = true;
      if (Borders && TotalRowCount() > 0) {
        ++CellRect.Bottom;
        DrawBandRule(bnTotals, lkBottomEdge);
      }
    }
    ++CellRect.Bottom;
  } else {
    Totals.Finished = true;
  }
  if (Totals.Finished && CurPanel == 1) {
    const bool FooterElsewhere = RptFtrPos.Y >= 1 && RptFtrPos.Y != CurVertPage;
    if (!FooterElsewhere) PrintMemoRegion(RptFtr, false, TotalsPage >= 1 && TotalsPage < CurVertPage);
  }
}

bool TvlxPrintSettings::PrintTotalRows() {
  --CellRect.Bottom;
  if (TotalRowCount() == 0) return true;
  // Shared borders: the totals' top rule takes the line of the data band's closing rule.
  if (Borders && ShareAdjBorders) --CellRect.Bottom;
  TColsList& Cols = *Adapter().ColsList;
  int PageAcross = CurPageAcross;
  Adapter().CurCell = {Adapter().NextUnplacedCol(PageAcross), 0};
  TBandInfo& Band = Styles().BandInfo[bnTotals];
  const int Lines = Adapter().TotalLines;
  // Only the report's totals print: the run adds the rows up at level 0 alone, so a break
  // level's total would print its starting value ("0", "INF") instead of the rows' total.
  const int SavedLevel = std::exchange(Cols.CurLevel, 0);
  bool Fits = true;
  for (Band.RowNdx = 0; Band.RowNdx < Lines && Fits; ++Band.RowNdx) Fits = PrintBandRow(bnTotals, -1);
  if (Fits) Cols.MarkPageTotals(CurPageAcross);
  Cols.CurLevel = SavedLevel;
  return Fits;
}

#include "windows/VLMXPrev/PrvwPageList.h"

#include <iterator>

#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/RptStyles.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/DB.h"

namespace {

// The dataset the object's rows come from, which can go back to a bookmark.
TDataSet* BookmarkedDataSet() { return ObjInfo->DataSet && !ObjInfo->RowsInMemory ? ObjInfo->DataSet : nullptr; }

}  // namespace

TPrvwPageListData* TPrvwPageList::Items(int Index) const {
  return Index >= 0 && Index < Count() ? FItems[Index].get() : nullptr;
}

int TPrvwPageList::FindPage(int VertPage, bool NearestBelow) const {
  auto At = FFirstOfPage.lower_bound(VertPage);
  if (At != FFirstOfPage.end() && At->first == VertPage) return At->second;
  if (!NearestBelow || At == FFirstOfPage.begin()) return -1;
  return std::prev(At)->second;
}

void TPrvwPageList::AddPage(const TPoint& Page, bool Lookup) {
  FW_ASSERT(PrintSettings && ObjInfo && RptSettings);
  if (Lookup && FindPage(Page.Y, false) >= 0) return;
  auto Entry = std::make_unique<TPrvwPageListData>();
  if (RptSettings->NumGrpBrkCols > 0) Entry->PrevValues = ObjInfo->PrevValues;
  if (TDataSet* DataSet = BookmarkedDataSet()) Entry->Bookmark = DataSet->Bookmark();
  Entry->VertPage = Page.Y;
  Entry->SavedCell = ObjInfo->CurCell;
  Entry->RecordCounter = PrintSettings->RecordCounter;
  Entry->SelRowNdx = ObjInfo->SelRowNdx;
  if (Page.X > -1) Entry->HighestPanel = Page.X;
  if (const TColsList* Cols = ObjInfo->ColsList.get())
    for (int I = 0; I < Cols->Count(); ++I) {
      const TColsListData* Column = Cols->Items(I);
      auto& Slot = Entry->Totals.emplace_back();
      if (!Column || !Column->TotList) continue;
      Slot = std::make_unique<TColTotList>();
      Slot->Assign(*Column->TotList);
    }
  FFirstOfPage.emplace(Page.Y, Count());
  FItems.push_back(std::move(Entry));
}

bool TPrvwPageList::RestorePage(TPoint& Page, bool NearestBelow, bool& Exact) {
  FW_ASSERT(PrintSettings && ObjInfo);
  Exact = false;
  TPrvwPageListData* Entry = Items(FindPage(Page.Y, NearestBelow));
  if (!Entry) return false;
  TvlxPrintSettings& PS = *PrintSettings;
  TObjInfo& Info = *ObjInfo;
  // A bookmark the dataset no longer holds is the dataset's positioning's own failure.
  if (TDataSet* DataSet = BookmarkedDataSet(); DataSet && !Entry->Bookmark.empty())
    DataSet->SetBookmark(Entry->Bookmark);
  if (Entry->PrevValues) Info.PrevValues = *Entry->PrevValues;
  PS.CurVertPage = Entry->VertPage;
  PS.CurCol = PS.FirstCol = Info.NextUnplacedCol(Page.X);
  PS.CurPageAcross = Page.X;
  Info.CurCell = Entry->SavedCell;
  PS.RecordCounter = Entry->RecordCounter;
  Info.SelRowNdx = Entry->SelRowNdx;
  PS.RecordCounterStart = PS.RecordCounter;
  Exact = Entry->VertPage == Page.Y && Page.X <= Entry->HighestPanel;
  if (PS.CurPageAcross > Entry->HighestPanel) Entry->HighestPanel = PS.CurPageAcross;
  PS.ClearSelRows();
  return true;
}

void SetPreviewPageRange(TPrvwPageList* PageList, TPrintWhat Kind, TPoint FromPage, TPoint ToPage) {
  FW_ASSERT(PrintSettings);
  TvlxPrintSettings& PS = *PrintSettings;
  PS.SetPageRange(Kind, PageList != nullptr, FromPage, ToPage);
  if (Kind != pwPageRange || !PageList) return;
  bool Exact = false;
  TPoint Page = FromPage;
  if (!PageList->RestorePage(Page, false, Exact)) {
    Page = FromPage;
    if (!PageList->RestorePage(Page, true, Exact)) return;
  }
  PS.AllPages = false;
  PS.FromRestartPoint = true;
  const TPrvwPageListData& Entry = *PageList->Items(PageList->FindPage(PS.CurVertPage, false));
  if (TColsList* Cols = ObjInfo->ColsList.get())
    for (int I = 0; I < Cols->Count() && I < static_cast<int>(Entry.Totals.size()); ++I)
      if (TColsListData* Column = Cols->Items(I); Column && Column->TotList && Entry.Totals[I])
        Column->TotList->Assign(*Entry.Totals[I]);
  // The page loop's first step lands on the restored page.
  --PS.CurVertPage;
}

void PreviewStartReport() {
  FW_ASSERT(PrintSettings && RptSettings);
  TvlxPrintSettings& Run = *PrintSettings;
  Run.RecordCounterStart = RptSettings->StartingReportLineId;
  Run.AllPages = true;
  Run.StartReport();
  Run.CurVertPage = 1;
  Run.CurPageAcross = 0;
  Run.CurCol = 0;
}

void PreviewGoToPage(TPrvwPageList& PageList, TPreviewMove Move, int& LastTotalsRow, bool& Exact) {
  FW_ASSERT(PrintSettings && RptStyles && ObjInfo && RptSettings);
  TvlxPrintSettings& Run = *PrintSettings;
  TRptStyles& Styles = *RptStyles;
  TObjInfo& Info = *ObjInfo;
  // A page composed again starts from its restart point, not from where the run stopped.
  if (Move != gpNext) {
    Info.EndOfRows = false;
    for (int Band = bnTitles; Band <= bnTotals; ++Band) Styles.BandInfo[Band].Finished = false;
    if (Info.ColsList) Info.ColsList->ResetTotals(false);
  }
  if (Move == gpPrevious && --Run.CurPageAcross < 1) {
    Run.CurPageAcross = Run.PagesAcross;
    --Run.CurVertPage;
  }
  if (Move == gpNext && ++Run.CurPageAcross > Run.PagesAcross) {
    Run.CurPageAcross = 1;
    ++Run.CurVertPage;
    Run.CurCol = 0;
  }
  if (Run.CurVertPage < 1) Run.CurVertPage = Run.CurPageAcross = 1;
  if (Run.LastPageClamp >= 1 && Run.CurVertPage > Run.LastPageClamp) {
    Run.CurVertPage = Run.LastPageClamp;
    Run.CurPageAcross = Run.PagesAcross;
  }
  TPoint Page = Run.CurPagePos();
  if (!PageList.RestorePage(Page, false, Exact)) PageList.AddPage(Page, false);
  if ((Move == gpNext && Run.CurPageAcross == 1 && Run.PagesAcross >= 2) ||
      (Move == gpPrevious && Run.CurPageAcross == Run.PagesAcross))
    Run.BMLineList.Clear();
  Styles.BandInfo[bnData].RowNdx = Run.RecordCounter - RptSettings->StartingReportLineId;
  Styles.BandInfo[bnTotals].RowNdx = Run.TotalsPage >= 1 && Run.CurVertPage > Run.TotalsPage ? LastTotalsRow : 0;

  struct TRendering {
    TvlxPrintSettings& Run;
    ~TRendering() { Run.RenderingPreview = Run.ReRendering = false; }
  } Rendering{Run};
  Run.ReRendering = Exact;
  Run.RenderingPreview = true;
  Run.RunState = rsActive;
  Run.FirstCol = Run.CurCol;
  Run.RecordCounterStart = Run.RecordCounter;
  Run.PrintPage();
  if (Run.CurVertPage == Run.TotalsPage) LastTotalsRow = Styles.BandInfo[bnTotals].RowNdx;
}

bool PreviewAtReportEnd() {
  return RptStyles->BandInfo[bnTotals].Finished && PrintSettings->CurPageAcross >= PrintSettings->PagesAcross;
}

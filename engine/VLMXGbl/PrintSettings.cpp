#include "engine/VLMXGbl/PrintSettings.h"

#include <algorithm>
#include <cstdint>

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/RptStyles.h"
#include "engine/VLMXGbl/RunUI.h"
#include "engine/VLMXGbl0.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/DB.h"
#include "framework/rtl/SysUtils.h"

TvlxPrintSettings* PrintSettings = nullptr;

// ---------------------------------------------------------------------------------------------
// Units

namespace {

// A size asked for before the resolution or the character cell is known is 0, not MulDivRound's
// failure value -1.
int MulDivOrZero(int Value, int Multiplier, int Divisor) {
  return Divisor <= 0 ? 0 : MulDivRound(Value, Multiplier, Divisor);
}

}  // namespace

int MulDivRound(int Value, int Multiplier, int Divisor) {
  if (Divisor == 0) return -1;
  int64_t Product = static_cast<int64_t>(Value) * Multiplier;
  int64_t D = Divisor;
  if (D < 0) {
    Product = -Product;
    D = -D;
  }
  const int64_t R = Product >= 0 ? (Product + D / 2) / D : (Product - D / 2) / D;
  if (R > INT32_MAX || R < -INT32_MAX) return -1;
  return static_cast<int>(R);
}

int TPageGeometry::ToUnits(int Value, bool TextUnits, bool AtLeastOne, int Axis) const {
  const bool Vertical = Axis == 1;
  if (TextUnits) {
    if (Value < 1) return 0;
    if (AtLeastOne) return 1;
    const int Cell = Vertical ? LineHeight : CharWidth;
    return MulDivOrZero(Value, Vertical ? PrtResY : PrtResX, 1000 * Cell);
  }
  const int R = MulDivRound((Vertical ? DevResY : DevResX) * ZoomPercent, Value, 10000) / 10;
  return AtLeastOne && Value > 0 && R == 0 ? 1 : R;
}

int TPageGeometry::ToUnitsIfTypeset(int Value, bool TextUnits, bool AtLeastOne, int Axis) const {
  return TextUnits ? Value : ToUnits(Value, TextUnits, AtLeastOne, Axis);
}

int TPageGeometry::ScaleXY(int Value, int Axis) const {
  return Axis == 1 ? MulDivOrZero(Value, DevResY, ScrResY) : MulDivOrZero(Value, DevResX, ScrResX);
}

int TPageGeometry::PixToChars(int Value, bool Vertical) const {
  if (UnitSet != usText) return Value;
  const int Size = Vertical ? LineHeight : CharWidth;
  return Value / (Size < 1 ? 1 : Size);
}

void TvlxPrintSettings::SetTextMode() {
  UnitSet = Settings().IsTextStyleOutput() ? usText : usDevice;
}

void TPageGeometry::GetResolutions() {
  if (!PageSetupChanged) return;
  ScrResX = ScreenDeviceCaps(dcLogPixelsX);
  ScrResY = ScreenDeviceCaps(dcLogPixelsY);
  PrtResX = Printer()->DeviceCaps(dcLogPixelsX);
  PrtResY = Printer()->DeviceCaps(dcLogPixelsY);
  DevResX = PrtResX;
  DevResY = PrtResY;
}

// ---------------------------------------------------------------------------------------------
// Pages and printers

int FindPrinterIndex(const std::string& Name) {
  const TStrings& Names = Printer()->Printers();
  const int Exact = Names.IndexOf(Name);
  if (Exact >= 0 || Trim(Name).empty()) return Exact;
  for (int I = 0; I < Names.Count(); ++I)
    if (Names[I].compare(0, Name.size(), Name) == 0) return I;
  return -1;
}

void SelectPrinterByName(const std::string& Name) {
  Printer()->SetPrinterIndex(FindPrinterIndex(Name));
}

// ---------------------------------------------------------------------------------------------
// The selected-rows question

void TvlxPrintSettings::AskSelectedRows() {
  SelectedRowsOnly = false;
  if (Settings().PrintWhat != pwSelectedRows) return;
  const int Count = Adapter().SelRowCount;
  if (!Settings().ItemOpt(ioAskToPrintSelectedRows)) {
    SelectedRowsOnly = Count > 0;
    return;
  }
  switch (RunUI().AskSelectedRows(Count)) {
    case TvlxRowsAnswer::SelectedRows: SelectedRowsOnly = true; break;
    case TvlxRowsAnswer::AllRows: break;
    case TvlxRowsAnswer::Cancel:
      RunState = rsTerminatedWithError;
      throw eVlxUserTermRpt();
  }
}

// ---------------------------------------------------------------------------------------------
// Row bookmarks

namespace {

// The rows of the object come from its dataset, which can go back to a bookmark.
TDataSet* BookmarkedDataSet(const TObjInfo& Info) {
  return Info.DataSet && !Info.RowsInMemory ? Info.DataSet : nullptr;
}

}  // namespace

TBMData* TBMLineList::Items(int Index) const {
  return Index >= 0 && Index < Count() ? FItems[Index].get() : nullptr;
}

void TBMLineList::AddCurrent(const TPrevValues& GroupsBefore, int PrevGrpBrkCol) {
  auto Entry = std::make_unique<TBMData>();
  Entry->GroupsBefore = GroupsBefore;
  Entry->GrpBrkCol = FOwner.GrpBrkCol;
  Entry->PrevGrpBrkCol = PrevGrpBrkCol;
  Entry->RcdCounter = FOwner.RecordCounter;
  Entry->Band2Line = FOwner.Styles().BandInfo[bnData].RowNdx;
  if (TDataSet* DataSet = BookmarkedDataSet(FOwner.Adapter())) Entry->Bookmark = DataSet->Bookmark();
  else Entry->Cell = FOwner.Adapter().CurCell;
  Entry->ListItem = FOwner.Adapter().CurListItem;
  Entry->SelRowNdx = FOwner.Adapter().SelRowNdx;
  // Only the row's place down the page is kept, in either unit set: the replayed row prints at
  // that top, and each page across places its own columns.
  Entry->Rect = {-1, FOwner.CellRect.Top, -1, FOwner.CellRect.Bottom};
  Entry->RowHeight = FOwner.TextRect.Bottom - FOwner.TextRect.Top + 1;
  Entry->Panel = FOwner.CurPanel;
  FItems.push_back(std::move(Entry));
}

bool TBMLineList::GotoEntry(int Index, int& Height) {
  Height = -1;
  FOwner.BookmarkFailed = false;
  const TBMData* Entry = Items(Index);
  if (!Entry) return false;
  FOwner.RecordCounter = Entry->RcdCounter;
  FOwner.Styles().BandInfo[bnData].RowNdx = Entry->Band2Line;
  if (TDataSet* DataSet = BookmarkedDataSet(FOwner.Adapter())) {
    try {
      DataSet->SetBookmark(Entry->Bookmark);
    } catch (const Exception&) {
      // The row is printed with an error text in place of its values.
      FOwner.BookmarkFailed = true;
    }
  } else {
    FOwner.Adapter().CurCell = Entry->Cell;
  }
  FOwner.Adapter().CurListItem = Entry->ListItem;
  // The end of the data, which the first page across met after the page's last row, is not met
  // while its rows print again: an earlier panel's footer must not take the report's end there.
  FOwner.Adapter().EndOfRows = false;
  // Only selected rows print: the row after the replayed one is sought from its own cursor,
  // not from where the first page across stopped, a row further on.
  FOwner.Adapter().SelRowNdx = Entry->SelRowNdx;
  FOwner.Adapter().PrevValues = Entry->GroupsBefore;
  FOwner.GrpBrkCol = Entry->GrpBrkCol;
  FOwner.PrevGrpBrkCol = Entry->PrevGrpBrkCol;
  FOwner.CellRect = Entry->Rect;
  FOwner.CellRect.Bottom = FOwner.CellRect.Top - 1;
  Height = Entry->RowHeight;
  return true;
}

void TBMLineList::Clear() {
  while (!FItems.empty()) FItems.pop_back();
}

void TvlxPrintSettings::CheckColumnsFitPage() const {
  if (PageWidth <= 0) return;
  const TvlxReportSettings& S = Settings();
  const bool Text = UnitSet == usText;
  const TRect& Page = Text ? S.PageMarginTxt : S.PageMarginDev;
  const TRect& Cell = Text ? S.CellMarginTxt : S.CellMarginDev;
  const int Panels = std::max(PanelsAcrossPage, 1);
  const int Avail = (PageWidth - Page.Left - Page.Right - (Panels - 1) * PanelGap) / Panels;
  // Pages of borders without a character of data are no report.
  if (Avail >= Cell.Left + Cell.Right + (Text ? 1 : std::max(CharWidth, 1))) return;
  throw eVlxSUError("Page Left Margin + Right Margin are too large for page width.\r"
                    "The report's columns cannot be placed on the page.");
}

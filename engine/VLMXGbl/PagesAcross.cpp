// The layout of the columns over pages across: each printed column gets its cell width, its
// x position and its page across, the leading fixed columns being repeated on every page
// across, and the setup window's label tells how many pages across the report takes.
#include <algorithm>

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/RptStyles.h"
#include "engine/VLMXGbl/RunUI.h"
#include "engine/Vellumix/ReportSettings.h"

namespace {

constexpr uint8_t asCurrentSizes = 2;

// The width the layout uses, level 0, from the title (when titles print), data and totals
// (when totals print) widths; by pixels and by characters alike.
void MergeColWidths(const TvlxRunPart& R, TColsListData& Column) {
  const bool Titles = R.Settings().ItemOpt(ioColumnTitles);
  const bool Totals = R.Settings().ItemOpt(ioColumnTotals);
  for (int Record = 0; Record < 2; ++Record)
    Column.ColStrWid(0, Record).Width =
        std::max({Titles ? Column.ColStrWid(bnTitles, Record).Width : 0, Column.ColStrWid(bnData, Record).Width,
                  Totals ? Column.ColStrWid(bnTotals, Record).Width : 0});
}

// The room of a cell beyond its widest value, shared out on both sides; none for a database
// object laid out at its current sizes (KeepSizes).
void ShareOutSlack(TColsListData& Column, int Slack, bool KeepSizes) {
  if (KeepSizes) {
    Column.LeftOffset = Column.RightOffset = 0;
  } else {
    Column.LeftOffset = std::max(0, Slack / 2);
    Column.RightOffset = std::max(0, Slack - Column.LeftOffset);
  }
}

bool OutputToPrinterOrFile(const TvlxPrintSettings& PS) {
  return PS.OutPrinter || PS.OutFastPrinterText || PS.OutAnyFile || PS.OutTextFile ||
         PS.OutRtfFile || PS.OutAsciiFile;
}

}  // namespace

// Where the next column goes while the columns are laid out over the pages across, and the
// layout's fixed measures.
struct TObjInfo::TColumnPlacement {
  int Record = 0;  // 1: widths by characters, 0: by pixels
  TRect CellMargin;
  int Avail = 0;  // width of the page between its margins
  int NumFixed = 0;  // fixed columns asked for
  int X = 1;
  int PageAcross = 1;
  int OnPage = 0;     // columns of the page across, the repeated ones included
  int OwnOnPage = 0;  // columns placed on the page across, the repeated ones not included
  int PrevZone = 0;
  int FixedCount = 0;  // repeated columns placed: each page across begins with them
  int FixedEndX = 1;   // where a page across goes on right of the repeated columns
  // The repeated columns leave no room: the layout starts again without repetition.
  bool DropRepeated = false;
};

void TObjInfo::CalcPagesAcross(TControl* PagesAcrossLabel) {
  TColumnPlacement At = StartColumnLayout();
  for (int I = 0; I < ColsList->Count() && !At.DropRepeated; ++I) PlaceColumn(I, At);
  // Every page across is laid out alike: either all repeat the fixed columns or none does.
  if (At.DropRepeated) {
    At = StartColumnLayout();
    State().FixedColCount = 0;
    for (int I = 0; I < ColsList->Count(); ++I) PlaceColumn(I, At);
  }
  CloseColumnPages();
  CalcLineHeights();
  if (PagesAcrossLabel)
    RunUI().ShowPagesAcross(*PagesAcrossLabel, State().PagesAcross, OutputToPrinterOrFile(State()));
}

TObjInfo::TColumnPlacement TObjInfo::StartColumnLayout() {
  TvlxPrintSettings& PS = State();
  const TvlxReportSettings& S = Settings();
  TColumnPlacement At;
  At.Record = PS.UnitSet == usText ? 1 : 0;
  At.CellMargin = PS.UnitSet == usText ? S.CellMarginTxt : S.CellMarginDev;
  const TRect& PageMargin = PS.UnitSet == usText ? S.PageMarginTxt : S.PageMarginDev;
  if (!ColsList) ColsList = std::make_unique<TColsList>();

  for (int I = 0; I < ColsList->Count(); ++I)
    if (TColsListData* Column = ColsList->Items(I); Column && Column->Printed) MergeColWidths(*this, *Column);

  PS.LeftMargin = PageMargin.Left;
  PS.RightEdge = PS.PageWidth - PageMargin.Right;
  // Each panel across the sheet shows a whole page across: a page across takes one panel's share
  // of the sheet, the gaps between the panels left out.
  const int Panels = std::max(PS.PanelsAcrossPage, 1);
  At.Avail = (PS.RightEdge - PS.LeftMargin - (Panels - 1) * PS.PanelGap) / Panels;
  PS.RememberedCols = {-1, -1};
  PS.LastPageClamp = -1;
  At.NumFixed = std::max(0, S.NumFixedCols);
  // The list index below which columns repeat: a hidden one among them is simply not printed,
  // and the printed ones after it still repeat.
  PS.FixedColCount = At.NumFixed;
  PS.PagesAcross = 0;
  Styles().CalcLineWidths();
  LineNoColumn(false, -1, 0);
  LineNoColumn(true, 0, 1);

  for (int I = 0; I < ColsList->Count(); ++I)
    if (TColsListData* Column = ColsList->Items(I)) Column->Plane = CnvtColNdxToXPlaneNdx(I);
  return At;
}

void TObjInfo::PlaceColumn(int I, TColumnPlacement& At) {
  TvlxPrintSettings& PS = State();
  const TvlxReportSettings& S = Settings();
  const TRect& CellMargin = At.CellMargin;
  const int Count = ColsList->Count();
  TColsListData* Column = ColsList->Items(I);
  if (!Column || !Column->Printed) return;
  const bool Repeated = PS.IsRepeatedCol(I);
  const uint8_t Zone = Column->Plane;
  Column->FirstOnPage = Column->FirstBodyOnPage = Column->LastOnPage = false;
  const TColsListData* Next = ColsList->Items(I + 1);
  Column->LastOfZone = I == Count - 1 || (Next && Next->Plane != Zone);
  Column->FirstOfZone = Zone != At.PrevZone;

  TLineKind LeftKind = lkNone, RightKind = lkNone;
  Styles().GetColumnLineFlags(I, At.OnPage == 0, LeftKind, RightKind);
  int Lb = Styles().LineWidths[Zone][LeftKind];
  const int Rb = RightKind == lkRightEdge ? Styles().LineWidths[Zone][lkRightEdge] : 0;
  MergeColWidths(*this, *Column);
  int Content = Column->ColStrWid(0, At.Record).Width;
  int Cell = CellMargin.Left + Lb + Content + CellMargin.Right + Rb;

  if (At.X + Cell > At.Avail) {
    // A repeated column that needs a page across of its own, or a body that does not begin
    // beside the repeated columns, leaves no room to repeat them.
    const bool FirstBody = !Repeated && At.OwnOnPage == At.FixedCount && At.PageAcross == 1;
    if (PS.FixedColCount > 0 && At.FixedCount > 0 && (Repeated || FirstBody)) {
      At.DropRepeated = true;
      return;
    }
    // The first column placed on a page across stays there, cut if need be: moving it
    // would leave the page across without a column of its own.
    if (At.OwnOnPage > 0) StartNextPageAcross(*Column, At);
    Content = Cell - Lb - CellMargin.Left - CellMargin.Right - Rb;
  }
  if (At.OnPage == 0) {
    Styles().GetColumnLineFlags(I, true, LeftKind, RightKind);
    const int NewLb = Styles().LineWidths[Zone][LeftKind];
    Cell += NewLb - Lb;
    Content += NewLb - Lb;
    Lb = NewLb;
  }
  // A column that still does not fit, wherever it now stands, is cut to what is left of the
  // page across right of the repeated columns, the border that closes the page included.
  const int Closing = Styles().LineWidths[Zone][PS.Borders ? lkRightEdge : lkNone];
  const int Room = At.Avail - At.X + 1 + Rb - Closing;
  if (At.X + Cell > At.Avail && Cell > Room) {
    const int Least = CellMargin.Left + Lb + 1 + CellMargin.Right + Rb;
    if (PS.FixedColCount > 0 && At.FixedCount > 0 && Room < Least) {
      At.DropRepeated = true;
      return;
    }
    Cell = Room;
    Content = Cell - Lb - CellMargin.Left - CellMargin.Right - Rb;
  }
  Content = std::max(0, Content);

  Column->XPos = At.X;
  Column->LeftLineWidth = Lb;
  Column->LeftLineKind = LeftKind;
  Column->RightLineKind = RightKind;
  const int Data = Column->ColStrWid(bnData, At.Record).Width;
  const bool NumericTotals = Column->HeadingFlag && S.ItemOpt(ioColumnTotals);
  const int W = NumericTotals ? std::max(Data, Column->ColStrWid(bnTotals, At.Record).Width) : Data;
  const int Slack = Cell - Lb - Rb - CellMargin.Left - CellMargin.Right - W;
  ShareOutSlack(*Column, Slack, S.AutoSizze == asCurrentSizes && IsDatabaseKind());
  Column->CellWidth = Cell;
  Column->ContentWidth = Content;
  Column->HorzPage = At.PageAcross;
  PS.PagesAcross = At.PageAcross;
  Column->PageOrdinal = At.OnPage;
  At.X = Column->XPos + Cell + Rb;
  Column->RightLineWidth = Rb;
  At.PrevZone = Zone;
  if (Repeated) {
    ++At.FixedCount;
    At.FixedEndX = At.X;
  }
  ++At.OnPage;
  ++At.OwnOnPage;
}

void TObjInfo::StartNextPageAcross(TColsListData& Column, TColumnPlacement& At) {
  ++At.PageAcross;
  At.OnPage = At.FixedCount;
  At.OwnOnPage = 0;
  At.X = At.FixedCount > 0 ? At.FixedEndX : 1;
  Column.FirstOfZone = true;
}

void TObjInfo::CloseColumnPages() {
  const TvlxPrintSettings& PS = State();
  int Repeated = 0;
  for (int I = 0; I < ColsList->Count(); ++I)
    if (const TColsListData* Column = ColsList->Items(I); Column && Column->Printed && PS.IsRepeatedCol(I)) ++Repeated;
  for (int I = 0; I < ColsList->Count(); ++I) {
    TColsListData* Column = ColsList->Items(I);
    if (!Column || !Column->Printed) continue;
    const TColsListData* Next = FindPrintedColFrom(I + 1);
    Column->LastOnPage = !Next || Next->HorzPage != Column->HorzPage;
    if (Column->LastOnPage) {
      Column->CellWidth -= Column->RightLineWidth;
      Column->RightLineKind = PS.Borders ? lkRightEdge : lkNone;
      Column->RightLineWidth = Styles().LineWidths[Column->Plane][Column->RightLineKind];
      Column->CellWidth += Column->RightLineWidth;
    }
    Column->FirstOnPage = Column->PageOrdinal == 0;
    Column->FirstBodyOnPage = Column->PageOrdinal == Repeated;
  }
}

TColsListData* TObjInfo::FindPrintedColFrom(int ColNdx) const {
  for (int I = std::max(0, ColNdx); ColsList && I < ColsList->Count(); ++I)
    if (TColsListData* Column = ColsList->Items(I); Column && Column->Printed) return Column;
  return nullptr;
}

// Just right of the columns that are repeated: from the run's fixed-column count, which a
// hidden leading column has lowered, so a fixed column that is not repeated leaves no hole.
int TObjInfo::FirstXPos() const {
  const int From = std::max(0, State().FixedColCount);
  for (int I = From; ColsList && I < ColsList->Count(); ++I)
    if (const TColsListData* Column = ColsList->Items(I); Column && IsColSelected(Column->FieldName, false))
      return Column->XPos;
  return 1;
}

int TObjInfo::NextUnplacedCol(int& PageAcross) const {
  if (PageAcross == 1) return 0;
  int Last = -1;
  for (int I = 0; ColsList && I < ColsList->Count(); ++I) {
    const TColsListData* Column = ColsList->Items(I);
    if (!Column || !Column->Printed) continue;
    if (Column->HorzPage == PageAcross) return I;
    Last = I;
  }
  if (Last < 0) {
    PageAcross = 1;
    return -1;
  }
  PageAcross = ColsList->Items(Last)->HorzPage;
  return Last;
}

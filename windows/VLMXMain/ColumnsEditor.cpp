// The columns editor of the Style page: the draw grid dgColumns with one grid column per report
// column and a row per thing the user chooses for it (printed or not, a total per break level
// and for the report, the totals' format text), with the in-place combo box and edit that
// change them. What it edits lives in the adapter's column list; the settings strings
// HideColumns and ColumnTotals follow it through the transfer to the settings.
#include <algorithm>

#include "engine/VLMXCols.h"
#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXUtil.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/ComCtrls.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/Grids.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "framework/rtl/DateUtils.h"
#include "framework/rtl/SysUtils.h"
#include "windows/VLMXMain/VLMXMain.h"

namespace {

constexpr TColor clBtnShadow = static_cast<TColor>(0x80000010);
constexpr unsigned short VkEnter = 0x0D, VkSpace = 0x20, VkLeft = 0x25, VkUp = 0x26, VkRight = 0x27,
                         VkDown = 0x28;
// The auto-size setting that takes the control's own column sizes instead of measuring texts.
constexpr uint8_t asCurrentSizes = 2;
// A second scroll this soon after the first is the user dragging past the column they meant.
constexpr unsigned RepeatScrollMs = 500;
constexpr int TextIndent = 5, TextDrop = 4;

bool IsTotalsRow(TfmVlxMain::TColumnsRow Kind) {
  return Kind == TfmVlxMain::TColumnsRow::Break || Kind == TfmVlxMain::TColumnsRow::ColumnTotal;
}

TColsListData* GridColumn(int ACol) {
  return ObjInfo && ObjInfo->ColsList && ACol >= 1 ? ObjInfo->ColsList->Items(ACol - 1) : nullptr;
}

// The total entry a totals row of grid column ACol edits, or nullptr.
TColTotListData* GridTotal(int ACol, int ARow) {
  const TColsListData* Column = GridColumn(ACol);
  return Column && Column->TotList ? Column->TotList->Items(ARow - 2) : nullptr;
}

// Places an in-place editor over its cell: one pixel in, three pixels larger.
void PlaceOverCell(TControl& Editor, const TCustomGrid& Grid, const TRect& Cell) {
  Editor.SetBounds(Grid.Left() + Cell.Left + 1, Grid.Top() + Cell.Top + 1, Cell.Width() + 3, Cell.Height() + 3);
}

bool FullyVisible(const TCustomGrid& Grid, const TRect& Cell) {
  return Cell.Width() > 0 && Cell.Right <= Grid.ClientWidth() && Cell.Bottom <= Grid.ClientHeight();
}

void FocusIfPossible(TWinControl& Control) {
  if (Control.CanFocus() && !Control.Focused()) Control.SetFocus();
}

}  // namespace

TfmVlxMain::TColumnsRow TfmVlxMain::ColumnsRowKind(int Row) const {
  const int Rows = dgColumns->RowCount();
  if (Row == 0) return TColumnsRow::Name;
  if (Row == 1) return TColumnsRow::Visible;
  if (Row == Rows - 1) return TColumnsRow::Format;
  if (Row == Rows - 2) return TColumnsRow::ColumnTotal;
  if (Row >= 2 && Row < Rows - 2) return TColumnsRow::Break;
  return TColumnsRow::None;
}

bool TfmVlxMain::ValidateFormatString(const std::string& Fmt, bool ShowMessage, std::string& Sample) {
  try {
    Sample = Format(Fmt, {1234.56});
    return true;
  } catch (const std::exception& E) {
    Sample = std::string("Format error: ") + E.what();
    if (ShowMessage)
      MessageDlg(std::string("Formatting string \"FmtStr\" is invalid.\r") + E.what(), TMsgDlgType::mtWarning, mbOK,
                 0);
    return false;
  }
}

void TfmVlxMain::SizeColumnsGrid() {
  if (!ObjInfo || !ObjInfo->ColsList) return;
  TCanvas& Canvas = dgColumns->Canvas();
  Canvas.Font().Assign(dgColumns->Font());
  Canvas.Font().SetStyle(Canvas.Font().Style() | fsBold);
  const TColsList& Columns = *ObjInfo->ColsList;
  int FirstWidth = Canvas.TextWidth("Column Totals:");
  std::string LastWithTotals;
  int Breaks = 0;
  std::vector<int> Widths;
  for (int I = 0; I < Columns.Count(); ++I) {
    const TColsListData* Column = Columns.Items(I);
    std::string Heading;
    ObjInfo->GetColHeading(FShowFieldNames, I, Heading);
    if (Column && Column->TotList) LastWithTotals = Heading;
    if (Column && Column->GrpBrkLevel > 0) {
      ++Breaks;
      FirstWidth = std::max(FirstWidth, Canvas.TextWidth(Heading));
    }
    Widths.push_back(std::max(Canvas.TextWidth(Heading), Canvas.TextWidth("Count")));
  }
  FirstWidth = std::max(FirstWidth, Canvas.TextWidth("Break " + LastWithTotals));
  Canvas.Font().SetStyle(Canvas.Font().Style() & ~fsBold);
  dgColumns->SetRowCount(4 + Breaks);
  dgColumns->SetColCount(Columns.Count() + 1);
  dgColumns->SetColWidths(0, FirstWidth + 10);
  for (size_t I = 0; I < Widths.size(); ++I) dgColumns->SetColWidths(static_cast<int>(I) + 1, Widths[I]);
  // The cells have moved: a kind list or format edit left open would stand over another cell.
  cmbColumns->Hide();
  edColumns->Hide();
}

void TfmVlxMain::dgColumnsDrawCell(TObject*, int ACol, int ARow, const TRect& Rect, unsigned State) {
  TCanvas& Canvas = dgColumns->Canvas();
  const TColumnsRow Kind = ColumnsRowKind(ARow);
  const bool Fixed = State & gdFixed;
  const int GroupBreaks = RptSettings ? RptSettings->NumGrpBrkCols : 0;
  const bool BreakHeading = Kind == TColumnsRow::Name && GroupBreaks > 0 && ACol >= 2 && ACol <= GroupBreaks + 1;
  Canvas.Brush().SetColor(BreakHeading ? clBtnShadow : Fixed ? clBtnFace : clWindow);
  Canvas.Font().SetColor(BreakHeading ? clWhite : Fixed ? clBtnText : clWindowText);

  std::string Text;
  if (ACol == 0) {
    switch (Kind) {
      case TColumnsRow::Name: ObjInfo->GetColHeading(FShowFieldNames, -1, Text); break;
      case TColumnsRow::Visible: Text = "Visible"; break;
      case TColumnsRow::Break: Text = "Break"; break;
      case TColumnsRow::ColumnTotal: Text = "Column Total"; break;
      case TColumnsRow::Format: Text = "Format String"; break;
      case TColumnsRow::None: break;
    }
  } else if (const TColsListData* Column = GridColumn(ACol)) {
    const TColTotListData* Total = GridTotal(ACol, ARow);
    switch (Kind) {
      case TColumnsRow::Name: ObjInfo->GetColHeading(FShowFieldNames, ACol - 1, Text); break;
      case TColumnsRow::Visible:
        if (Column->Printed) Text = "X";
        Canvas.Font().SetStyle(Canvas.Font().Style() | fsBold);
        break;
      case TColumnsRow::Break:
        if (Total && Total->Kind != tkNone) Text = TotalKindNames[Total->Kind];
        break;
      case TColumnsRow::ColumnTotal:
        if (Total) Text = TotalKindNames[Total->Kind];
        break;
      case TColumnsRow::Format: Text = Column->TotalText; break;
      case TColumnsRow::None: break;
    }
    if (ACol == dgColumns->Col() && ARow == dgColumns->Row()) {
      const char* Hint = Kind == TColumnsRow::Visible ? "Double click or use SPACE to toggle column visibility."
                         : IsTotalsRow(Kind)           ? "Select a total for the column."
                         : Kind == TColumnsRow::Format
                             ? "Press ENTER or double click to enter formatting string for total. Press F1 for more info."
                             : nullptr;
      if (Hint) dgColumns->SetHint(Hint);
    }
  }
  Canvas.FillRect(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
  const bool Centred = Fixed || Kind == TColumnsRow::Visible;
  const int X = Centred ? Rect.Left + (Rect.Width() - Canvas.TextWidth(Text)) / 2 : Rect.Left + TextIndent;
  Canvas.TextOut(X, Rect.Top + TextDrop, Text);
}

void TfmVlxMain::dgColumnsSelectCell(TObject*, int ACol, int ARow, bool&) {
  const TRect Cell = dgColumns->CellRect(ACol, ARow);
  if (!IsTotalsRow(ColumnsRowKind(ARow)) || !FullyVisible(*dgColumns, Cell)) {
    cmbColumns->Hide();
    FocusIfPossible(*dgColumns);
    return;
  }
  // The box keeps to its cell, so that it never hides the next column's; its list opens as
  // wide as the longest kind name and a scroll bar, so that every name can be read there.
  int KindWidth = 0;
  for (const char* Name : TotalKindNames) KindWidth = std::max(KindWidth, dgColumns->Canvas().TextWidth(Name));
  PlaceOverCell(*cmbColumns, *dgColumns, Cell);
  cmbColumns->SetDroppedWidth(KindWidth + 28);
  FColumnsKindCell = {ACol, ARow};
  if (cmbColumns->Items().Count() != TotalKindCount) {
    cmbColumns->Items().Clear();
    for (const char* Name : TotalKindNames) cmbColumns->Items().Add(Name);
  }
  const TColTotListData* Total = GridTotal(ACol, ARow);
  cmbColumns->SetItemIndex(Total ? Total->Kind : tkNone);
  cmbColumns->Show();
  FocusIfPossible(*cmbColumns);
}

// The editor that belongs to the current cell, after a move or a scroll.
void TfmVlxMain::ShowColumnsEditor() {
  bool CanSelect = true;
  const TColumnsRow Kind = ColumnsRowKind(dgColumns->Row());
  dgColumnsSelectCell(dgColumns, dgColumns->Col(), dgColumns->Row(), CanSelect);
  if (Kind == TColumnsRow::Format && !edColumns->Visible()) ToggleFormatEdit();
  if (Kind != TColumnsRow::Format) edColumns->Hide();
  if (!cmbColumns->Visible() && !edColumns->Visible()) FocusIfPossible(*dgColumns);
}

void TfmVlxMain::cmbColumnsChange(TObject*) { ApplyTotalKind(); }

void TfmVlxMain::ApplyTotalKind() {
  const int Row = FColumnsKindCell.Y;
  TColsListData* Column = GridColumn(FColumnsKindCell.X);
  if (!cmbColumns->Visible() || !IsTotalsRow(ColumnsRowKind(Row)) || !Column) return;
  int Kind = cmbColumns->Items().IndexOf(cmbColumns->Text());
  if (Kind < 0) Kind = tkNone;
  if (Kind != tkNone && !Column->TotList) Column->TotList = std::make_unique<TColTotList>();
  if (!Column->TotList) return;
  bool Changed = false;
  Column->TotList->SetKind(Row - 2, static_cast<TotalKind>(Kind), Changed);
  if (!Changed) return;
  RptSettings->Modified = true;
  ObjInfo->CountTotalLines();
  ObjInfo->FinishColWidths(RptSettings->AutoSizze < asCurrentSizes);
  RelayoutColumns();
  dgColumns->Invalidate();
}

void TfmVlxMain::RelayoutColumns() {
  ObjInfo->Remeasure(paPagesAcross, FColumnsChanged);
  ApplyFontScaling(false);
}

void TfmVlxMain::ToggleFormatEdit() {
  if (edColumns->Visible()) {
    CommitFormatEdit();
    return;
  }
  const TColsListData* Column = GridColumn(dgColumns->Col());
  const TRect Cell = dgColumns->CellRect(dgColumns->Col(), dgColumns->Row());
  if (!Column || ColumnsRowKind(dgColumns->Row()) != TColumnsRow::Format || Cell.Width() <= 0) return;
  PlaceOverCell(*edColumns, *dgColumns, Cell);
  edColumns->SetText(Column->TotalText);
  edColumns->Show();
  FocusIfPossible(*edColumns);
}

void TfmVlxMain::CommitFormatEdit() {
  if (!edColumns->Visible()) return;
  const std::string Text = edColumns->Text();
  const bool HadFocus = edColumns->Focused();
  // Hidden first: the focus leaving it below comes back here through its exit event.
  edColumns->Hide();
  if (HadFocus) FocusIfPossible(*dgColumns);
  TColsListData* Column = GridColumn(dgColumns->Col());
  std::string Sample;
  if (!Column || (Text.find('%') != std::string::npos && !ValidateFormatString(Text, true, Sample))) return;
  if (Text == Column->TotalText) return;
  Column->TotalText = Text;
  ObjInfo->FinishColWidths(RptSettings->AutoSizze < asCurrentSizes);
  RelayoutColumns();
  dgColumns->Invalidate();
}

void TfmVlxMain::edColumnsExit(TObject*) { CommitFormatEdit(); }

void TfmVlxMain::edColumnsKeyPress(TObject*, char& Key) {
  if (Key == '\r') Key = 0;
  if (Key == '"') {
    Key = 0;
    Beep();
  }
}

void TfmVlxMain::ColumnsVisibilityChanged() {
  FormToSettings();
  ShowOutputDestOptions(nullptr, true);
  RelayoutColumns();
  dgColumns->Invalidate();
}

void TfmVlxMain::dgColumnsKeyDown(TObject*, unsigned short& Key, TShiftState Shift) {
  if (Shift & (ssCtrl | ssAlt)) return;
  const TColumnsRow Kind = ColumnsRowKind(dgColumns->Row());
  if (Key == VkSpace && Kind == TColumnsRow::Visible && GridColumn(dgColumns->Col())) {
    Key = 0;
    ObjInfo->ToggleColPrint(dgColumns->Col() - 1, "");
    ColumnsVisibilityChanged();
  } else if (Key == VkEnter && Kind == TColumnsRow::Format) {
    Key = 0;
    ToggleFormatEdit();
  }
}

void TfmVlxMain::cmbColumnsKeyDown(TObject* Sender, unsigned short& Key, TShiftState Shift) {
  const bool FromCombo = Sender == cmbColumns;
  if ((Shift & (ssCtrl | ssAlt)) || (FromCombo && cmbColumns->DroppedDown())) return;
  int Col = dgColumns->Col(), Row = dgColumns->Row();
  switch (Key) {
    case VkDown: ++Row; break;
    case VkUp: --Row; break;
    case VkLeft:
      if (!FromCombo) return;
      --Col;
      break;
    case VkRight:
      if (!FromCombo) return;
      ++Col;
      break;
    case VkEnter:
      if (ColumnsRowKind(Row) == TColumnsRow::Format) {
        Key = 0;
        ToggleFormatEdit();
      }
      return;
    default: return;
  }
  Key = 0;
  if (Row < dgColumns->FixedRows() || Row >= dgColumns->RowCount() || Col < dgColumns->FixedCols() ||
      Col >= dgColumns->ColCount())
    return;
  if (FromCombo) ApplyTotalKind();
  else CommitFormatEdit();
  if (Col != dgColumns->Col()) {
    dgColumns->SetCol(Col);
    if (Col < dgColumns->LeftCol()) dgColumns->SetLeftCol(Col);
    else if (Col >= dgColumns->LeftCol() + std::max(1, dgColumns->VisibleColCount()))
      dgColumns->SetLeftCol(Col - std::max(1, dgColumns->VisibleColCount()) + 1);
  }
  if (Row != dgColumns->Row()) dgColumns->SetRow(Row);
  ShowColumnsEditor();
}

void TfmVlxMain::dgColumnsDblClick(TObject*) {
  const auto [Col, Pressed] = FColumnsPressed;
  if (Col < 1 || Pressed < 0 || !GridColumn(Col)) {
    Beep();
    return;
  }
  const int Row = std::max(Pressed, dgColumns->FixedRows());
  dgColumns->SetCol(Col);
  dgColumns->SetRow(Row);
  const TColumnsRow Kind = ColumnsRowKind(Pressed);
  if (Kind == TColumnsRow::Name || Kind == TColumnsRow::Visible) {
    ObjInfo->ToggleColPrint(Col - 1, "");
    ColumnsVisibilityChanged();
  } else if (Kind == TColumnsRow::Format) {
    ToggleFormatEdit();
  }
}

void TfmVlxMain::dgColumnsMouseDown(TObject*, TMouseButton, TShiftState, int X, int Y) {
  dgColumns->MouseToCell(X, Y, FColumnsPressed.X, FColumnsPressed.Y);
  FColumnsScrollTick = 0;
}

void TfmVlxMain::dgColumnsMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
  if (cmbColumns->Visible()) ShowColumnsEditor();
}

void TfmVlxMain::dgColumnsMouseMove(TObject*, TShiftState, int X, int Y) {
  int Col = -1, Row = -1;
  dgColumns->MouseToCell(X, Y, Col, Row);
  FColumnsUnderMouse = {Col, Row};
  FColumnsMouseTick = TickCount();
  std::string Text = "Right click for popup menu";
  if (Col >= 0 && Row >= 0) {
    switch (ColumnsRowKind(Row)) {
      case TColumnsRow::Name: Text = "Report Column"; break;
      case TColumnsRow::Visible: Text = "Uncheck option to hide report column"; break;
      case TColumnsRow::Break:
        Text = Col == 0 ? "Uncheck to prevent group break totals from appearing" : "";
        break;
      case TColumnsRow::ColumnTotal:
        Text = Col == 0 ? "Uncheck to prevent column total from printing" : "Select type of column total";
        break;
      case TColumnsRow::Format:
        Text = "Enter optional formatting string for a Real number. Example: \"%7.2F\" or \"Sum: %F\" or \"%m\" "
               "for currency";
        break;
      case TColumnsRow::None: Text.clear(); break;
    }
  }
  if (!Text.empty() && paMsg->Caption() != "  " + Text) ShowStatusMsg(paMsg, Text, smkNormal, nullptr, 0);
}

void TfmVlxMain::dgColumnsTopLeftChanged(TObject*) {
  const unsigned Now = TickCount();
  TWinControl* Focus = ActiveControl();
  const bool Editing = Focus == dgColumns || Focus == cmbColumns || Focus == edColumns;
  // Only with the pointer on the cells: a thumb dragged along the scroll bar scrolls many
  // times in a row and must not be pulled back.
  const bool PointerOnCells = Now - FColumnsMouseTick < RepeatScrollMs && FColumnsUnderMouse.X >= dgColumns->FixedCols();
  if (Editing && PointerOnCells && FColumnsScrollTick != 0 && Now - FColumnsScrollTick < RepeatScrollMs) {
    // Scrolled on past the column under the pointer: that column was the one wanted.
    const int Wanted = FColumnsUnderMouse.X;
    FColumnsScrollTick = 0;
    dgColumns->SetLeftCol(FColumnsLeftCol);
    dgColumns->SetCol(Wanted);
  } else {
    FColumnsLeftCol = dgColumns->LeftCol();
    FColumnsScrollTick = Now;
  }
  if (cmbColumns->Visible() || edColumns->Visible()) ShowColumnsEditor();
}

void TfmVlxMain::dgColumnsExit(TObject*) {
  TWinControl* Focus = ActiveControl();
  if (FSuppressEvents || Focus == dgColumns || Focus == cmbColumns || Focus == edColumns) return;
  FormToSettings();
  if (FTotalsChanged) {
    ShowOutputDestOptions(nullptr, true);
    ObjInfo->ColumnScan(this, paPagesAcross, FColumnsChanged);
    FTotalsChanged = false;
    ApplyFontScaling(false);
    SizeColumnsGrid();
    FColumnsChanged = false;
  } else if (FColumnsChanged) {
    ShowOutputDestOptions(nullptr, true);
    RelayoutColumns();
    SizeColumnsGrid();
  }
}

void TfmVlxMain::itmDisplayFieldNamesClick(TObject*) {
  FShowFieldNames = !FShowFieldNames;
  itmDisplayFieldNames->SetChecked(FShowFieldNames);
  SizeColumnsGrid();
  dgColumns->Invalidate();
}

void TfmVlxMain::itmHideallColumnsClick(TObject* Sender) {
  if (!ObjInfo || !ObjInfo->ColsList) return;
  for (int I = 0; I < ObjInfo->ColsList->Count(); ++I) {
    if (Sender == itmToggleColumnVisibility) ObjInfo->ToggleColPrint(I, "");
    else ObjInfo->SetColPrint(I, "", Sender == itmShowAllColumns);
  }
  ColumnsVisibilityChanged();
}

void TfmVlxMain::BindColumnsHandlers() {
  BindHandler("dgColumnsDblClick", &TfmVlxMain::dgColumnsDblClick);
  BindHandler("dgColumnsExit", &TfmVlxMain::dgColumnsExit);
  BindHandler("dgColumnsTopLeftChanged", &TfmVlxMain::dgColumnsTopLeftChanged);
  BindHandler("cmbColumnsChange", &TfmVlxMain::cmbColumnsChange);
  BindHandler("edColumnsExit", &TfmVlxMain::edColumnsExit);
  BindHandler("itmDisplayFieldNamesClick", &TfmVlxMain::itmDisplayFieldNamesClick);
  BindHandler("itmHideallColumnsClick", &TfmVlxMain::itmHideallColumnsClick);
  BindHandler<TMouseEvent>("dgColumnsMouseDown", &TfmVlxMain::dgColumnsMouseDown);
  BindHandler<TMouseEvent>("dgColumnsMouseUp", &TfmVlxMain::dgColumnsMouseUp);
  BindHandler<TKeyEvent>("dgColumnsKeyDown", &TfmVlxMain::dgColumnsKeyDown);
  BindHandler<TKeyEvent>("cmbColumnsKeyDown", &TfmVlxMain::cmbColumnsKeyDown);
  PublishedMethod("dgColumnsMouseMove", TMouseMoveEvent([this](TObject* Sender, TShiftState Shift, int X, int Y) {
                    dgColumnsMouseMove(Sender, Shift, X, Y);
                  }));
  PublishedMethod("dgColumnsDrawCell",
                  TDrawCellEvent([this](TObject* Sender, int ACol, int ARow, const TRect& Rect, TGridDrawState State) {
                    dgColumnsDrawCell(Sender, ACol, ARow, Rect, State);
                  }));
  PublishedMethod("dgColumnsSelectCell", TSelectCellEvent([this](TObject* Sender, int ACol, int ARow, bool& CanSelect) {
                    dgColumnsSelectCell(Sender, ACol, ARow, CanSelect);
                  }));
  PublishedMethod("edColumnsKeyPress",
                  TKeyPressEvent([this](TObject* Sender, char& Key) { edColumnsKeyPress(Sender, Key); }));
  PublishedMethod("spNumGrpBrkColsClick", TUDClickEvent([this](TObject*, TUDBtnType) {
                    if (FSuppressEvents) return;
                    RptSettings->Modified = true;
                    ValidateOptions(edNumGrpBrkCols, false, true);
                    dgColumns->Invalidate();
                  }));
  PublishedMethod("spAdjGrpBrkLinesChanging", TTabChangingEvent([](TObject*, bool&) {
                    if (RptSettings) RptSettings->Modified = true;
                  }));
}

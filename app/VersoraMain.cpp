#include "app/VersoraMain.h"

#include "app/BookTable.h"
#include "framework/Layout.h"
#include "framework/rtl/StringList.h"
#include "framework/rtl/SysUtils.h"

TfrmVersora* frmVersora = nullptr;

TfrmVersora::TfrmVersora(TComponent* AOwner) : TForm(AOwner) {
  RegisterComponentClass<TvlxVellumix>("TvlxVellumix");
  Published(strgrd, "strgrd");
  Published(Label1, "Label1");
  Published(Label2, "Label2");
  Published(btnPrint, "btnPrint");
  Published(btnClose, "btnClose");
  Published(VlxVellumix1, "VlxVellumix1");
  PublishedMethod("FormCreate", TNotifyEvent([this](TObject* S) { FormCreate(S); }));
  PublishedMethod("btnPrintClick", TNotifyEvent([this](TObject* S) { btnPrintClick(S); }));
  PublishedMethod("strgrdMouseUp", TMouseEvent([this](TObject* S, TMouseButton B, TShiftState Sh, int X, int Y) {
                    strgrdMouseUp(S, B, Sh, X, Y);
                  }));
  CreateFromLayout("TfrmVersora");
}

void TfrmVersora::FormCreate(TObject*) {
  SetupForm();
  FillGrid();
}

void TfrmVersora::SetupForm() {
  Randomize();
  // Three separate draws, blue first, each below 255.
  int blue = Random(255);
  int green = Random(255);
  int red = Random(255);
  SetColor(RGB(red, green, blue));
  Constraints().MinWidth = Width();
  Constraints().MaxWidth = Width();
  Constraints().MinHeight = Height();
  Constraints().MaxHeight = Height();
  Font().SetName("MS Sans Serif");
  SetScaled(true);
  SetAutoScroll(false);
  strgrd->SetColWidths(2, 123);
  FSortAsc.assign(5, false);
}

void TfrmVersora::FillGrid() {
  for (int col = 0; col < BookTableCols; ++col) {
    TStringList texts;
    for (int row = 0; row < BookTableRows; ++row) texts.Add(BookTable[row][col]);
    for (int i = 0; i < texts.Count(); ++i) strgrd->SetCells(col, i, texts[i]);
  }
}

void TfrmVersora::btnPrintClick(TObject*) {
  VlxVellumix1->Print();
}

void TfrmVersora::strgrdMouseUp(TObject*, TMouseButton, TShiftState, int X, int Y) {
  int column, row;
  strgrd->MouseToCell(X, Y, column, row);
  if (row != 0 || column < 0) return;
  bool ascending = ToggleSortOrder(column);
  SortGrid(strgrd, column, ascending);
}

bool TfrmVersora::ToggleSortOrder(int Column) {
  FSortAsc.at(Column) = !FSortAsc.at(Column);
  return FSortAsc[Column];
}

void TfrmVersora::SortGrid(TStringGrid* Grid, int Column, bool Ascending) {
  FSortGrid = Grid;
  FSortColumn = Column;
  Screen->SetCursor(crHourGlass);
  for (int row = 0; row < Grid->RowCount(); ++row) Grid->SetRowHeights(row, Grid->DefaultRowHeight());
  Grid->SetRedraw(false);
  struct TRestore {
    TStringGrid* Grid;
    ~TRestore() {
      Grid->SetRedraw(true);
      Grid->Invalidate();
      Screen->SetCursor(crDefault);
    }
  } restore{Grid};
  QuickSort(Grid->FixedRows(), Grid->RowCount() - 1);
  if (!Ascending) ReverseRows();
}

// Hoare partitioning on the texts of the sort column, ordinal comparison; the right part is
// handled by the loop rather than by recursion.
void TfrmVersora::QuickSort(int L, int R) {
  int I, J;
  do {
    I = L;
    J = R;
    const std::string P = FSortGrid->Cells(FSortColumn, (L + R) / 2);
    do {
      while (CompareStr(FSortGrid->Cells(FSortColumn, I), P) < 0) ++I;
      while (CompareStr(FSortGrid->Cells(FSortColumn, J), P) > 0) --J;
      if (I <= J) {
        if (I != J) ExchangeRows(I, J);
        ++I;
        --J;
      }
    } while (I <= J);
    if (L < J) QuickSort(L, J);
    L = I;
  } while (I < R);
}

void TfrmVersora::ExchangeRows(int I, int J) {
  for (int k = 0; k < FSortGrid->ColCount(); ++k) {
    std::string text = FSortGrid->Cells(k, I);
    TObject* object = FSortGrid->Objects(k, I);
    FSortGrid->SetCells(k, I, FSortGrid->Cells(k, J));
    FSortGrid->SetObjects(k, I, FSortGrid->Objects(k, J));
    FSortGrid->SetCells(k, J, text);
    FSortGrid->SetObjects(k, J, object);
  }
}

void TfrmVersora::ReverseRows() {
  int I = FSortGrid->FixedRows();
  int J = FSortGrid->RowCount() - 1;
  while (J > I) {
    ExchangeRows(I, J);
    ++I;
    --J;
  }
}

// The book-table window: the 66 books in a string grid that sorts on a heading click, and a
// button that prints the grid through the report component.
#pragma once
#include <vector>

#include "engine/Vellumix/Vellumix.h"
#include "framework/Buttons.h"
#include "framework/Forms.h"
#include "framework/Grids.h"
#include "framework/StdCtrls.h"

class TfrmVersora : public TForm {
public:
  explicit TfrmVersora(TComponent* AOwner);

  TStringGrid* strgrd = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TBitBtn* btnPrint = nullptr;
  TBitBtn* btnClose = nullptr;
  TvlxVellumix* VlxVellumix1 = nullptr;

  void FormCreate(TObject* Sender);
  void btnPrintClick(TObject* Sender);
  void strgrdMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

  // Flips the column's direction bit and returns it: true is ascending.
  bool ToggleSortOrder(int Column);
  // Sorts the grid's rows below the fixed ones by the column's text.
  void SortGrid(TStringGrid* Grid, int Column, bool Ascending);

private:
  // The direction of each column's last sort, one bit per column.
  std::vector<bool> FSortAsc;
  TStringGrid* FSortGrid = nullptr;
  int FSortColumn = 0;

  void SetupForm();
  void FillGrid();
  void QuickSort(int L, int R);
  void ExchangeRows(int I, int J);
  void ReverseRows();
};

extern TfrmVersora* frmVersora;

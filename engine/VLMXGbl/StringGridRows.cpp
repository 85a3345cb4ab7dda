// A string grid: its cells as they stand, its fixed rows as the titles, its fixed columns
// repeated on every page across, and its selection as the rows and columns picked.
#include <algorithm>

#include "engine/VLMXGbl/RowSources.h"
#include "framework/Grids.h"
#include "framework/rtl/SysUtils.h"

namespace {

class TStringGridRows : public TMemoryRows {
public:
  TStringGridRows(TObjInfo& Info, TComponent* Object) : TMemoryRows(Info), FGrid(As<TStringGrid>(Object)) {}

  void Setup() override {
    Info.StringGrid = FGrid;
    Info.RowCount = FGrid->RowCount();
    Info.HasHeaderRow = true;
    Info.ColCount = FGrid->ColCount();
    Info.FixedRows = FGrid->FixedRows();
    Info.FixedCols = FGrid->FixedCols();
    Info.CurCell = {FGrid->Col(), FGrid->Row()};
    Info.FixedPoint = {Info.FixedCols, Info.FixedRows};
    const TGridRect Sel = FGrid->Selection();
    Info.SelColFirst = Sel.Left;
    Info.SelColLast = Sel.Right;
  }

  void CalcUsedExtent(bool Trim) override {
    Info.RowCount = FGrid->RowCount();
    Info.ColCount = FGrid->ColCount();
    if (!Trim) return;
    // From the last column leftwards; once a column with text is found, a column further
    // left only matters for rows below the lowest text found so far.
    int LastRow = -1, LastCol = -1;
    for (int C = Info.ColCount - 1; C >= 0; --C) {
      const int Stop = LastCol < 0 ? 0 : LastRow + 1;
      for (int R = Info.RowCount - 1; R >= Stop; --R) {
        if (::Trim(FGrid->Cells(C, R)).empty()) continue;
        LastRow = R;
        if (LastCol < 0) LastCol = C;
        break;
      }
    }
    Info.RowCount = LastRow + 1;
    Info.ColCount = LastCol + 1;
  }

  int CountSelected() override {
    const TGridRect Sel = FGrid->Selection();
    return Sel.Bottom - Sel.Top + 1;
  }

  bool NextSelected() override {
    const TGridRect Sel = FGrid->Selection();
    int& Cursor = Info.SelRowNdx;
    Cursor = std::max(Cursor, Sel.Top);
    const bool Found = Cursor <= Sel.Bottom;
    if (Found) Info.CurCell = {Info.FixedCols, Cursor};
    ++Cursor;
    return Found;
  }

  int ControlColWidth(int Source) const override {
    return Source < FGrid->ColCount() ? FGrid->ColWidths(Source) : 0;
  }

  void ReadText(int /*Level*/, const TColsListData& Column, bool /*RealData*/, std::string& Text,
                TField*& /*Field*/) override {
    Text = FGrid->Cells(Column.SourceColNdx, Info.CurCell.Y);
  }

  const std::string* DataTextRef(const TColsListData& Column) const override {
    return &FGrid->Cells(Column.SourceColNdx, Info.CurCell.Y);
  }

protected:
  bool StartRow() override {
    // Current page: the rows shown on screen first.
    Info.CurCell = {FGrid->FixedCols(), PrintsCurrentPage(Info) ? FGrid->TopRow() : FGrid->FixedRows()};
    // A grid holding only its title rows has no row to print.
    return Info.CurCell.Y < Info.RowCount;
  }

private:
  TStringGrid* FGrid;
};

}  // namespace

std::unique_ptr<TRowSource> MakeStringGridRows(TObjInfo& Info, TComponent* Object) {
  return std::make_unique<TStringGridRows>(Info, Object);
}

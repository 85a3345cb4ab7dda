// Which cross-tab cells are totals, for the adapter's walk over a decision grid.
#include "engine/VLMXUtil.h"
#include "framework/Controls.h"
#include "framework/DecisionGrid.h"

bool DecisionCellTest(const TDecisionGrid* Grid, int Col, int Row) {
  if (!Grid) return false;
  const int FixedCols = Grid->FixedCols(), FixedRows = Grid->FixedRows();
  if (Col < -FixedCols || Col > Grid->ColCount() - FixedCols - 1) return false;
  if (Row < -FixedRows || Row > Grid->RowCount() - FixedRows - 1) return false;
  std::string Text;
  TDecisionDrawState State = 0;
  return Grid->CellInfo(Col, Row, Text, State) && (State & dsSum);
}

bool IsDecisionGridTotalCell(const TDecisionGrid* Grid, TPoint Cell, bool ByRowHeaders) {
  if (!Grid) return false;
  const int Fixed = ByRowHeaders ? Grid->FixedCols() : Grid->FixedRows();
  if (ByRowHeaders ? Cell.X > Grid->ColCount() - Fixed - 1 : Cell.Y > Grid->RowCount() - Fixed - 1)
    return false;
  TDecisionSource* Source = Grid->DecisionSource();
  const TDimAxis Axis = ByRowHeaders ? TDimAxis::Rows : TDimAxis::Columns;
  for (int I = 1 - Fixed; I <= -1; ++I) {
    const bool Sum = ByRowHeaders ? DecisionCellTest(Grid, I, Cell.Y) : DecisionCellTest(Grid, Cell.X, I);
    const int Dim = Fixed + I - 1;
    if (!Sum || !Source || Dim < 0 || Dim >= Source->DimCount(Axis)) continue;
    return Source->Dimension(Axis, Dim).Subtotals();
  }
  return true;
}

#include "framework/Grids.h"

#include <algorithm>

#include "framework/Layout.h"
#include "framework/PropertyTable.h"

namespace {
std::string IndexError(int Index) { return "Grid index out of range (" + std::to_string(Index) + ")"; }

// A layout holds a grid as designed, never one of this size: a few bytes of layout must not
// allocate gigabytes. Other is the count of the other dimension.
int LayoutGridCount(const TLayoutValue& Value, int Other) {
  constexpr long long MaxLayoutCells = 1 << 20;
  const int Count = Value.AsInteger();
  if (static_cast<long long>(Count) * Other > MaxLayoutCells)
    throw ELayoutError("a grid of more than " + std::to_string(MaxLayoutCells) + " cells");
  return Count;
}

// Where a drag of the selection heads along one axis: the cell under the pointer; past the
// grid's far edge, the one after those shown, and before its first cell, the one before, so that
// the grid scrolls on; in the empty room after the last cell, the last one.
int DragTarget(int Pos, int Extent, int Cell, int Fixed, int First, int Shown, int Count) {
  if (Pos >= Extent) return First + std::max(1, Shown);
  if (Pos < 0 || (Cell >= 0 && Cell < Fixed)) return First - 1;
  return Cell < 0 ? Count - 1 : Cell;
}
}  // namespace

TCustomGrid::TCustomGrid(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 320, 120);
  SetTabStop(true);
  FColor = clWindow;
  FColWidths.assign(FColCount, FDefaultColWidth);
  FRowHeights.assign(FRowCount, FDefaultRowHeight);
}

void TCustomGrid::SetColCount(int Value) {
  if (Value < 1) Value = 1;
  if (Value == FColCount) return;
  FColCount = Value;
  FColWidths.resize(Value, FDefaultColWidth);
  if (FFixedCols >= FColCount) FFixedCols = FColCount - 1;
  ClampPosition();
  Changed(TPeerChange::Layout);
}

void TCustomGrid::SetRowCount(int Value) {
  if (Value < 1) Value = 1;
  if (Value == FRowCount) return;
  FRowCount = Value;
  FRowHeights.resize(Value, FDefaultRowHeight);
  if (FFixedRows >= FRowCount) FFixedRows = FRowCount - 1;
  ClampPosition();
  Changed(TPeerChange::Layout);
}

void TCustomGrid::SetFixedCols(int Value) {
  if (Value < 0 || Value >= FColCount) throw EInvalidGridOperation("Fixed column count must be less than column count");
  FFixedCols = Value;
  // As on the platform, the grid starts over at its first scrollable column.
  FLeftCol = FCol = Value;
  ClampPosition();
  Changed(TPeerChange::Layout);
}

void TCustomGrid::SetFixedRows(int Value) {
  if (Value < 0 || Value >= FRowCount) throw EInvalidGridOperation("Fixed row count must be less than row count");
  FFixedRows = Value;
  FTopRow = FRow = Value;
  ClampPosition();
  Changed(TPeerChange::Layout);
}

void TCustomGrid::ClampPosition() {
  auto clamp = [](int v, int lo, int hi) { return std::max(lo, std::min(v, std::max(lo, hi))); };
  FCol = clamp(FCol, FFixedCols, FColCount - 1);
  FRow = clamp(FRow, FFixedRows, FRowCount - 1);
  FTopRow = clamp(FTopRow, FFixedRows, FRowCount - 1);
  FLeftCol = clamp(FLeftCol, FFixedCols, FColCount - 1);
  FAnchor = {FCol, FRow};
  SpanSelection();
}

void TCustomGrid::SpanSelection() {
  FSelection = {std::min(FAnchor.X, FCol), std::min(FAnchor.Y, FRow), std::max(FAnchor.X, FCol),
                std::max(FAnchor.Y, FRow)};
  if (FOptions & goRowSelect) { FSelection.Left = FFixedCols; FSelection.Right = FColCount - 1; }
}

void TCustomGrid::SetDefaultColWidth(int Value) {
  FDefaultColWidth = Value;
  std::fill(FColWidths.begin(), FColWidths.end(), Value);
  Changed(TPeerChange::Layout);
}

void TCustomGrid::SetDefaultRowHeight(int Value) {
  FDefaultRowHeight = Value;
  std::fill(FRowHeights.begin(), FRowHeights.end(), Value);
  Changed(TPeerChange::Layout);
}

int TCustomGrid::ColWidths(int Index) const {
  if (Index < 0 || Index >= FColCount) throw EListError(IndexError(Index));
  return FColWidths[Index];
}

void TCustomGrid::SetColWidths(int Index, int Value) {
  if (Index < 0 || Index >= FColCount) throw EListError(IndexError(Index));
  if (FColWidths[Index] == Value) return;
  FColWidths[Index] = Value;
  Changed(TPeerChange::Layout);
}

int TCustomGrid::RowHeights(int Index) const {
  if (Index < 0 || Index >= FRowCount) throw EListError(IndexError(Index));
  return FRowHeights[Index];
}

void TCustomGrid::SetRowHeights(int Index, int Value) {
  if (Index < 0 || Index >= FRowCount) throw EListError(IndexError(Index));
  if (FRowHeights[Index] == Value) return;
  FRowHeights[Index] = Value;
  Changed(TPeerChange::Layout);
}

void TCustomGrid::SetGridLineWidth(int Value) { FGridLineWidth = std::max(0, Value); Changed(TPeerChange::Layout); }
void TCustomGrid::SetOptions(TGridOptions Value) { FOptions = Value; ClampPosition(); Changed(TPeerChange::Layout); }
void TCustomGrid::SetScrollBars(TScrollStyle Value) { FScrollBars = Value; Changed(TPeerChange::Style); }
void TCustomGrid::SetFixedColor(TColor Value) { FFixedColor = Value; Changed(TPeerChange::Color); }

void TCustomGrid::SetCol(int Value) {
  if (Value < FFixedCols || Value >= FColCount) throw EListError(IndexError(Value));
  if (Value != FCol && !FCellSelected && !SelectCell(Value, FRow)) return;
  FCol = Value;
  FAnchor = {FCol, FRow};
  SpanSelection();
  Changed(TPeerChange::Invalidate);
}

void TCustomGrid::SetRow(int Value) {
  if (Value < FFixedRows || Value >= FRowCount) throw EListError(IndexError(Value));
  if (Value != FRow && !FCellSelected && !SelectCell(FCol, Value)) return;
  FRow = Value;
  FAnchor = {FCol, FRow};
  SpanSelection();
  if (FRow < FTopRow) SetTopRow(FRow);
  else if (FRow >= FTopRow + std::max(1, VisibleRowCount())) SetTopRow(FRow - std::max(1, VisibleRowCount()) + 1);
  Changed(TPeerChange::Invalidate);
}

void TCustomGrid::SetSelection(const TGridRect& Value) {
  FSelection = Value;
  FCol = Value.Left;
  FRow = Value.Top;
  FAnchor = {Value.Right, Value.Bottom};
  Changed(TPeerChange::Invalidate);
}

void TCustomGrid::MoveCurrent(int ACol, int ARow, bool Extend) {
  ACol = std::clamp(ACol, FFixedCols, FColCount - 1);
  ARow = std::clamp(ARow, FFixedRows, FRowCount - 1);
  const bool Moves = ACol != FCol || ARow != FRow;
  if (Moves && !FCellSelected && !SelectCell(ACol, ARow)) return;
  // An editing grid selects one cell at a time, whatever its options say.
  const bool Range = Extend && (FOptions & goRangeSelect) && !(FOptions & goEditing);
  const TPoint Anchor = Range ? FAnchor : TPoint{ACol, ARow};
  const TGridRect Before = FSelection;
  FCol = ACol;
  if (ARow != FRow) {
    // Through SetRow, which a data-aware grid follows with its dataset.
    TScopedValue<bool> agreed(FCellSelected, true);
    SetRow(ARow);
  }
  FAnchor = Anchor;
  SpanSelection();
  const int Rows = std::max(1, VisibleRowCount()), Cols = std::max(1, VisibleColCount());
  if (FRow < FTopRow) SetTopRow(FRow);
  else if (FRow >= FTopRow + Rows) SetTopRow(FRow - Rows + 1);
  if (FCol < FLeftCol) SetLeftCol(FCol);
  else if (FCol >= FLeftCol + Cols) SetLeftCol(FCol - Cols + 1);
  if (Moves || !(Before == FSelection)) Changed(TPeerChange::Invalidate);
}

void TCustomGrid::SetTopRow(int Value) {
  int last = std::max(FFixedRows, FRowCount - std::max(1, VisibleRowCount()));
  Value = std::max(FFixedRows, std::min(Value, last));
  if (Value == FTopRow) return;
  FTopRow = Value;
  Changed(TPeerChange::Layout);
  TopLeftChanged();
}

void TCustomGrid::SetLeftCol(int Value) {
  Value = std::max(FFixedCols, std::min(Value, FColCount - 1));
  if (Value == FLeftCol) return;
  FLeftCol = Value;
  Changed(TPeerChange::Layout);
  TopLeftChanged();
}

int TCustomGrid::VisibleRowCount() const {
  int y = 0;
  for (int r = 0; r < FFixedRows; ++r) y += FRowHeights[r] + FGridLineWidth;
  int n = 0;
  for (int r = FTopRow; r < FRowCount; ++r) {
    y += FRowHeights[r] + FGridLineWidth;
    if (y > ClientHeight()) break;
    ++n;
  }
  return n;
}

int TCustomGrid::VisibleColCount() const {
  int x = 0;
  for (int c = 0; c < FFixedCols; ++c) x += FColWidths[c] + FGridLineWidth;
  int n = 0;
  for (int c = FLeftCol; c < FColCount; ++c) {
    x += FColWidths[c] + FGridLineWidth;
    if (x > ClientWidth()) break;
    ++n;
  }
  return n;
}

void TCustomGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const {
  auto locate = [this](int pos, int fixed, int first, int count, const std::vector<int>& sizes) {
    if (pos < 0) return -1;
    int edge = 0;
    for (int i = 0; i < fixed; ++i) {
      edge += sizes[i] + FGridLineWidth;
      if (pos < edge) return i;
    }
    for (int i = first; i < count; ++i) {
      edge += sizes[i] + FGridLineWidth;
      if (pos < edge) return i;
    }
    return -1;
  };
  ACol = locate(X, FFixedCols, FLeftCol, FColCount, FColWidths);
  ARow = locate(Y, FFixedRows, FTopRow, FRowCount, FRowHeights);
  if (X >= ClientWidth() || Y >= ClientHeight()) ACol = ARow = -1;
}

TRect TCustomGrid::CellRect(int ACol, int ARow) const {
  auto span = [this](int index, int fixed, int first, const std::vector<int>& sizes, int& from) {
    if (index >= fixed && index < first) return false;
    from = 0;
    for (int i = 0; i < std::min(index, fixed); ++i) from += sizes[i] + FGridLineWidth;
    if (index >= fixed)
      for (int i = first; i < index; ++i) from += sizes[i] + FGridLineWidth;
    return true;
  };
  if (ACol < 0 || ACol >= FColCount || ARow < 0 || ARow >= FRowCount) return {};
  int x, y;
  if (!span(ACol, FFixedCols, FLeftCol, FColWidths, x) || !span(ARow, FFixedRows, FTopRow, FRowHeights, y)) return {};
  return {x, y, x + FColWidths[ACol], y + FRowHeights[ARow]};
}

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  int c, r;
  MouseToCell(X, Y, c, r);
  if (Button == TMouseButton::mbLeft && c >= FFixedCols && r >= FFixedRows) {
    FSelecting = true;
    MoveCurrent(c, r, (Shift & ssShift) != 0);
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y) {
  if (!(Shift & ssLeft)) FSelecting = false;
  if (FSelecting) {
    int c, r;
    MouseToCell(std::clamp(X, 0, ClientWidth() - 1), std::clamp(Y, 0, ClientHeight() - 1), c, r);
    MoveCurrent(DragTarget(X, ClientWidth(), c, FFixedCols, FLeftCol, VisibleColCount(), FColCount),
                DragTarget(Y, ClientHeight(), r, FFixedRows, FTopRow, VisibleRowCount(), FRowCount), true);
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == TMouseButton::mbLeft) FSelecting = false;
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TCustomGrid::ForEachVisibleCell(
    bool Focused, const std::function<void(int, int, const TRect&, TGridDrawState)>& Visit) const {
  auto shown = [](int fixed, int first, int count) {
    std::vector<int> out;
    for (int i = 0; i < fixed; ++i) out.push_back(i);
    for (int i = first; i < count; ++i) out.push_back(i);
    return out;
  };
  const std::vector<int> cols = shown(FFixedCols, FLeftCol, FColCount);
  for (int r : shown(FFixedRows, FTopRow, FRowCount)) {
    for (int c : cols) {
      TRect cell = CellRect(c, r);
      if (cell.Top >= ClientHeight()) return;
      if (cell.Left >= ClientWidth()) break;
      TGridDrawState state = 0;
      if (r < FFixedRows || c < FFixedCols) state |= gdFixed;
      else if (c >= FSelection.Left && c <= FSelection.Right && r >= FSelection.Top && r <= FSelection.Bottom)
        state |= gdSelected;
      if (Focused && c == FCol && r == FRow) state |= gdFocused;
      Visit(c, r, cell, state);
    }
  }
}

const TPropertyTable& TCustomGrid::PropertyTable() const {
  static const TPropertyTable Table(&TCustomControl::PropertyTable(), {
      {"ColCount", Setter<TCustomGrid>([](TCustomGrid& G, const TLayoutValue& V) {
         G.SetColCount(LayoutGridCount(V, G.RowCount()));
       })},
      {"RowCount", Setter<TCustomGrid>([](TCustomGrid& G, const TLayoutValue& V) {
         G.SetRowCount(LayoutGridCount(V, G.ColCount()));
       })},
      {"FixedCols", IntegerProperty(&TCustomGrid::SetFixedCols)},
      {"FixedRows", IntegerProperty(&TCustomGrid::SetFixedRows)},
      {"DefaultColWidth", IntegerProperty(&TCustomGrid::SetDefaultColWidth)},
      {"DefaultRowHeight", IntegerProperty(&TCustomGrid::SetDefaultRowHeight)},
      {"GridLineWidth", IntegerProperty(&TCustomGrid::SetGridLineWidth)},
      {"ColWidths", Setter<TCustomGrid>([](TCustomGrid& G, const TLayoutValue& V) {
         auto widths = V.AsIntegerList();
         for (size_t i = 0; i < widths.size(); ++i) G.SetColWidths(static_cast<int>(i), widths[i]);
       })},
      {"RowHeights", Setter<TCustomGrid>([](TCustomGrid& G, const TLayoutValue& V) {
         auto heights = V.AsIntegerList();
         for (size_t i = 0; i < heights.size(); ++i) G.SetRowHeights(static_cast<int>(i), heights[i]);
       })},
      {"Options", Setter<TCustomGrid>([](TCustomGrid& G, const TLayoutValue& V) {
         G.SetOptions(V.AsSet({{"goFixedVertLine", goFixedVertLine}, {"goFixedHorzLine", goFixedHorzLine},
                               {"goVertLine", goVertLine}, {"goHorzLine", goHorzLine},
                               {"goRangeSelect", goRangeSelect}, {"goDrawFocusSelected", goDrawFocusSelected},
                               {"goRowSizing", goRowSizing}, {"goColSizing", goColSizing},
                               {"goRowMoving", goRowMoving}, {"goColMoving", goColMoving},
                               {"goEditing", goEditing}, {"goTabs", goTabs}, {"goRowSelect", goRowSelect},
                               {"goAlwaysShowEditor", goAlwaysShowEditor}, {"goThumbTracking", goThumbTracking}}));
       })},
      {"ScrollBars", Setter<TCustomGrid>([](TCustomGrid& G, const TLayoutValue& V) {
         G.SetScrollBars(V.AsEnum<TScrollStyle>({{"ssNone", TScrollStyle::ssNone},
                                                 {"ssHorizontal", TScrollStyle::ssHorizontal},
                                                 {"ssVertical", TScrollStyle::ssVertical},
                                                 {"ssBoth", TScrollStyle::ssBoth}}));
       })},
  });
  return Table;
}

TDrawGrid::TDrawGrid(TComponent* AOwner) : TCustomGrid(AOwner) {
  FCanvas.SetDevice(&Backend::ScreenTextDevice());
}

void TDrawGrid::PaintCells(TCanvasDevice& Device, bool Focused) {
  if (!OnDrawCell) return;
  FCanvas.SetDevice(&Device);
  struct TDetach {
    TCanvas& Canvas;
    ~TDetach() { Canvas.SetDevice(&Backend::ScreenTextDevice()); }
  } detach{FCanvas};
  ForEachVisibleCell(Focused, [&](int c, int r, const TRect& rect, TGridDrawState state) {
    FCanvas.Font().Assign(Font());
    FCanvas.Brush().SetColor(state & gdFixed ? FixedColor() : Color());
    FCanvas.Brush().SetStyle(TBrushStyle::bsSolid);
    OnDrawCell(this, c, r, rect, state);
  });
}

bool TDrawGrid::SelectCell(int ACol, int ARow) {
  bool canSelect = true;
  if (OnSelectCell) OnSelectCell(this, ACol, ARow, canSelect);
  return canSelect;
}

const TPropertyTable& TDrawGrid::PropertyTable() const {
  static const TPropertyTable Table(&TCustomGrid::PropertyTable(), {
      {"OnDrawCell", EventProperty(&TDrawGrid::OnDrawCell)},
      {"OnSelectCell", EventProperty(&TDrawGrid::OnSelectCell)},
      {"OnTopLeftChanged", EventProperty(&TDrawGrid::OnTopLeftChanged)},
  });
  return Table;
}

TStringGrid::TStringGrid(TComponent* AOwner) : TDrawGrid(AOwner) {
  FRows.assign(RowCount(), std::vector<TCell>(ColCount()));
}

void TStringGrid::SetColCount(int Value) {
  TDrawGrid::SetColCount(Value);
  for (auto& row : FRows) row.resize(ColCount());
}

void TStringGrid::SetRowCount(int Value) {
  TDrawGrid::SetRowCount(Value);
  FRows.resize(RowCount(), std::vector<TCell>(ColCount()));
}

void TStringGrid::CheckCell(int ACol, int ARow) const {
  if (ACol < 0 || ACol >= ColCount()) throw EListError(IndexError(ACol));
  if (ARow < 0 || ARow >= RowCount()) throw EListError(IndexError(ARow));
}

const std::string& TStringGrid::Cells(int ACol, int ARow) const {
  CheckCell(ACol, ARow);
  return FRows[ARow][ACol].Text;
}

void TStringGrid::SetCells(int ACol, int ARow, const std::string& Value) {
  CheckCell(ACol, ARow);
  FRows[ARow][ACol].Text = Value;
  if (!RedrawLocked()) Changed(TPeerChange::Invalidate);
}

TObject* TStringGrid::Objects(int ACol, int ARow) const {
  CheckCell(ACol, ARow);
  return FRows[ARow][ACol].Object;
}

void TStringGrid::SetObjects(int ACol, int ARow, TObject* Value) {
  CheckCell(ACol, ARow);
  FRows[ARow][ACol].Object = Value;
}

// Grids: a table of cells with fixed heading rows and columns, scrolled by rows. The string
// grid keeps a text and an optional object per cell. The window is our own custom control.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "framework/Controls.h"

enum TGridOption : unsigned {
  goFixedVertLine = 1 << 0, goFixedHorzLine = 1 << 1, goVertLine = 1 << 2, goHorzLine = 1 << 3,
  goRangeSelect = 1 << 4, goDrawFocusSelected = 1 << 5, goRowSizing = 1 << 6, goColSizing = 1 << 7,
  goRowMoving = 1 << 8, goColMoving = 1 << 9, goEditing = 1 << 10, goTabs = 1 << 11,
  goRowSelect = 1 << 12, goAlwaysShowEditor = 1 << 13, goThumbTracking = 1 << 14,
};
using TGridOptions = unsigned;


// Raised where a grid is given fixed rows or columns that leave no scrollable one.
class EInvalidGridOperation : public Exception { using Exception::Exception; };

// What a grid's window shows in one cell: each kind of grid fills it from its own model.
struct TGridCellView {
  std::string Text;
  int Alignment = 0;     // 0 left, 1 right, 2 centred
  bool Emphasis = false; // bold: a total
  bool Selected = false; // highlighted whatever the current cell is
};

// How a cell is drawn: selected, the focused current cell, a fixed cell.
enum TGridDrawStateBit : unsigned { gdSelected = 1, gdFocused = 2, gdFixed = 4 };
using TGridDrawState = unsigned;

struct TGridRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TGridRect&) const = default;
};

class TCustomGrid : public TCustomControl {
public:
  explicit TCustomGrid(TComponent* AOwner);

  int ColCount() const { return FColCount; }
  virtual void SetColCount(int Value);
  int RowCount() const { return FRowCount; }
  virtual void SetRowCount(int Value);
  int FixedCols() const { return FFixedCols; }
  void SetFixedCols(int Value);
  int FixedRows() const { return FFixedRows; }
  void SetFixedRows(int Value);

  int DefaultColWidth() const { return FDefaultColWidth; }
  void SetDefaultColWidth(int Value);
  int DefaultRowHeight() const { return FDefaultRowHeight; }
  void SetDefaultRowHeight(int Value);
  int ColWidths(int Index) const;
  void SetColWidths(int Index, int Value);
  int RowHeights(int Index) const;
  void SetRowHeights(int Index, int Value);
  int GridLineWidth() const { return FGridLineWidth; }
  void SetGridLineWidth(int Value);

  TGridOptions Options() const { return FOptions; }
  void SetOptions(TGridOptions Value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  TColor FixedColor() const { return FFixedColor; }
  void SetFixedColor(TColor Value);

  // The current cell, and the selected block (a single cell unless rows are selected). Moving
  // to another cell, from code or by the user, asks SelectCell first, which may refuse it.
  int Col() const { return FCol; }
  void SetCol(int Value);
  int Row() const { return FRow; }
  virtual void SetRow(int Value);
  TGridRect Selection() const { return FSelection; }
  void SetSelection(const TGridRect& Value);
  // Makes (ACol, ARow) the current cell, scrolled into view. With Extend and range selection
  // the selection becomes the block between the anchor and that cell, as Shift with an arrow
  // key or a drag of the mouse makes it; otherwise the cell becomes the anchor of a new one.
  void MoveCurrent(int ACol, int ARow, bool Extend);

  // The first scrollable row and column shown below and beside the fixed ones.
  int TopRow() const { return FTopRow; }
  void SetTopRow(int Value);
  int LeftCol() const { return FLeftCol; }
  void SetLeftCol(int Value);
  // Whole scrollable rows (columns) that fit in the client area.
  int VisibleRowCount() const;
  int VisibleColCount() const;

  // The cell under a client point, or -1 for a coordinate outside every cell.
  void MouseToCell(int X, int Y, int& ACol, int& ARow) const;
  // The client rectangle of a visible cell, or an empty rectangle.
  TRect CellRect(int ACol, int ARow) const;

  const TPropertyTable& PropertyTable() const override;

  // What the window shows in a cell (0-based, fixed cells included).
  virtual TGridCellView CellView(int ACol, int ARow) const { return {}; }

  // Calls Visit for each cell the client area shows (fixed ones included), with its client
  // rectangle and how it is drawn; Focused tells whether the grid has the focus.
  void ForEachVisibleCell(bool Focused,
                          const std::function<void(int ACol, int ARow, const TRect& Rect, TGridDrawState State)>& Visit) const;

  // Input reported by the peer: the scroll bar moved.
  void PeerScrolled(int NewTopRow) { DispatchInput(this, [&] { SetTopRow(NewTopRow); }); }

protected:
  // Whether the cell may become the current one.
  virtual bool SelectCell(int /*ACol*/, int /*ARow*/) { return true; }
  // The first shown row or column changed.
  virtual void TopLeftChanged() {}
  std::unique_ptr<TControlPeer> CreatePeer() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Changed(TPeerChange What) { PeerNotify(What); }

private:
  int FColCount = 5, FRowCount = 5, FFixedCols = 1, FFixedRows = 1;
  int FDefaultColWidth = 64, FDefaultRowHeight = 24, FGridLineWidth = 1;
  std::vector<int> FColWidths, FRowHeights;
  TGridOptions FOptions = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;
  TScrollStyle FScrollBars = TScrollStyle::ssBoth;
  TColor FFixedColor = clBtnFace;
  int FCol = 1, FRow = 1, FTopRow = 1, FLeftCol = 1;
  TGridRect FSelection{1, 1, 1, 1};
  TPoint FAnchor{1, 1};        // the corner of the selection that stays while it grows
  bool FCellSelected = false;  // SelectCell already agreed to the move under way
  bool FSelecting = false;     // the left button went down on a cell and is still down

  void ClampPosition();
  // The selection: the block between the anchor and the current cell, whole rows with row select.
  void SpanSelection();
};

namespace Backend {
// Measures text in a font as the screen shows it (draws nothing).
TCanvasDevice& ScreenTextDevice();
}  // namespace Backend

using TDrawCellEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, const TRect& Rect, TGridDrawState State)>;
using TSelectCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;

// A grid whose cells the program draws: OnDrawCell paints each visible cell on Canvas over the
// grid's background and lines.
class TDrawGrid : public TCustomGrid {
public:
  explicit TDrawGrid(TComponent* AOwner);

  // The surface of the cell being painted; outside painting it measures text as the screen
  // shows it.
  TCanvas& Canvas() { return FCanvas; }
  // Paints the visible cells through OnDrawCell, with Canvas drawing on Device meanwhile.
  void PaintCells(TCanvasDevice& Device, bool Focused);

  TDrawCellEvent OnDrawCell;
  TSelectCellEvent OnSelectCell;
  TNotifyEvent OnTopLeftChanged;

  const TPropertyTable& PropertyTable() const override;

protected:
  bool SelectCell(int ACol, int ARow) override;
  void TopLeftChanged() override { if (OnTopLeftChanged) OnTopLeftChanged(this); }

private:
  TCanvas FCanvas;
};

class TStringGrid : public TDrawGrid {
public:
  explicit TStringGrid(TComponent* AOwner);

  const std::string& Cells(int ACol, int ARow) const;
  void SetCells(int ACol, int ARow, const std::string& Value);
  TObject* Objects(int ACol, int ARow) const;
  void SetObjects(int ACol, int ARow, TObject* Value);

  void SetColCount(int Value) override;
  void SetRowCount(int Value) override;
  TGridCellView CellView(int ACol, int ARow) const override { return {Cells(ACol, ARow)}; }

private:
  struct TCell {
    std::string Text;
    TObject* Object = nullptr;
  };
  // Rows of cells; a row is as wide as the grid.
  std::vector<std::vector<TCell>> FRows;

  void CheckCell(int ACol, int ARow) const;
};

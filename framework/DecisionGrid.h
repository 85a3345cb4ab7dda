// The cross-tab: a decision source sums values by row and column dimensions, and a decision
// grid shows those sums with headings, subtotals and totals. The grid is a grid, but not a
// string grid.
//
// Cells are addressed as the cross-tab sees them: data cells from (0, 0); the heading columns
// and rows at negative indices, from -FixedCols and -FixedRows. With R row dimensions and C
// column dimensions the grid has R + 1 fixed columns (the leftmost one is a blank margin, the
// others show the row dimensions' values) and C + 1 fixed rows (the top one holds the
// dimension names, the others the column dimensions' values).
#pragma once
#include <map>
#include <string>
#include <vector>

#include "framework/Grids.h"

// Bits of a cell's drawing state.
enum TDecisionDrawStateBit : unsigned {
  dsGroupStart = 1,  // the first line of a dimension value's group: the value is shown here
  dsHeading = 2,     // a heading cell, not a sum
  dsCaption = 4,     // the name of a dimension or of the summary
  dsSum = 8,         // on a subtotal or total line
};
using TDecisionDrawState = unsigned;

enum class TDimAxis { Rows, Columns };

class TDecisionSource;

// A dimension as the grid shows it. Subtotals: the lines that sum this dimension's values
// (within each group of the outer dimensions) are shown.
class TDisplayDim {
public:
  TDisplayDim(TDecisionSource& Source, std::string AName) : FSource(Source), FName(std::move(AName)) {}
  const std::string& Name() const { return FName; }
  bool Subtotals() const { return FSubtotals; }
  void SetSubtotals(bool Value);

private:
  TDecisionSource& FSource;
  std::string FName;
  bool FSubtotals = true;
};

class TCustomDecisionGrid;

// Sums of one value over the combinations of the row and column dimensions' values.
class TDecisionSource : public TComponent {
  friend class TCustomDecisionGrid;
  friend class TDisplayDim;

public:
  explicit TDecisionSource(TComponent* AOwner) : TComponent(AOwner) {}
  ~TDecisionSource() override;

  // Names the dimensions and the summary; forgets the values added so far.
  void SetDimensions(const std::vector<std::string>& RowDims, const std::vector<std::string>& ColDims,
                     const std::string& SummaryName);
  int DimCount(TDimAxis Axis) const { return static_cast<int>(Dims(Axis).size()); }
  // EListError outside the axis' dimensions.
  TDisplayDim& Dimension(TDimAxis Axis, int Index);
  const std::string& SummaryName() const { return FSummaryName; }

  // Adds a value under one value of each dimension (as many keys as the axis has dimensions;
  // EListError otherwise).
  void AddValue(const std::vector<std::string>& RowKeys, const std::vector<std::string>& ColKeys, double Value);
  void ClearValues();

private:
  // One line of an axis: a combination of values, or a total line where dimension Level and
  // every inner one are summed (Level = the number of dimensions for an ordinary line).
  struct TLine {
    std::vector<std::string> Keys;
    int Level;
  };
  struct TAxis {
    std::vector<TDisplayDim> Dims;
    std::vector<TLine> Lines;
  };

  TAxis FRows, FCols;
  std::string FSummaryName;
  std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>> FKeys;
  std::vector<double> FValues;
  std::map<std::pair<std::string, std::string>, double> FSums;
  std::vector<TCustomDecisionGrid*> FGrids;

  const std::vector<TDisplayDim>& Dims(TDimAxis Axis) const { return Axis == TDimAxis::Rows ? FRows.Dims : FCols.Dims; }
  void Rebuild();
  void BuildLines(TAxis& Axis, int Side);
  static std::string PrefixKey(const std::vector<std::string>& Keys, int Length);
  void Changed();
};

class TCustomDecisionGrid : public TCustomGrid {
  friend class TDecisionSource;

public:
  explicit TCustomDecisionGrid(TComponent* AOwner);
  ~TCustomDecisionGrid() override;

  TDecisionSource* DecisionSource() const { return FSource; }
  void SetDecisionSource(TDecisionSource* Value);

  // The text and drawing state of a cell in cross-tab coordinates; false (empty text, no
  // state) outside the grid.
  bool CellInfo(int ACol, int ARow, std::string& Text, TDecisionDrawState& State) const;
  std::string Cells(int ACol, int ARow) const;

  TGridCellView CellView(int ACol, int ARow) const override;
  const TPropertyTable& PropertyTable() const override;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TDecisionSource* FSource = nullptr;

  void SourceChanged();
  void HeadingCell(const TDecisionSource::TAxis& Axis, int Line, int Dim, std::string& Text,
                   TDecisionDrawState& State) const;
};

class TDecisionGrid : public TCustomDecisionGrid {
public:
  using TCustomDecisionGrid::TCustomDecisionGrid;
};

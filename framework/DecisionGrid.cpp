#include "framework/DecisionGrid.h"

#include <algorithm>
#include <set>

#include "framework/Layout.h"
#include "framework/PropertyTable.h"
#include "framework/rtl/SysUtils.h"

namespace {
const char* const TotalCaption = "Total";
constexpr int HeadingWidth = 90;
}

void TDisplayDim::SetSubtotals(bool Value) {
  if (FSubtotals == Value) return;
  FSubtotals = Value;
  FSource.Changed();
}

// ---------------------------------------------------------------------------------------------
// TDecisionSource

TDecisionSource::~TDecisionSource() {
  auto grids = FGrids;
  for (TCustomDecisionGrid* g : grids) g->SetDecisionSource(nullptr);
}

void TDecisionSource::SetDimensions(const std::vector<std::string>& RowDims,
                                    const std::vector<std::string>& ColDims, const std::string& SummaryName) {
  FRows.Dims.clear();
  FCols.Dims.clear();
  for (auto& n : RowDims) FRows.Dims.emplace_back(*this, n);
  for (auto& n : ColDims) FCols.Dims.emplace_back(*this, n);
  FSummaryName = SummaryName;
  FKeys.clear();
  FValues.clear();
  Changed();
}

TDisplayDim& TDecisionSource::Dimension(TDimAxis Axis, int Index) {
  auto& dims = Axis == TDimAxis::Rows ? FRows.Dims : FCols.Dims;
  if (Index < 0 || Index >= static_cast<int>(dims.size()))
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return dims[Index];
}

void TDecisionSource::AddValue(const std::vector<std::string>& RowKeys, const std::vector<std::string>& ColKeys,
                               double Value) {
  if (RowKeys.size() != FRows.Dims.size() || ColKeys.size() != FCols.Dims.size())
    throw EListError("One value per dimension is needed");
  FKeys.emplace_back(RowKeys, ColKeys);
  FValues.push_back(Value);
  Changed();
}

void TDecisionSource::ClearValues() {
  FKeys.clear();
  FValues.clear();
  Changed();
}

std::string TDecisionSource::PrefixKey(const std::vector<std::string>& Keys, int Length) {
  std::string key = std::to_string(Length);
  for (int i = 0; i < Length; ++i) key += '\x1f' + Keys[i];
  return key;
}

// The lines of one axis: every combination of values in order, each group of an outer
// dimension followed by its subtotal lines, the grand total last.
void TDecisionSource::BuildLines(TAxis& Axis, int Side) {
  int depth = static_cast<int>(Axis.Dims.size());
  auto less = [](const std::vector<std::string>& a, const std::vector<std::string>& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](auto& x, auto& y) { return AnsiCompareText(x, y) < 0; });
  };
  std::set<std::vector<std::string>, decltype(less)> combos(less);
  for (auto& keys : FKeys) combos.insert(Side == 0 ? keys.first : keys.second);
  Axis.Lines.clear();
  if (depth == 0) {
    Axis.Lines.push_back({{}, 0});
    return;
  }
  std::vector<std::vector<std::string>> ordered(combos.begin(), combos.end());
  for (size_t i = 0; i < ordered.size(); ++i) {
    Axis.Lines.push_back({ordered[i], depth});
    // Groups that end here close from the innermost outwards.
    for (int level = depth - 1; level >= 0; --level) {
      bool closes = i + 1 == ordered.size() ||
                    !std::equal(ordered[i].begin(), ordered[i].begin() + level, ordered[i + 1].begin(),
                                [](auto& x, auto& y) { return AnsiCompareText(x, y) == 0; });
      if (closes && Axis.Dims[level].Subtotals()) Axis.Lines.push_back({ordered[i], level});
    }
  }
}

void TDecisionSource::Rebuild() {
  BuildLines(FRows, 0);
  BuildLines(FCols, 1);
  FSums.clear();
  int rows = static_cast<int>(FRows.Dims.size()), cols = static_cast<int>(FCols.Dims.size());
  for (size_t i = 0; i < FValues.size(); ++i)
    for (int p = 0; p <= rows; ++p)
      for (int q = 0; q <= cols; ++q)
        FSums[{UpperCase(PrefixKey(FKeys[i].first, p)), UpperCase(PrefixKey(FKeys[i].second, q))}] += FValues[i];
}

void TDecisionSource::Changed() {
  Rebuild();
  for (TCustomDecisionGrid* g : FGrids) g->SourceChanged();
}

// ---------------------------------------------------------------------------------------------
// TCustomDecisionGrid

TCustomDecisionGrid::TCustomDecisionGrid(TComponent* AOwner) : TCustomGrid(AOwner) {
  SourceChanged();
}

TCustomDecisionGrid::~TCustomDecisionGrid() {
  Destroying();
  SetDecisionSource(nullptr);
}

void TCustomDecisionGrid::SetDecisionSource(TDecisionSource* Value) {
  if (Value == FSource) return;
  if (FSource) {
    std::erase(FSource->FGrids, this);
    FSource->RemoveFreeNotification(this);
    RemoveFreeNotification(FSource);
  }
  FSource = Value;
  if (FSource) {
    FSource->FGrids.push_back(this);
    FSource->FreeNotification(this);
  }
  if (!IsDestroying()) SourceChanged();
}

void TCustomDecisionGrid::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomGrid::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove && AComponent == FSource) {
    FSource = nullptr;
    SourceChanged();
  }
}

void TCustomDecisionGrid::SourceChanged() {
  int rowDims = FSource ? FSource->DimCount(TDimAxis::Rows) : 0;
  int colDims = FSource ? FSource->DimCount(TDimAxis::Columns) : 0;
  int rowLines = FSource ? static_cast<int>(FSource->FRows.Lines.size()) : 0;
  int colLines = FSource ? static_cast<int>(FSource->FCols.Lines.size()) : 0;
  SetColCount(rowDims + 1 + std::max(1, colLines));
  SetRowCount(colDims + 1 + std::max(1, rowLines));
  if (FixedCols() != rowDims + 1) SetFixedCols(rowDims + 1);
  if (FixedRows() != colDims + 1) SetFixedRows(colDims + 1);
  SetColWidths(0, 12);
  for (int c = 1; c < FixedCols(); ++c) SetColWidths(c, HeadingWidth);
  Invalidate();
}

void TCustomDecisionGrid::HeadingCell(const TDecisionSource::TAxis& Axis, int Line, int Dim, std::string& Text,
                                      TDecisionDrawState& State) const {
  const auto& line = Axis.Lines[Line];
  State = dsHeading;
  if (line.Level < static_cast<int>(Axis.Dims.size())) {
    // A total line: "Total" under the dimension it sums, and every cell from there inward
    // belongs to the total.
    if (Dim >= line.Level) State |= dsSum;
    if (Dim == line.Level) Text = TotalCaption;
    return;
  }
  // An ordinary line shows a value where its group starts.
  bool starts = Line == 0;
  for (int l = Line - 1; l >= 0 && !starts; --l) {
    const auto& before = Axis.Lines[l];
    if (before.Level < static_cast<int>(Axis.Dims.size())) continue;
    starts = !std::equal(line.Keys.begin(), line.Keys.begin() + Dim + 1, before.Keys.begin(),
                         [](auto& x, auto& y) { return AnsiCompareText(x, y) == 0; });
    break;
  }
  if (!starts) return;
  State |= dsGroupStart;
  Text = line.Keys[Dim];
}

bool TCustomDecisionGrid::CellInfo(int ACol, int ARow, std::string& Text, TDecisionDrawState& State) const {
  Text.clear();
  State = 0;
  if (ACol < -FixedCols() || ACol > ColCount() - FixedCols() - 1 || ARow < -FixedRows() ||
      ARow > RowCount() - FixedRows() - 1)
    return false;
  if (!FSource) return true;
  const auto& rows = FSource->FRows;
  const auto& cols = FSource->FCols;
  int rowDims = static_cast<int>(rows.Dims.size()), colDims = static_cast<int>(cols.Dims.size());
  bool rowLine = ARow >= 0 && ARow < static_cast<int>(rows.Lines.size());
  bool colLine = ACol >= 0 && ACol < static_cast<int>(cols.Lines.size());
  if (ACol == -FixedCols()) {
    State = dsHeading;
  } else if (ARow == -FixedRows()) {
    // The top row names the row dimensions over their headings and the summary over the sums.
    State = dsHeading | dsCaption;
    if (ACol < 0) Text = rows.Dims[rowDims + ACol].Name();
    else if (ACol == 0) Text = FSource->SummaryName();
  } else if (ARow < 0) {
    int dim = colDims + ARow;
    if (ACol == -1) {
      State = dsHeading | dsCaption;
      Text = cols.Dims[dim].Name();
    } else if (ACol < 0) {
      State = dsHeading;
    } else if (colLine) {
      HeadingCell(cols, ACol, dim, Text, State);
    }
  } else if (ACol < 0) {
    if (rowLine) HeadingCell(rows, ARow, rowDims + ACol, Text, State);
  } else if (rowLine && colLine) {
    const auto& r = rows.Lines[ARow];
    const auto& c = cols.Lines[ACol];
    if (r.Level < rowDims || c.Level < colDims) State = dsSum;
    auto it = FSource->FSums.find({UpperCase(TDecisionSource::PrefixKey(r.Keys, r.Level)),
                                   UpperCase(TDecisionSource::PrefixKey(c.Keys, c.Level))});
    if (it != FSource->FSums.end()) Text = FloatToStr(it->second);
  }
  return true;
}

std::string TCustomDecisionGrid::Cells(int ACol, int ARow) const {
  std::string text;
  TDecisionDrawState state;
  CellInfo(ACol, ARow, text, state);
  return text;
}

TGridCellView TCustomDecisionGrid::CellView(int ACol, int ARow) const {
  TGridCellView view;
  TDecisionDrawState state;
  CellInfo(ACol - FixedCols(), ARow - FixedRows(), view.Text, state);
  view.Alignment = state & dsHeading ? 0 : 1;
  view.Emphasis = (state & dsSum) != 0;
  return view;
}

const TPropertyTable& TCustomDecisionGrid::PropertyTable() const {
  static const TPropertyTable Table(&TCustomGrid::PropertyTable(), {
      {"DecisionSource", ReferenceProperty(&TCustomDecisionGrid::SetDecisionSource, "a decision source")},
  });
  return Table;
}

// A decision grid (cross-tab): its cells on every line, totals included, its heading columns
// as the report's group-break columns, and its own dimension test deciding which rows and
// columns print. It has no position to keep.
#include "engine/VLMXGbl/RowSources.h"
#include "engine/VLMXUtil.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/DB.h"
#include "framework/DecisionGrid.h"
#include "framework/rtl/SysUtils.h"

namespace {

class TDecisionGridRows : public TRowSource {
public:
  TDecisionGridRows(TObjInfo& Info, TComponent* Object) : TRowSource(Info), FGrid(As<TDecisionGrid>(Object)) {}

  void Setup() override {
    Info.DecisionGrid = FGrid;
    Info.ColCount = FGrid->ColCount() - 1;
    Info.RowCount = FGrid->RowCount();
    Info.HasHeaderRow = true;
    Info.FixedRows = FGrid->FixedRows();
    Info.FixedCols = FGrid->FixedCols() - 1;
    Info.CurCell = {0, 0};
    Info.Origin = {-Info.FixedCols, -Info.FixedRows};
    Info.Settings().NumGrpBrkCols = Info.FixedCols;
    Info.Settings().AdjGrpBrkLines = Info.FixedCols - 1;
  }

  bool First() override {
    if (Info.ColCount < 1 || Info.RowCount < 1) {
      Info.CurCell = {-99, -99};
      return false;
    }
    CountRow(Info, 1);
    Info.CurCell = {0, 0};
    return true;
  }

  bool Move(int /*Band*/, bool ToLast) override {
    int& Row = Info.CurCell.Y;
    const int DataRows = FGrid->RowCount() - Info.FixedRows;
    if (ToLast) {
      Row = DataRows - 1;
      return DataRows > 0;
    }
    while (Row < DataRows - 1) {
      ++Row;
      if (IsDecisionGridTotalCell(FGrid, Info.CurCell, true)) return true;
    }
    return false;
  }

  bool RowShown(int Row) const override { return IsDecisionGridTotalCell(FGrid, TPoint{0, Row}, true); }
  bool RowAtCursor() const override { return Info.RowCount >= 1 && Info.ColCount >= 1; }

  bool ColumnDef(int Index, TColDef& Def) const override {
    Def.Name = IntToStr(Index);
    Def.FieldIndex = Index;
    Def.DataType = Index >= 0 ? ftInteger : ftString;
    Def.Kind = ckGridCol;
    Def.Alignment = Index >= 0 ? 1 : 0;
    return true;
  }

  // The dimension test, never HideColumns; the line-number column never prints.
  std::optional<bool> ColumnChoice(const std::string& Name) const override {
    if (Name == LineNoColName) return false;
    int Index = 0;
    if (!TryStrToInt(Name, Index)) return false;
    return IsDecisionGridTotalCell(FGrid, TPoint{Index, 0}, false);
  }

  bool MeasuresText() const override { return true; }

  void ReadText(int /*Level*/, const TColsListData& Column, bool /*RealData*/, std::string& Text,
                TField*& /*Field*/) override {
    Text = FGrid->Cells(Column.SourceColNdx, Info.CurCell.Y);
  }

  bool HasOwnTotals() const override { return true; }

private:
  TDecisionGrid* FGrid;
};

}  // namespace

std::unique_ptr<TRowSource> MakeDecisionGridRows(TObjInfo& Info, TComponent* Object) {
  return std::make_unique<TDecisionGridRows>(Info, Object);
}

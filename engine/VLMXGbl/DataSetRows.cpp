// The database kinds: a table, a query or another dataset printed as it stands, and the DB
// grids, whose columns, titles, widths and selected rows come from the grid over a dataset.
// Either way the rows are the dataset's records and the position is its bookmark.
#include <algorithm>

#include "engine/VLMXGbl0.h"
#include "engine/VLMXGbl/RowSources.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/DBGrids.h"
#include "framework/DBTables.h"

namespace {

// The column of Field, named Name: only a visible field is printed.
bool FieldColDef(const TField* Field, const std::string& Name, int Kind, TColDef& Def) {
  if (!Field || !Field->Visible()) return false;
  Def.Name = Name;
  Def.Kind = Kind;
  Def.FieldIndex = Field->Index();
  Def.DataType = Field->DataType();
  Def.Size = Field->Size();
  Def.Alignment = static_cast<int>(Field->Alignment());
  return true;
}

class TDataSetRows : public TRowSource {
public:
  TDataSetRows(TObjInfo& Info, TComponent* Object) : TRowSource(Info), FObject(Object) {}

  void Setup() override {
    TDataSet* DataSet = As<TDataSet>(FObject);
    Info.DataSet = DataSet;
    Info.OpenDataSet(Info.ObjectName, DataSet);
    Info.ColCount = DataSet->FieldCount();
    Info.FixedRows = 1;
  }

  void CountRecords() override {
    if (Info.DataSet)
      Info.RowCount = Info.Settings().CountNumRcds ? Info.DataSet->RecordCount()
                                                   : std::max(Info.Settings().RcdEstimate, 9);
  }

  bool First() override {
    Info.CurCell = {0, 0};
    // The row count of an uncounted dataset is an estimate: only the dataset knows whether
    // it holds a record at all.
    if (Info.RowCount < 1 || Info.DataSet->IsEmpty()) return false;
    if (PrintsCurrentPage(Info)) {
      Info.SavedPosn->Restore();
    } else if (HasSelection() && PrintsSelectedOnly(Info)) {
      // Every picked record may be gone since: no row, and none counted.
      if (!NextSelected()) return false;
    } else {
      Info.DataSet->First();
    }
    CountRow(Info, 1);
    return true;
  }

  bool Move(int Band, bool ToLast) override {
    // Titles and totals lines stay on the record.
    if (Band != bnData) return true;
    Info.CurCell = {0, Info.CurCell.Y + 1};
    if (PrintsSelectedOnly(Info) && HasSelection()) return NextSelected();
    if (ToLast) Info.DataSet->Last();
    else Info.DataSet->Next();
    return !Info.DataSet->Eof();
  }

  bool RowAtCursor() const override { return Info.DataSet && !Info.DataSet->IsEmpty(); }
  bool IsDatabase() const override { return true; }
  bool MeasuresText() const override { return true; }

  bool ColumnDef(int Index, TColDef& Def) const override {
    const TField* Field = Info.DataSet->Fields(Index);
    return Field && FieldColDef(Field, Field->FieldName(), ckField, Def);
  }

  std::string SortFields() const override {
    if (auto* Table = As<TTable>(FObject)) {
      std::string Names = Table->IndexFieldNames();
      std::replace(Names.begin(), Names.end(), ';', ',');
      return Names;
    }
    if (auto* Query = As<TQuery>(FObject)) return TSQLParse::GetOrderBy(Query->SQL());
    return "";
  }

  void ReadText(int Level, const TColsListData& Column, bool RealData, std::string& Text,
                TField*& Field) override {
    if (Level == bnTitles) {
      Text = Title(Column);
      return;
    }
    if (!RealData) {
      const TField* Sample = Info.DataSet->Fields(Column.FieldNdx);
      Info.FieldTypeSample(Sample->DataType(), Sample->DataSize(), Text);
      return;
    }
    Field = ColumnField(Column);
    if (!Field) return;
    if (Column.DataType == ftMemo) Text = Field->AsString();
    else Text = Info.FieldFormatOn ? Field->DisplayText() : Field->Text();
    Info.FieldInfo->FieldNull = Field->IsNull();
  }

protected:
  virtual std::string Title(const TColsListData& Column) const {
    return Info.DataSet->Fields(Column.FieldNdx)->DisplayLabel();
  }
  // The record's field behind Column, or nullptr.
  virtual TField* ColumnField(const TColsListData& Column) const {
    return Info.DataSet->Fields(Column.FieldNdx);
  }

  TComponent* FObject;
};

class TDBGridRows : public TDataSetRows {
public:
  TDBGridRows(TObjInfo& Info, TComponent* Object)
      : TDataSetRows(Info, Object), FGrid(As<TCustomDBGrid>(Object)) {}

  void Setup() override {
    if (auto* Grid = As<TDBGrid>(FGrid)) Info.DBGrid = Grid;
    else Info.OtherDBGrid = FGrid;
    const std::string Where = "Object:" + Info.ObjectName + "\r\r";
    TDataSource* Source = FGrid->DataSource();
    if (!Source) throw eVlxSUError(Where + "DataSource property is missing");
    if (!Source->DataSet()) throw eVlxSUError(Where + Source->Name() + " is missing the DataSet property");
    Info.DataSet = Source->DataSet();
    Info.OpenDataSet(Info.ObjectName, Info.DataSet);
    Info.ColCount = FGrid->FieldCount();
    Info.FixedRows = 1;
  }

  bool HasSelection() const override { return true; }
  int CountSelected() override { return FGrid->SelectedRows().Count(); }

  bool NextSelected() override {
    TBookmarkList& Rows = FGrid->SelectedRows();
    int& Cursor = Info.SelRowNdx;
    bool Found = false;
    while (!Found && Cursor <= Rows.Count() - 1) {
      // A picked record deleted since is skipped.
      try {
        Info.DataSet->SetBookmark(Rows[Cursor]);
        Found = true;
      } catch (const EDBEngineError&) {
      }
      ++Cursor;
    }
    return Found;
  }

  bool MeasuresText() const override { return false; }

  bool ColumnDef(int Index, TColDef& Def) const override {
    const TColumn* GridCol = ShownColumn(Index);
    return GridCol && FieldColDef(GridCol->Field(), GridCol->FieldName(), ckGridCol, Def);
  }

  // The grid's dataset keeps its own separators.
  std::string SortFields() const override {
    TDataSource* Link = FGrid->DataSource();
    TDataSet* Source = Link ? Link->DataSet() : nullptr;
    if (auto* Table = As<TTable>(Source)) return Table->IndexFieldNames();
    if (auto* Query = As<TQuery>(Source)) return TSQLParse::GetOrderBy(Query->SQL());
    return "";
  }

  int ControlColWidth(int Source) const override {
    const TColumn* Column = ShownColumn(Source);
    return Column ? Column->Width() : 0;
  }

protected:
  std::string Title(const TColsListData& Column) const override {
    const TColumn* GridCol = ShownColumn(Column.SourceColNdx);
    return GridCol ? GridCol->Title().Caption() : "";
  }
  TField* ColumnField(const TColsListData& Column) const override {
    const TColumn* GridCol = ShownColumn(Column.SourceColNdx);
    return GridCol ? GridCol->Field() : nullptr;
  }

private:
  TCustomDBGrid* FGrid;

  // The grid's columns are counted as its fields are: the shown ones bound to a field, in
  // their order. A column the user hid is not one of them, nor does it push a later one out.
  const TColumn* ShownColumn(int Index) const {
    const TDBGridColumns& Columns = FGrid->Columns();
    for (int I = 0; I < Columns.Count() && Index >= 0; ++I) {
      const TColumn* Column = Columns.Items(I);
      if (!Column->Visible() || !Column->Field()) continue;
      if (Index-- == 0) return Column;
    }
    return nullptr;
  }
};

}  // namespace

std::unique_ptr<TRowSource> MakeDataSetRows(TObjInfo& Info, TComponent* Object) {
  return std::make_unique<TDataSetRows>(Info, Object);
}

std::unique_ptr<TRowSource> MakeDBGridRows(TObjInfo& Info, TComponent* Object) {
  return std::make_unique<TDBGridRows>(Info, Object);
}

// The table of printable kinds, and the walk that the in-memory objects share.
#include "engine/VLMXGbl/RowSources.h"

#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/ComCtrls.h"
#include "framework/DBGrids.h"
#include "framework/DBTables.h"
#include "framework/DecisionGrid.h"
#include "framework/Grids.h"
#include "framework/StdCtrls.h"
#include "framework/rtl/SysUtils.h"

namespace {

template <class T>
bool IsA(const TComponent* C) {
  return Is<T>(C);
}

// In the order the classes are tested: the first that matches decides, so a class comes
// before the classes it derives from.
const TPrintableKind PrintableKinds[] = {
    {otTable, 1, IsA<TTable>, MakeDataSetRows},
    {otQuery, 3, IsA<TQuery>, MakeDataSetRows},
    {otDBGrid, 9, IsA<TDBGrid>, MakeDBGridRows},
    {otOtherDBGrid, 8, IsA<TCustomDBGrid>, MakeDBGridRows},
    {otListBox, 5, IsA<TCustomListBox>, MakeListBoxRows},
    {otStringGrid, 6, IsA<TStringGrid>, MakeStringGridRows},
    {otListView, 7, IsA<TListView>, MakeListViewRows},
    {otDecisionGrid, 16, IsA<TDecisionGrid>, MakeDecisionGridRows},
    {otDataSet, 0, IsA<TDataSet>, MakeDataSetRows},
};

class TNoRows : public TRowSource {
public:
  using TRowSource::TRowSource;
  void Setup() override {}
  bool First() override { return false; }
  bool Move(int, bool) override { return false; }
  bool ColumnDef(int, TColDef&) const override { return false; }
  void ReadText(int, const TColsListData&, bool, std::string&, TField*&) override {}
};

}  // namespace

std::unique_ptr<TRowSource> MakeNoRows(TObjInfo& Info) { return std::make_unique<TNoRows>(Info); }

const TPrintableKind* PrintableKindOf(const TComponent* C) {
  if (!C) return nullptr;
  for (const TPrintableKind& Kind : PrintableKinds)
    if (Kind.Matches(C)) return &Kind;
  return nullptr;
}

bool PrintsCurrentPage(const TObjInfo& Info) { return Info.Settings().PrintWhat == pwCurrentPage; }
bool PrintsSelectedOnly(const TObjInfo& Info) { return Info.State().SelectedRowsOnly; }

void CountRow(const TObjInfo& Info, int Delta) { Info.State().RecordCounter += Delta; }

void TRowSource::SavePosn(TObjPosn& Posn) const {
  if (Posn.DataSet) Posn.Bookmark = Posn.DataSet->Bookmark();
}

void TRowSource::RestorePosn(const TObjPosn& Posn) {
  TDataSet* DataSet = Posn.DataSet;
  if (DataSet && DataSet->Active() && DataSet->BookmarkValid(Posn.Bookmark))
    DataSet->SetBookmark(Posn.Bookmark);
}

bool TRowSource::RowAtCursor() const { return Info.CurCell.Y >= 0 && Info.CurCell.Y < Info.RowCount; }

bool TMemoryRows::First() {
  bool Found = Info.RowCount >= 1;
  if (Found) Found = PrintsSelectedOnly(Info) ? NextSelected() : StartRow();
  if (Found) {
    CountRow(Info, 1);
  } else {
    Info.CurCell = {-1, -1};
    NoRow();
  }
  return Found;
}

bool TMemoryRows::Move(int Band, bool ToLast) {
  int& Row = Info.CurCell.Y;
  bool Found = false;
  // The selection picks data rows: the title rows above it are walked as they stand, and a
  // walk through them leaves the selection's cursor on the next data row to print.
  if (Band == bnData && PrintsSelectedOnly(Info) && (SelectionBeforeLast() || !ToLast)) {
    Found = NextSelected();
  } else if (ToLast) {
    Found = Info.RowCount > 0;
    Row = Info.RowCount - 1;
  } else {
    Found = Row < Info.RowCount - 1;
    if (Found) ++Row;
  }
  if (Found) RowTaken(Row);
  return Found;
}

bool TMemoryRows::ColumnDef(int Index, TColDef& Def) const {
  Def.Name = "Col#" + IntToStr(Index);
  Def.FieldIndex = Index;
  Def.Kind = ckGridCol;
  return true;
}

void TMemoryRows::SavePosn(TObjPosn& Posn) const { Posn.Cell = Info.CurCell; }

void TMemoryRows::RestorePosn(const TObjPosn& Posn) { Info.CurCell = Posn.Cell; }

// Walking the printed object's rows: the first row to print, the next one, the selected rows,
// and the host's filter, which may skip a row or end the report.
#include "engine/VLMXUtil.h"
#include <algorithm>

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/RptStyles.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/ComCtrls.h"
#include "framework/DBGrids.h"
#include "framework/DecisionGrid.h"
#include "framework/Grids.h"
#include "framework/StdCtrls.h"

namespace {

TPrintWhat PrintWhat() { return RptSettings ? RptSettings->PrintWhat : pwAll; }
bool SelectedOnly() { return PrintSettings && PrintSettings->SelectedRowsOnly; }

void CountRow(int Delta) {
  if (PrintSettings) PrintSettings->RecordCounter += Delta;
}

void ClearSelRows() {
  if (PrintSettings) PrintSettings->ClearSelRows();
}

}  // namespace

bool TObjInfo::FilterAccepts(bool& Terminate) {
  bool Accept = true;
  OnFilterRecord(Component, DataSet, CurCell.Y, Accept, Terminate);
  return Accept;
}

bool TObjInfo::First() {
  // A walk that starts is not at its end: a flag left from an earlier walk must not reach the
  // filter as an order to stop.
  EndOfRows = false;
  if (SelectedOnly()) SelRowNdx = 0;
  bool Found = false;
  if (IsDatabaseKind()) {
    CurCell = {0, 0};
    // The row count of an uncounted dataset is an estimate: only the dataset knows whether
    // it holds a record at all.
    Found = RowCount >= 1 && !DataSet->IsEmpty();
    if (Found) {
      CountRow(1);
      if (PrintWhat() == pwCurrentPage) SavedPosn->Restore();
      else if (IsDBGridKind() && SelectedOnly()) Found = NextSelected();
      else DataSet->First();
    }
  } else if (ObjType == otListBox || ObjType == otStringGrid || ObjType == otListView) {
    Found = RowCount >= 1;
    if (Found) {
      CountRow(1);
      if (SelectedOnly()) {
        Found = NextSelected();
      } else if (ObjType == otListBox) {
        // No current line reads as the first one rather than as a row before the list.
        CurCell = {0, PrintWhat() == pwCurrentPage ? std::max(ListBox->ItemIndex(), 0) : 0};
      } else if (ObjType == otStringGrid) {
        CurCell = {StringGrid->FixedCols(),
                   PrintWhat() == pwCurrentPage ? StringGrid->TopRow() : StringGrid->FixedRows()};
        // A grid holding only its title rows has no row to print.
        Found = CurCell.Y < RowCount;
      } else {
        CurListItem = ListView->Items().Count() > 0 ? ListView->Items()[0] : nullptr;
        if (CurListItem) CurCell = {0, CurListItem->Index()};
        Found = CurListItem != nullptr;
      }
    }
    if (!Found) {
      CurCell = {-1, -1};
      if (ObjType == otListView) CurListItem = nullptr;
    }
  } else if (IsDecisionGrid()) {
    Found = ColCount >= 1 && RowCount >= 1;
    if (Found) {
      CountRow(1);
      CurCell = {0, 0};
    } else {
      CurCell = {-99, -99};
    }
  }
  ClearSelRows();
  if (Found && OnFilterRecord) {
    bool Terminate = EndOfRows;
    const bool Accept = FilterAccepts(Terminate);
    if (Terminate) {
      CountRow(-1);
      Found = false;
    } else if (!Accept) {
      CountRow(-1);
      // No row has been emitted yet: moving past rejected rows does not count as one.
      const int RowNdx = RptStyles ? RptStyles->BandInfo[2].RowNdx : 0;
      Next(2, false);
      if (RptStyles) RptStyles->BandInfo[2].RowNdx = RowNdx;
      Found = !EndOfRows;
    }
  }
  EndOfRows = !Found;
  return Found;
}

void TObjInfo::Next(int Band, bool ToLast) {
  for (;;) {
    ScrollOwnerData();
    if (Band == 2 && PrintSettings) PrintSettings->GrpLevel = -1;
    bool Found = false;
    int& Row = CurCell.Y;
    if (IsDatabaseKind()) {
      if (Band == 2) {
        CurCell = {0, Row + 1};
        if (SelectedOnly() && HasSelection()) {
          Found = NextSelected();
        } else {
          if (ToLast) DataSet->Last();
          else DataSet->Next();
          Found = !DataSet->Eof();
        }
      } else {
        Found = true;
      }
    } else if (ObjType == otListBox || ObjType == otStringGrid || ObjType == otListView) {
      // The list box honours its selection before the move to the last row; the grids after.
      const bool UseSelection = SelectedOnly() && (ObjType == otListBox || !ToLast);
      if (UseSelection) {
        Found = NextSelected();
      } else if (ToLast) {
        Found = RowCount > 0;
        Row = RowCount - 1;
      } else {
        Found = Row < RowCount - 1;
        if (Found) ++Row;
      }
      if (Found && ObjType == otListView) CurListItem = ListView->Items()[Row];
    } else if (IsDecisionGrid()) {
      const int DataRows = DecisionGrid->RowCount() - FixedRows;
      if (ToLast) {
        Found = DataRows > 0;
        Row = DataRows - 1;
      } else {
        while (!Found && Row < DataRows - 1) {
          ++Row;
          Found = IsDecisionGridTotalCell(DecisionGrid, CurCell, true);
        }
      }
    }
    if (Band == 2) ClearSelRows();
    EndOfRows = !Found;
    if (Found) Found = DGColVisible(Row);
    if (Found && Band == 2 && OnFilterRecord) {
      bool Terminate = EndOfRows;
      Found = FilterAccepts(Terminate);
      // A row the host stopped at is not printed.
      if (Terminate) {
        EndOfRows = true;
        Found = false;
      }
    }
    if (Found || EndOfRows) {
      if (RptStyles) ++RptStyles->BandInfo[Band].RowNdx;
      if (Found && !(PrintSettings && PrintSettings->GrpHdrRow)) CountRow(1);
      return;
    }
    // The last row was rejected: there is nothing after it.
    ToLast = false;
  }
}

bool TObjInfo::NextSelected() {
  bool Found = false;
  if (IsDBGridKind()) {
    TCustomDBGrid* Grid = DBGrid ? static_cast<TCustomDBGrid*>(DBGrid) : OtherDBGrid;
    TBookmarkList& Rows = Grid->SelectedRows();
    while (!Found && SelRowNdx <= Rows.Count() - 1) {
      // A picked record deleted since is skipped.
      try {
        DataSet->SetBookmark(Rows[SelRowNdx]);
        Found = true;
      } catch (const EDBEngineError&) {
      }
      ++SelRowNdx;
    }
  } else if (ObjType == otListBox) {
    for (int I = SelRowNdx; I < ListBox->ItemCount(); ++I)
      if (ListBox->Selected(I)) {
        CurCell = {0, I};
        SelRowNdx = I + 1;
        return true;
      }
  } else if (ObjType == otListView) {
    TListItem* Item = nullptr;
    if (SelRowNdx == 0) Item = ListView->Selected();
    else if (CurCell.Y >= 0 && CurCell.Y < ListView->Items().Count())
      Item = ListView->GetNextItem(ListView->Items()[CurCell.Y], sdAll, isSelected);
    if (Item) {
      CurCell = {0, Item->Index()};
      CurListItem = Item;
      Found = true;
    } else {
      CurCell = {-1, -1};
    }
    ++SelRowNdx;
  } else if (ObjType == otStringGrid) {
    const TGridRect Sel = StringGrid->Selection();
    SelRowNdx = std::max(SelRowNdx, Sel.Top);
    if (SelRowNdx <= Sel.Bottom) {
      CurCell = {FixedCols, SelRowNdx};
      Found = true;
    }
    ++SelRowNdx;
  }
  return Found;
}

void TObjInfo::CountSelected() {
  SelRowCount = 0;
  if (PrintWhat() != pwSelectedRows || !HasSelection()) return;
  if (IsDBGridKind()) {
    TCustomDBGrid* Grid = DBGrid ? static_cast<TCustomDBGrid*>(DBGrid) : OtherDBGrid;
    SelRowCount = Grid->SelectedRows().Count();
  } else if (ObjType == otListBox) {
    SelRowCount = ListBox->SelCount();
  } else if (ObjType == otListView) {
    SelRowCount = ListView->SelCount();
  } else if (ObjType == otStringGrid) {
    const TGridRect Sel = StringGrid->Selection();
    SelRowCount = Sel.Bottom - Sel.Top + 1;
  }
  SelRowCount = std::max(SelRowCount, 0);
}

bool TObjInfo::DGColVisible(int Row) const {
  return !IsDecisionGrid() || IsDecisionGridTotalCell(DecisionGrid, TPoint{0, Row}, true);
}

void TObjInfo::ScrollOwnerData() {
  if (ObjType != otListView || !ListView->OwnerData()) return;
  const TViewStyle Style = ListView->ViewStyle();
  if (Style != vsList && Style != vsReport) return;
  while (ListView->TopIndex() + ListView->VisibleRowCount() <= CurCell.Y) {
    const int Before = ListView->TopIndex();
    // A page on: a list view in list style pages sideways.
    if (Style == vsList) ListView->Scroll(ListView->Width(), 0);
    else ListView->Scroll(0, ListView->VisibleRowCount() * ListView->ItemHeight());
    // A view that cannot scroll further (its last page is shown, or no row fits) ends it.
    if (ListView->TopIndex() == Before) return;
  }
}

// Walking the printed object's rows: the first row to print, the next one, the selected rows,
// and the host's filter, which may skip a row or end the report.
#include <algorithm>

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/RowSources.h"
#include "engine/VLMXGbl/RptStyles.h"
#include "engine/Vellumix/ReportSettings.h"

bool TObjInfo::FilterAccepts(bool& Terminate) {
  bool Accept = true;
  OnFilterRecord(Component, DataSet, CurCell.Y, Accept, Terminate);
  return Accept;
}

bool TObjInfo::First() {
  // A walk that starts is not at its end: a flag left from an earlier walk must not reach the
  // filter as an order to stop.
  EndOfRows = false;
  if (PrintsSelectedOnly(*this)) SelRowNdx = 0;
  bool Found = FRows->First();
  State().ClearSelRows();
  if (Found && OnFilterRecord) {
    bool Terminate = EndOfRows;
    const bool Accept = FilterAccepts(Terminate);
    if (Terminate) {
      CountRow(*this, -1);
      Found = false;
    } else if (!Accept) {
      CountRow(*this, -1);
      // No row has been emitted yet: moving past rejected rows does not count as one.
      const int RowNdx = Styles().BandInfo[bnData].RowNdx;
      Next(bnData, false);
      Styles().BandInfo[bnData].RowNdx = RowNdx;
      Found = !EndOfRows;
    }
  }
  EndOfRows = !Found;
  return Found;
}

void TObjInfo::Next(int Band, bool ToLast) {
  for (;;) {
    FRows->ShowCurrentRow();
    if (Band == bnData) State().GrpLevel = -1;
    bool Found = FRows->Move(Band, ToLast);
    if (Band == bnData) State().ClearSelRows();
    EndOfRows = !Found;
    if (Found) Found = DGColVisible(CurCell.Y);
    if (Found && Band == bnData && OnFilterRecord) {
      bool Terminate = EndOfRows;
      Found = FilterAccepts(Terminate);
      // A row the host stopped at is not printed.
      if (Terminate) {
        EndOfRows = true;
        Found = false;
      }
    }
    if (Found || EndOfRows) {
      ++Styles().BandInfo[Band].RowNdx;
      if (Found && !(State().GrpHdrRow)) CountRow(*this, 1);
      return;
    }
    // The last row was rejected: there is nothing after it.
    ToLast = false;
  }
}

bool TObjInfo::NextSelected() { return FRows->NextSelected(); }

void TObjInfo::CountSelected() {
  SelRowCount = 0;
  if (Settings().PrintWhat == pwSelectedRows && FRows->HasSelection())
    SelRowCount = std::max(FRows->CountSelected(), 0);
}

bool TObjInfo::DGColVisible(int Row) const { return FRows->RowShown(Row); }

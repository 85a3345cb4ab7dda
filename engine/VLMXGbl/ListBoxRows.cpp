// A list box: one column, one row per item, the current item as the position.
#include <algorithm>

#include "engine/VLMXGbl/RowSources.h"
#include "framework/StdCtrls.h"
#include "framework/rtl/SysUtils.h"

namespace {

class TListBoxRows : public TMemoryRows {
public:
  TListBoxRows(TObjInfo& Info, TComponent* Object) : TMemoryRows(Info), FList(As<TCustomListBox>(Object)) {}

  void Setup() override {
    Info.ListBox = FList;
    Info.RowCount = FList->ItemCount();
    Info.ColCount = 1;
    Info.CurCell = {0, std::max(FList->ItemIndex(), 0)};
  }

  void CalcUsedExtent(bool Trim) override {
    Info.ColCount = 1;
    Info.RowCount = FList->ItemCount();
    if (!Trim) return;
    while (Info.RowCount > 0 && ::Trim(FList->Items()[Info.RowCount - 1]).empty()) --Info.RowCount;
  }

  int CountSelected() override { return FList->SelCount(); }

  bool NextSelected() override {
    for (int I = Info.SelRowNdx; I < FList->ItemCount(); ++I)
      if (FList->Selected(I)) {
        Info.CurCell = {0, I};
        Info.SelRowNdx = I + 1;
        return true;
      }
    return false;
  }

  int ControlColWidth(int /*Source*/) const override { return FList->ClientWidth(); }

  void ReadText(int /*Level*/, const TColsListData& /*Column*/, bool /*RealData*/, std::string& Text,
                TField*& /*Field*/) override {
    Text = FList->Items()[Info.CurCell.Y];
  }

protected:
  bool StartRow() override {
    // No current line reads as the first one rather than as a row before the list.
    Info.CurCell = {0, PrintsCurrentPage(Info) ? std::max(FList->ItemIndex(), 0) : 0};
    return true;
  }
  // The list box honours its selection before the move to the last row; the grids after.
  bool SelectionBeforeLast() const override { return true; }

private:
  TCustomListBox* FList;
};

}  // namespace

std::unique_ptr<TRowSource> MakeListBoxRows(TObjInfo& Info, TComponent* Object) {
  return std::make_unique<TListBoxRows>(Info, Object);
}

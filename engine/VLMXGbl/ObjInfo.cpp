#include "engine/VLMXGbl/ObjInfo.h"

#include <algorithm>

#include "engine/VLMXGbl0.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/ComCtrls.h"
#include "framework/DBGrids.h"
#include "framework/DBTables.h"
#include "framework/DecisionGrid.h"
#include "framework/Grids.h"
#include "framework/StdCtrls.h"
#include "framework/rtl/SysUtils.h"

TObjInfo* ObjInfo = nullptr;

namespace {

const std::string InvalidObjectMsg =
    "\r\rObjectToPrint is invalid. It must be one of:\rTStringGrid, TWWdbGrid, TwwTable, "
    "TwwQUery, TdbGrid, TDataSet, TTable, TQuery, TDecisionGrid\r\r(NOTE: Some components like "
    "TDescisionGrid & W2W needs conditional symbols turned on -  See VLMX.INC)";

bool ItemOptOn(unsigned Bit) { return RptSettings && RptSettings->ItemOpt(Bit); }

// The kinds in the order their classes are tested: the first that matches decides, so a
// class is listed before the classes it derives from.
struct TKindTest {
  TObjKind Kind;
  bool (*Matches)(const TComponent*);
};
const TKindTest KindTests[] = {
    {otTable, [](const TComponent* C) { return Is<TTable>(C); }},
    {otQuery, [](const TComponent* C) { return Is<TQuery>(C); }},
    {otDBGrid, [](const TComponent* C) { return Is<TDBGrid>(C); }},
    {otOtherDBGrid, [](const TComponent* C) { return Is<TCustomDBGrid>(C); }},
    {otListBox, [](const TComponent* C) { return Is<TCustomListBox>(C); }},
    {otStringGrid, [](const TComponent* C) { return Is<TStringGrid>(C); }},
    {otListView, [](const TComponent* C) { return Is<TListView>(C); }},
    {otDecisionGrid, [](const TComponent* C) { return Is<TDecisionGrid>(C); }},
    {otDataSet, [](const TComponent* C) { return Is<TDataSet>(C); }},
};

}  // namespace

// ---- TObjPosn --------------------------------------------------------------------------------

TObjPosn::TObjPosn(TObjInfo& Info) : FInfo(Info) {
  Init();
  Save();
}

void TObjPosn::Init() {
  Kind = FInfo.ObjType;
  Object = FInfo.Object;
  DataSet = FInfo.DataSet;
  Bookmark.clear();
  Cell = {-1, -1};
  ListItem = nullptr;
  ListIndex = -1;
}

void TObjPosn::Save() {
  Cell = {-1, -1};
  switch (Kind) {
    case otListBox:
    case otStringGrid: Cell = FInfo.CurCell; break;
    case otListView:
      ListItem = FInfo.CurListItem;
      ListIndex = ListItem ? ListItem->Index() : -1;
      break;
    case otDecisionGrid: break;
    default:
      if (DataSet) Bookmark = DataSet->Bookmark();
      break;
  }
}

TListItem* TObjPosn::LiveListItem() const {
  TListView* View = FInfo.ListView;
  if (!View || !ListItem) return nullptr;
  TListItems& Items = View->Items();
  // Owner-data items are made afresh on every read: the saved index is the item.
  const bool InRange = ListIndex >= 0 && ListIndex < Items.Count();
  if (View->OwnerData()) return InRange ? Items[ListIndex] : nullptr;
  if (InRange && Items[ListIndex] == ListItem) return ListItem;
  for (int I = 0; I < Items.Count(); ++I)
    if (Items[I] == ListItem) return ListItem;
  return nullptr;
}

void TObjPosn::Restore() {
  switch (Kind) {
    case otListBox:
    case otStringGrid: FInfo.CurCell = Cell; break;
    case otListView: {
      if (!FInfo.ListView) break;
      TListItem* Item = LiveListItem();
      if (Item || !ListItem) FInfo.ListView->SetItemFocused(Item);
      break;
    }
    case otDecisionGrid: break;
    default:
      if (DataSet && DataSet->Active() && DataSet->BookmarkValid(Bookmark))
        DataSet->SetBookmark(Bookmark);
      break;
  }
}

// ---- TObjInfo --------------------------------------------------------------------------------

// Holds a dataset's controls disabled until it goes, and lets go of a dataset destroyed
// meanwhile rather than enabling what is gone.
class TObjInfo::TControlsGuard : public TComponent {
public:
  explicit TControlsGuard(TDataSet* ADataSet) : TComponent(nullptr), FDataSet(ADataSet) {
    FDataSet->DisableControls();
    FreeNotification(FDataSet);
  }
  ~TControlsGuard() override {
    if (FDataSet) FDataSet->EnableControls();
  }

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FDataSet) FDataSet = nullptr;
  }

private:
  TDataSet* FDataSet;
};

TObjInfo::TObjInfo() : FieldInfo(std::make_unique<TvlxFieldInfo>()) {}

TObjInfo::~TObjInfo() = default;

void TObjInfo::EnableControls() { FControlsGuard.reset(); }

void TObjInfo::Reset() {
  // A second run of the same window classifies afresh: the controls disabled by the first go
  // back before anything else can fail.
  EnableControls();
  ObjectName.clear();
  ObjType = otNone;
  DataSet = nullptr;
  SavedPosn.reset();
  CurCell = {-99, -99};
  Origin = FixedPoint = {0, 0};
  SelColFirst = 0;
  SelColLast = AllColumnsLast;
  ListBox = nullptr;
  DBGrid = nullptr;
  OtherDBGrid = nullptr;
  StringGrid = nullptr;
  ListView = nullptr;
  DecisionGrid = nullptr;
  CurListItem = nullptr;
  FixedCols = FixedRows = TrailingCols = ColCount = FurtherTotalsLines = 0;
  HasHeaderRow = false;
  RowCount = -1;
}

void TObjInfo::OpenDataSet(const std::string& AObjectName, TDataSet* ADataSet) {
  if (!ADataSet || ADataSet->Active()) return;
  try {
    ADataSet->SetActive(true);
  } catch (const std::exception& E) {
    throw eVlxSUError("Object: " + AObjectName + "\r\r" +
                      "Opening Dataset: " + ADataSet->Name() + "\r" + E.what());
  }
}

void TObjInfo::Setup() {
  TComponent* Target = Component ? Component->ObjectToPrint() : nullptr;
  if (!Target)
    throw eVlxSUError("ObjectToPrint not assigned in Object Inspector");
  Reset();
  Object = Target;
  ComponentName = Component->Name();
  for (const TKindTest& Test : KindTests)
    if (Test.Matches(Target)) {
      ObjType = Test.Kind;
      break;
    }
  ObjectName = Target->Name();
  switch (ObjType) {
    case otTable:
    case otQuery:
    case otDataSet:
      DataSet = As<TDataSet>(Target);
      OpenDataSet(ObjectName, DataSet);
      ColCount = DataSet->FieldCount();
      FixedRows = 1;
      break;
    case otDBGrid:
    case otOtherDBGrid: {
      auto* Grid = As<TCustomDBGrid>(Target);
      if (ObjType == otDBGrid) DBGrid = As<TDBGrid>(Target);
      else OtherDBGrid = Grid;
      TDataSource* Source = Grid->DataSource();
      if (!Source)
        throw eVlxSUError("Object:" + ObjectName +
                          "\r\rDataSource property is missing");
      if (!Source->DataSet())
        throw eVlxSUError("Object:" + ObjectName + "\r\r" + Source->Name() +
                          " is missing the DataSet property");
      DataSet = Source->DataSet();
      OpenDataSet(ObjectName, DataSet);
      ColCount = Grid->FieldCount();
      FixedRows = 1;
      break;
    }
    case otListBox:
      ListBox = As<TCustomListBox>(Target);
      RowCount = ListBox->ItemCount();
      ColCount = 1;
      CurCell = {0, std::max(ListBox->ItemIndex(), 0)};
      break;
    case otStringGrid: {
      StringGrid = As<TStringGrid>(Target);
      RowCount = StringGrid->RowCount();
      HasHeaderRow = true;
      ColCount = StringGrid->ColCount();
      FixedRows = StringGrid->FixedRows();
      FixedCols = StringGrid->FixedCols();
      CurCell = {StringGrid->Col(), StringGrid->Row()};
      FixedPoint = {FixedCols, FixedRows};
      const TGridRect Sel = StringGrid->Selection();
      SelColFirst = Sel.Left;
      SelColLast = Sel.Right;
      break;
    }
    case otListView:
      ListView = As<TListView>(Target);
      if (ListView->ViewStyle() == vsReport) {
        FixedRows = ListView->ShowColumnHeaders() ? 1 : 0;
        ColCount = ListView->Columns().Count();
      } else {
        FixedRows = 0;
        ColCount = 1;
      }
      RowCount = ListView->Items().Count();
      CurListItem = ListView->ItemFocused();
      break;
    case otDecisionGrid:
      DecisionGrid = As<TDecisionGrid>(Target);
      ColCount = DecisionGrid->ColCount() - 1;
      RowCount = DecisionGrid->RowCount();
      HasHeaderRow = true;
      FixedRows = DecisionGrid->FixedRows();
      FixedCols = DecisionGrid->FixedCols() - 1;
      CurCell = {0, 0};
      Origin = {-FixedCols, -FixedRows};
      if (RptSettings) {
        RptSettings->NumGrpBrkCols = FixedCols;
        RptSettings->AdjGrpBrkLines = FixedCols - 1;
      }
      break;
    default:
      throw eVlxSUError(InvalidObjectMsg);
  }
  KindInRange = IsKindInRange(ObjType);
  RowsInMemory = KindInRange && !DataSet;
  SortedBySQL = HasSQLSort();
  ColScanResult = 0;
  LayoutCase = ColCount <= FixedCols ? 1 : 2;
  if (DataSet && !DataSet->Active())
    throw eVlxSUError(ComponentName + " uses dataset " + DataSet->Name() +
                      "  and this dataset is InActive. The dataset must be active.");
  SavedPosn = std::make_unique<TObjPosn>(*this);
  if (DataSet) FControlsGuard = std::make_unique<TControlsGuard>(DataSet);
}

bool TObjInfo::HasSQLSort() const {
  if (ObjType == otQuery) return true;
  if (!DataSet) return false;
  TComponent* Owner = DataSet->Owner();
  if (!Owner) return false;
  for (int I = 0; I < Owner->ComponentCount(); ++I) {
    TComponent* C = Owner->Components(I);
    if (AnsiSameText(C->Name(), DataSet->Name())) return Is<TQuery>(C);
  }
  return false;
}

void TObjInfo::CalcUsedExtent() {
  const bool Trim = ItemOptOn(ioTrimGridDim);
  if (ObjType == otListBox) {
    ColCount = 1;
    RowCount = ListBox->ItemCount();
    if (!Trim) return;
    while (RowCount > 0 && ::Trim(ListBox->Items()[RowCount - 1]).empty()) --RowCount;
  } else if (ObjType == otStringGrid) {
    RowCount = StringGrid->RowCount();
    ColCount = StringGrid->ColCount();
    if (!Trim) return;
    // From the last column leftwards; once a column with text is found, a column further
    // left only matters for rows below the lowest text found so far.
    int LastRow = -1, LastCol = -1;
    for (int C = ColCount - 1; C >= 0; --C) {
      const int Stop = LastCol < 0 ? 0 : LastRow + 1;
      for (int R = RowCount - 1; R >= Stop; --R) {
        if (::Trim(StringGrid->Cells(C, R)).empty()) continue;
        LastRow = R;
        if (LastCol < 0) LastCol = C;
        break;
      }
    }
    RowCount = LastRow + 1;
    ColCount = LastCol + 1;
  }
}

void TObjInfo::CheckEmpty() {
  if (IsDatabaseKind() && DataSet && RptSettings)
    RowCount = RptSettings->CountNumRcds ? DataSet->RecordCount()
                                         : std::max(RptSettings->RcdEstimate, 9);
  RowNumDigits = static_cast<int>(IntToStr(std::max(RowCount, 1)).size());
  if (RowCount < 1 && ItemOptOn(ioExceptionOnEmpty))
    throw eVlxSUError(ObjectName + " is empty and " + ComponentName +
                      " has nothing to print.");
}

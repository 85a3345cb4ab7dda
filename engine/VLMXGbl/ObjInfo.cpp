#include "engine/VLMXGbl/ObjInfo.h"

#include <algorithm>

#include "engine/VLMXGbl0.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/RowSources.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/DBTables.h"
#include "framework/rtl/SysUtils.h"

TObjInfo* ObjInfo = nullptr;

namespace {

const std::string InvalidObjectMsg =
    "\r\rObjectToPrint is invalid. It must be one of:\rTStringGrid, TWWdbGrid, TwwTable, "
    "TwwQUery, TdbGrid, TDataSet, TTable, TQuery, TDecisionGrid\r\r(NOTE: Some components like "
    "TDescisionGrid & W2W needs conditional symbols turned on -  See VLMX.INC)";

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
  FInfo.FRows->SavePosn(*this);
}

void TObjPosn::Restore() { FInfo.FRows->RestorePosn(*this); }

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

TObjInfo::TObjInfo() : FieldInfo(std::make_unique<TvlxFieldInfo>()), FRows(MakeNoRows(*this)) {}

TObjInfo::~TObjInfo() = default;

void TObjInfo::EnableControls() { FControlsGuard.reset(); }

void TObjInfo::Reset() {
  // A second run of the same window classifies afresh: the controls disabled by the first go
  // back before anything else can fail.
  EnableControls();
  ObjectName.clear();
  ObjType = otNone;
  FRows = MakeNoRows(*this);
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
  ObjectName = Target->Name();
  const TPrintableKind* Kind = PrintableKindOf(Target);
  if (!Kind) throw eVlxSUError(InvalidObjectMsg);
  ObjType = Kind->Kind;
  FRows = Kind->Make(*this, Target);
  FRows->Setup();
  SetDerivedFlags();
  HoldObject();
}

void TObjInfo::SetDerivedFlags() {
  KindInRange = IsKindInRange(ObjType);
  RowsInMemory = KindInRange && !DataSet;
  SortedBySQL = HasSQLSort();
  ColScanResult = 0;
  LayoutCase = ColCount <= FixedCols ? 1 : 2;
}

void TObjInfo::HoldObject() {
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

void TObjInfo::CalcUsedExtent() { FRows->CalcUsedExtent(Settings().ItemOpt(ioTrimGridDim)); }

void TObjInfo::CheckEmpty() {
  FRows->CountRecords();
  RowNumDigits = static_cast<int>(IntToStr(std::max(RowCount, 1)).size());
  if (RowCount < 1 && Settings().ItemOpt(ioExceptionOnEmpty))
    throw eVlxSUError(ObjectName + " is empty and " + ComponentName +
                      " has nothing to print.");
}

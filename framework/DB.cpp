#include "framework/DB.h"

#include <algorithm>

#include "framework/Layout.h"
#include "framework/PropertyTable.h"
#include "framework/rtl/SysUtils.h"

namespace {
// Tells bookmarks of different datasets apart.
int GNextSerial = 1;

int CompareValues(const TFieldValue& A, const TFieldValue& B) {
  bool nullA = std::holds_alternative<std::monostate>(A), nullB = std::holds_alternative<std::monostate>(B);
  if (nullA || nullB) return nullB - nullA;
  if (auto* s = std::get_if<std::string>(&A)) return AnsiCompareText(*s, std::get<std::string>(B));
  auto num = [](const TFieldValue& V) {
    if (auto* i = std::get_if<int64_t>(&V)) return static_cast<double>(*i);
    if (auto* b = std::get_if<bool>(&V)) return *b ? 1.0 : 0.0;
    return std::get<double>(V);
  };
  double a = num(A), b = num(B);
  return a < b ? -1 : a > b ? 1 : 0;
}
}  // namespace

TDataSet::TDataSet(TComponent* AOwner) : TComponent(AOwner), FFieldDefs(*this), FSerial(GNextSerial++) {}

TDataSet::~TDataSet() {
  auto sources = FDataSources;
  for (TDataSource* s : sources) s->SetDataSet(nullptr);
}

void TDataSet::DatabaseError(const std::string& Message) const {
  throw EDatabaseError(Name().empty() ? Message : Name() + ": " + Message);
}

void TDataSet::CheckActive() const {
  if (!Active()) DatabaseError("Cannot perform this operation on a closed dataset");
}

void TDataSet::CheckInactive() const {
  if (Active()) DatabaseError("Cannot perform this operation on an open dataset");
}

TField* TDataSet::Fields(int Index) const {
  if (Index < 0 || Index >= FieldCount()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FFields[Index].get();
}

TField* TDataSet::FindField(const std::string& FieldName) const {
  for (auto& f : FFields)
    if (SameText(f->FieldName(), FieldName)) return f.get();
  return nullptr;
}

TField* TDataSet::FieldByName(const std::string& FieldName) const {
  TField* f = FindField(FieldName);
  if (!f) DatabaseError("Field '" + FieldName + "' not found");
  return f;
}

// Fields are made once, at the first opening; records added later follow the same layout.
void TDataSet::CreateFields() {
  if (!FFields.empty()) return;
  for (int i = 0; i < FFieldDefs.Count(); ++i) {
    const TFieldDef& d = FFieldDefs.Items(i);
    FFields.push_back(std::unique_ptr<TField>(new TField(this, i, d.Name, d.DataType, d.Size)));
  }
}

void TDataSet::SetActive(bool Value) {
  if (Value == Active()) return;
  if (Value) {
    if (BeforeOpen) BeforeOpen(this);
    CheckCanOpen();
    bool madeFields = FFields.empty() && FFieldDefs.Count() > 0;
    if (!FFields.empty() && FFieldDefs.Count() != FieldCount())
      DatabaseError("Field definitions changed after the fields were made");
    CreateFields();
    FieldsMade();
    FState = TDataSetState::dsBrowse;
    Reorder();
    First();
    if (madeFields) DataEvent(TDataEvent::deLayoutChange);
  } else {
    FState = TDataSetState::dsInactive;
    FPosition = 0;
    FBof = FEof = true;
  }
  DataEvent(TDataEvent::deDataSetChange);
}

void TDataSet::AppendRecord(const std::vector<TFieldValue>& Values) {
  CheckActive();
  if (static_cast<int>(Values.size()) > FieldCount())
    DatabaseError("Too many values for " + std::to_string(FieldCount()) + " fields");
  TRecord rec{static_cast<int>(FPositionOfId.size()), {}};
  rec.Values.reserve(FieldCount());
  for (int i = 0; i < FieldCount(); ++i)
    rec.Values.push_back(i < static_cast<int>(Values.size()) ? Coerce(Values[i], *FFields[i]) : TFieldValue{});
  int pos = static_cast<int>(FRecords.size());
  if (!FOrderFields.empty())
    // After the last record that does not sort behind it, so equal keys keep their order.
    pos = static_cast<int>(std::upper_bound(FRecords.begin(), FRecords.end(), rec, [&](const TRecord& a, const TRecord& b) {
      for (int f : FOrderFields)
        if (int c = CompareValues(a.Values[f], b.Values[f])) return c < 0;
      return false;
    }) - FRecords.begin());
  FPositionOfId.push_back(pos);
  FRecords.insert(FRecords.begin() + pos, std::move(rec));
  RenumberFrom(pos + 1);
  FPosition = pos;
  FBof = FEof = false;
  DataEvent(TDataEvent::deDataSetChange);
}

void TDataSet::Delete() {
  CheckActive();
  if (FRecords.empty()) DatabaseError("Cannot perform this operation on an empty dataset");
  FPositionOfId[FRecords[FPosition].Id] = -1;
  FRecords.erase(FRecords.begin() + FPosition);
  RenumberFrom(FPosition);
  if (FPosition >= static_cast<int>(FRecords.size())) FPosition = std::max(0, static_cast<int>(FRecords.size()) - 1);
  FBof = FEof = FRecords.empty();
  DataEvent(TDataEvent::deDataSetChange);
}

void TDataSet::RenumberFrom(int Position) {
  for (int i = Position; i < static_cast<int>(FRecords.size()); ++i) FPositionOfId[FRecords[i].Id] = i;
}

void TDataSet::SetOrderFields(std::vector<int> FieldIndexes) {
  FOrderFields = std::move(FieldIndexes);
  if (Active()) {
    Reorder();
    DataEvent(TDataEvent::deDataSetChange);
  }
}

// Sorts by the order fields (or back into the order of adding), keeping the current record.
void TDataSet::Reorder() {
  int currentId = FRecords.empty() ? -1 : FRecords[FPosition].Id;
  std::stable_sort(FRecords.begin(), FRecords.end(), [&](const TRecord& a, const TRecord& b) {
    for (int f : FOrderFields)
      if (int c = CompareValues(a.Values[f], b.Values[f])) return c < 0;
    return FOrderFields.empty() && a.Id < b.Id;
  });
  RenumberFrom(0);
  if (currentId >= 0) FPosition = FPositionOfId[currentId];
}

int TDataSet::RecordCount() const {
  CheckActive();
  return static_cast<int>(FRecords.size());
}

void TDataSet::SetPosition(int Position) {
  FPosition = Position;
  DataEvent(TDataEvent::deDataSetScroll);
}

void TDataSet::First() {
  CheckActive();
  FBof = true;
  FEof = FRecords.empty();
  SetPosition(0);
}

void TDataSet::Last() {
  CheckActive();
  FEof = true;
  FBof = FRecords.empty();
  SetPosition(std::max(0, static_cast<int>(FRecords.size()) - 1));
}

void TDataSet::Next() { MoveBy(1); }
void TDataSet::Prior() { MoveBy(-1); }

int TDataSet::MoveBy(int Distance) {
  CheckActive();
  int count = static_cast<int>(FRecords.size());
  if (count == 0) {
    FBof = FEof = true;
    return 0;
  }
  int target = std::clamp(static_cast<long long>(FPosition) + Distance, 0LL, static_cast<long long>(count - 1));
  int moved = target - FPosition;
  // Asking to go past an end sets that end's flag; any step clears the other one.
  if (Distance > 0) { FEof = moved < Distance; if (moved) FBof = false; }
  if (Distance < 0) { FBof = moved > Distance; if (moved) FEof = false; }
  if (moved) SetPosition(target);
  return moved;
}

void TDataSet::SetRecNo(int Value) {
  CheckActive();
  if (FRecords.empty()) return;
  MoveBy(std::clamp(Value, 1, static_cast<int>(FRecords.size())) - 1 - FPosition);
  FBof = FPosition == 0 && FBof;
  FEof = false;
}

TBookmarkStr TDataSet::Bookmark() const { return BookmarkAt(RecordPosition()); }

TBookmarkStr TDataSet::BookmarkAt(int Position) const {
  if (!Active() || Position < 0 || Position >= static_cast<int>(FRecords.size())) return "";
  return std::to_string(FSerial) + ":" + std::to_string(FRecords[Position].Id);
}

int TDataSet::PositionOf(const TBookmark& Value) const {
  if (!Active()) return -1;
  size_t colon = Value.find(':');
  int serial, id;
  if (colon == std::string::npos || !TryStrToInt(Value.substr(0, colon), serial) ||
      !TryStrToInt(Value.substr(colon + 1), id))
    return -1;
  if (serial != FSerial || id < 0 || id >= static_cast<int>(FPositionOfId.size())) return -1;
  return FPositionOfId[id];
}

void TDataSet::GotoBookmark(const TBookmark& Value) {
  CheckActive();
  if (Value.empty()) return;
  int pos = PositionOf(Value);
  if (pos < 0) throw EDBEngineError("Record not found");
  FBof = FEof = false;
  SetPosition(pos);
}

int TDataSet::CompareBookmarks(const TBookmark& A, const TBookmark& B) const {
  int a = PositionOf(A), b = PositionOf(B);
  return a < b ? -1 : a > b ? 1 : 0;
}

const TFieldValue& TDataSet::RecordValue(int Position, int FieldIndex) const {
  if (Position < 0 || Position >= static_cast<int>(FRecords.size()) || FieldIndex < 0 || FieldIndex >= FieldCount())
    throw EListError("Record or field index out of range");
  return FRecords[Position].Values[FieldIndex];
}

void TDataSet::EnableControls() {
  if (FDisableCount == 0) return;
  if (--FDisableCount == 0) DataEvent(TDataEvent::deDataSetChange);
}

void TDataSet::DataEvent(TDataEvent Event) {
  if (ControlsDisabled() && Event != TDataEvent::deLayoutChange) return;
  auto sources = FDataSources;
  for (TDataSource* s : sources) s->DataEvent(Event);
}

void TDataSet::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove)
    std::erase_if(FDataSources, [&](TDataSource* s) { return static_cast<TComponent*>(s) == AComponent; });
}

// ---------------------------------------------------------------------------------------------
// TDataSource and TDataLink

TDataSource::~TDataSource() {
  Destroying();
  SetDataSet(nullptr);
  auto links = FLinks;
  for (TDataLink* l : links) l->SetDataSource(nullptr);
}

void TDataSource::SetDataSet(TDataSet* Value) {
  if (Value == FDataSet) return;
  if (FDataSet) {
    std::erase(FDataSet->FDataSources, this);
    FDataSet->RemoveFreeNotification(this);
    RemoveFreeNotification(FDataSet);
  }
  FDataSet = Value;
  if (FDataSet) {
    FDataSet->FDataSources.push_back(this);
    FDataSet->FreeNotification(this);
  }
  DataEvent(TDataEvent::deLayoutChange);
  DataEvent(TDataEvent::deDataSetChange);
}

void TDataSource::DataEvent(TDataEvent Event) {
  if (IsDestroying()) return;
  auto links = FLinks;
  for (TDataLink* l : links) l->DataEvent(Event);
}

void TDataSource::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove && AComponent == FDataSet) {
    FDataSet = nullptr;
    DataEvent(TDataEvent::deLayoutChange);
  }
}

const TPropertyTable& TDataSource::PropertyTable() const {
  static const TPropertyTable Table(&TComponent::PropertyTable(), {
      {"DataSet", ReferenceProperty(&TDataSource::SetDataSet, "a dataset")},
  });
  return Table;
}

// The control is half gone: it is only unhooked, not told.
TDataLink::~TDataLink() {
  if (FDataSource) std::erase(FDataSource->FLinks, this);
}

void TDataLink::SetDataSource(TDataSource* Value) {
  if (Value == FDataSource) return;
  if (FDataSource) std::erase(FDataSource->FLinks, this);
  FDataSource = Value;
  if (FDataSource) FDataSource->FLinks.push_back(this);
  DataEvent(TDataEvent::deLayoutChange);
  DataEvent(TDataEvent::deDataSetChange);
}

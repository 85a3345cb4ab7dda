// Datasets: records of typed fields behind a cursor, held in memory and filled from code. A data
// source joins a dataset to the data-aware controls, which hear of every change and move unless
// the dataset's controls are disabled.
//
// Records are addressed by position for the cursor and by a record id for bookmarks, so that
// every cursor step and every bookmark look-up costs the same however many records there are.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "framework/Classes.h"
#include "framework/StdCtrls.h"
#include "framework/rtl/DateUtils.h"

// The platform's field-type codes; the numbers are stored in report settings and compared.
enum TFieldType {
  ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat, ftCurrency, ftBCD,
  ftDate, ftTime, ftDateTime, ftBytes, ftVarBytes, ftAutoInc, ftBlob, ftMemo, ftGraphic,
  ftFmtMemo, ftParadoxOle, ftDBaseOle, ftTypedBinary, ftCursor, ftFixedChar, ftWideString,
  ftLargeint
};

class EDatabaseError : public Exception { using Exception::Exception; };
// What the database engine raises: a record that is gone, a bookmark that leads nowhere.
class EDBEngineError : public EDatabaseError { using EDatabaseError::EDatabaseError; };

// One stored value: null, a whole number, a floating-point number (dates and times too), a
// Boolean or a text. A value given to AppendRecord is converted to its field's kind.
using TFieldValue = std::variant<std::monostate, int64_t, double, bool, std::string>;
inline constexpr std::monostate Null{};

class TDataSet;

// A column of a dataset: its definition, its display properties and the value it has in the
// current record. Fields are made by the dataset from its field definitions when it opens.
class TField : public TObject {
  friend class TDataSet;

public:
  TDataSet* DataSet() const { return FDataSet; }
  int Index() const { return FIndex; }
  const std::string& FieldName() const { return FFieldName; }
  TFieldType DataType() const { return FDataType; }
  // The defined size: characters of a string field, 0 for most others.
  int Size() const { return FSize; }
  // Bytes the value takes in a record buffer: a string's size plus one, 4 for an integer...
  int DataSize() const;

  // The field name until a label is set.
  const std::string& DisplayLabel() const { return FDisplayLabel.empty() ? FFieldName : FDisplayLabel; }
  void SetDisplayLabel(const std::string& Value);
  int DisplayWidth() const { return FDisplayWidth; }
  void SetDisplayWidth(int Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  // A FormatFloat picture for numbers, a FormatDateTime one for dates and times; used by
  // DisplayText only, so that Text stays the plain value.
  const std::string& DisplayFormat() const { return FDisplayFormat; }
  void SetDisplayFormat(const std::string& Value);

  // The value in the current record. EDatabaseError on a closed dataset.
  bool IsNull() const;
  std::string AsString() const;
  // EConvertError when a text is no number or date.
  double AsFloat() const;
  int AsInteger() const;
  bool AsBoolean() const;
  TDateTime AsDateTime() const;
  // The plain text of the value, and the text for showing it (currency sign, display format).
  // A memo, blob or graphic shows its kind, in capitals when it holds something: "(MEMO)".
  std::string Text() const { return FormatValue(CurrentValue(), false); }
  std::string DisplayText() const { return FormatValue(CurrentValue(), true); }

  // The text of any value of this field: how data-aware controls show records other than the
  // current one.
  std::string FormatValue(const TFieldValue& Value, bool Display) const;

private:
  TField(TDataSet* ADataSet, int AIndex, const std::string& AName, TFieldType AType, int ASize);
  const TFieldValue& CurrentValue() const;
  void Changed();

  TDataSet* FDataSet;
  int FIndex;
  std::string FFieldName;
  TFieldType FDataType;
  int FSize;
  std::string FDisplayLabel;
  int FDisplayWidth;
  bool FVisible = true;
  TAlignment FAlignment;
  std::string FDisplayFormat;
};

struct TFieldDef {
  std::string Name;
  TFieldType DataType = ftUnknown;
  int Size = 0;
};

// The definitions a dataset makes its fields from when it opens.
class TFieldDefs {
public:
  explicit TFieldDefs(TDataSet& Owner) : FOwner(Owner) {}
  // A string field without a size gets 20 characters. EDatabaseError for a name already there
  // or while the dataset is open.
  void Add(const std::string& Name, TFieldType DataType, int Size = 0);
  void Clear();
  int Count() const { return static_cast<int>(FItems.size()); }
  const TFieldDef& Items(int Index) const;
  int IndexOf(const std::string& Name) const;

private:
  TDataSet& FOwner;
  std::vector<TFieldDef> FItems;
};

enum TDataSetState { dsInactive, dsBrowse };

// What a dataset tells the controls linked to it.
enum class TDataEvent {
  deDataSetChange,  // records added or removed, opened, closed, controls enabled again
  deDataSetScroll,  // the current record moved
  deLayoutChange    // fields were made, or a display property of one changed
};

using TBookmarkStr = std::string;
using TBookmark = std::string;
using TDataSetNotifyEvent = std::function<void(TDataSet* DataSet)>;

class TDataSource;

class TDataSet : public TComponent {
  friend class TField;
  friend class TFieldDefs;
  friend class TDataSource;

public:
  explicit TDataSet(TComponent* AOwner);
  ~TDataSet() override;

  TFieldDefs& FieldDefs() { return FFieldDefs; }
  int FieldCount() const { return static_cast<int>(FFields.size()); }
  TField* Fields(int Index) const;
  // Case-insensitive. FieldByName raises EDatabaseError "Field 'X' not found".
  TField* FindField(const std::string& FieldName) const;
  TField* FieldByName(const std::string& FieldName) const;

  bool Active() const { return FState != TDataSetState::dsInactive; }
  void SetActive(bool Value);
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }
  TDataSetState State() const { return FState; }
  // Runs before the dataset opens; what it raises leaves the dataset closed and reaches the
  // caller of Open.
  TDataSetNotifyEvent BeforeOpen;

  // Adds a record at the end (in index order for an indexed table) and makes it current. The
  // values go to the fields in order; missing ones are null.
  void AppendRecord(const std::vector<TFieldValue>& Values);
  // Removes the current record; the next one (or the new last one) becomes current.
  void Delete();

  int RecordCount() const;
  bool IsEmpty() const { return RecordCount() == 0; }

  void First();
  void Last();
  void Next();
  void Prior();
  // Moves up to Distance records (back when negative); the number of records actually moved.
  int MoveBy(int Distance);
  bool Bof() const { return FBof; }
  bool Eof() const { return FEof; }
  // 1-based; 0 for an empty dataset.
  int RecNo() const { return Active() && !FRecords.empty() ? FPosition + 1 : 0; }
  void SetRecNo(int Value);

  // A bookmark names the current record until that record is deleted; empty when there is
  // none. Going to a bookmark that names no record raises EDBEngineError "Record not found";
  // an empty bookmark is ignored.
  TBookmarkStr Bookmark() const;
  void SetBookmark(const TBookmarkStr& Value) { GotoBookmark(Value); }
  TBookmark GetBookmark() const { return Bookmark(); }
  void GotoBookmark(const TBookmark& Value);
  void FreeBookmark(TBookmark& Value) { Value.clear(); }
  bool BookmarkValid(const TBookmark& Value) const { return PositionOf(Value) >= 0; }
  // Orders bookmarks by the position of their records: -1, 0 or 1. Invalid ones come first.
  int CompareBookmarks(const TBookmark& A, const TBookmark& B) const;

  // Stops the linked controls from following the cursor until as many EnableControls calls;
  // the last one tells them everything changed.
  void DisableControls() { ++FDisableCount; }
  void EnableControls();
  bool ControlsDisabled() const { return FDisableCount > 0; }

  // For data-aware controls that show several records: the value of a field in the record at a
  // 0-based position, and the position of the current record (-1 when there is none).
  const TFieldValue& RecordValue(int Position, int FieldIndex) const;
  int RecordPosition() const { return Active() && !FRecords.empty() ? FPosition : -1; }
  TBookmarkStr BookmarkAt(int Position) const;

protected:
  // Raises what stops the dataset from opening; run after BeforeOpen.
  virtual void CheckCanOpen() {}
  // Runs on opening once the fields exist, before the dataset counts as open.
  virtual void FieldsMade() {}
  // Keeps the records ordered by these fields (empty: in the order they were added).
  void SetOrderFields(std::vector<int> FieldIndexes);
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Raises EDatabaseError with the dataset's name in front, as every dataset error reads.
  [[noreturn]] void DatabaseError(const std::string& Message) const;
  void CheckActive() const;
  void CheckInactive() const;

private:
  struct TRecord {
    int Id;
    std::vector<TFieldValue> Values;
  };

  TFieldDefs FFieldDefs;
  std::vector<std::unique_ptr<TField>> FFields;
  std::vector<TRecord> FRecords;
  // Position of each record id; -1 once the record is deleted.
  std::vector<int> FPositionOfId;
  std::vector<int> FOrderFields;
  int FSerial;
  TDataSetState FState = TDataSetState::dsInactive;
  int FPosition = 0;
  bool FBof = true, FEof = true;
  int FDisableCount = 0;
  std::vector<TDataSource*> FDataSources;

  void CreateFields();
  TFieldValue Coerce(const TFieldValue& Value, const TField& Field) const;
  int PositionOf(const TBookmark& Value) const;
  void Reorder();
  void RenumberFrom(int Position);
  void DataEvent(TDataEvent Event);
  void SetPosition(int Position);
};

class TDataLink;

// Joins one dataset to the data-aware controls that show it.
class TDataSource : public TComponent {
  friend class TDataSet;
  friend class TDataLink;

public:
  explicit TDataSource(TComponent* AOwner) : TComponent(AOwner) {}
  ~TDataSource() override;

  TDataSet* DataSet() const { return FDataSet; }
  void SetDataSet(TDataSet* Value);

  const TPropertyTable& PropertyTable() const override;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TDataSet* FDataSet = nullptr;
  std::vector<TDataLink*> FLinks;

  void DataEvent(TDataEvent Event);
};

// A control's end of a data source: it hears the dataset's events.
class TDataLink {
  friend class TDataSource;

public:
  TDataLink() = default;
  virtual ~TDataLink();
  TDataLink(const TDataLink&) = delete;
  TDataLink& operator=(const TDataLink&) = delete;

  TDataSource* DataSource() const { return FDataSource; }
  void SetDataSource(TDataSource* Value);
  TDataSet* DataSet() const { return FDataSource ? FDataSource->DataSet() : nullptr; }
  bool Active() const { return DataSet() && DataSet()->Active(); }

protected:
  virtual void DataEvent(TDataEvent Event) = 0;

private:
  TDataSource* FDataSource = nullptr;
};

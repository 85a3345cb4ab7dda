// Fields and field definitions: how each field type stores, converts and shows its value.
#include <cmath>

#include "framework/DB.h"
#include "framework/rtl/Locale.h"
#include "framework/rtl/SysUtils.h"

namespace {

enum class TStorage { None, Text, Whole, Real, Logical, Blob };

// Per field type: how the value is kept, the record-buffer size (-1: from Size), the default
// display width (0: Size) and whether numbers line up on the right.
struct TTypeInfo {
  TStorage Storage;
  int DataSize;
  int DisplayWidth;
  bool RightAligned;
  const char* BlobName;
};

const TTypeInfo TypeInfos[] = {
    /* ftUnknown */ {TStorage::None, 0, 10, false, nullptr},
    /* ftString */ {TStorage::Text, -1, 0, false, nullptr},
    /* ftSmallint */ {TStorage::Whole, 2, 6, true, nullptr},
    /* ftInteger */ {TStorage::Whole, 4, 11, true, nullptr},
    /* ftWord */ {TStorage::Whole, 2, 5, true, nullptr},
    /* ftBoolean */ {TStorage::Logical, 2, 5, false, nullptr},
    /* ftFloat */ {TStorage::Real, 8, 10, true, nullptr},
    /* ftCurrency */ {TStorage::Real, 8, 10, true, nullptr},
    /* ftBCD */ {TStorage::Real, 34, 10, true, nullptr},
    /* ftDate */ {TStorage::Real, 4, 10, false, nullptr},
    /* ftTime */ {TStorage::Real, 4, 10, false, nullptr},
    /* ftDateTime */ {TStorage::Real, 8, 18, false, nullptr},
    /* ftBytes */ {TStorage::Blob, -1, 0, false, "Bytes"},
    /* ftVarBytes */ {TStorage::Blob, -1, 0, false, "VarBytes"},
    /* ftAutoInc */ {TStorage::Whole, 4, 11, true, nullptr},
    /* ftBlob */ {TStorage::Blob, 0, 10, false, "Blob"},
    /* ftMemo */ {TStorage::Blob, 0, 10, false, "Memo"},
    /* ftGraphic */ {TStorage::Blob, 0, 10, false, "Graphic"},
    /* ftFmtMemo */ {TStorage::Blob, 0, 10, false, "FmtMemo"},
    /* ftParadoxOle */ {TStorage::Blob, 0, 10, false, "ParadoxOle"},
    /* ftDBaseOle */ {TStorage::Blob, 0, 10, false, "DBaseOle"},
    /* ftTypedBinary */ {TStorage::Blob, 0, 10, false, "TypedBinary"},
    /* ftCursor */ {TStorage::None, 0, 10, false, nullptr},
    /* ftFixedChar */ {TStorage::Text, -1, 0, false, nullptr},
    /* ftWideString */ {TStorage::Text, -1, 0, false, nullptr},
    /* ftLargeint */ {TStorage::Whole, 8, 15, true, nullptr},
};

const TTypeInfo& Info(TFieldType T) { return TypeInfos[static_cast<int>(T)]; }

std::string Upper(std::string S) { return UpperCase(S); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// TField

TField::TField(TDataSet* ADataSet, int AIndex, const std::string& AName, TFieldType AType, int ASize)
    : FDataSet(ADataSet), FIndex(AIndex), FFieldName(AName), FDataType(AType), FSize(ASize) {
  const TTypeInfo& info = Info(AType);
  FDisplayWidth = info.DisplayWidth ? info.DisplayWidth : ASize;
  FAlignment = info.RightAligned ? TAlignment::taRightJustify : TAlignment::taLeftJustify;
}

int TField::DataSize() const {
  switch (FDataType) {
    case ftString:
    case ftFixedChar: return FSize + 1;
    case ftWideString: return (FSize + 1) * 2;
    case ftBytes: return FSize;
    case ftVarBytes: return FSize + 2;
    default: return Info(FDataType).DataSize;
  }
}

void TField::Changed() { FDataSet->DataEvent(TDataEvent::deLayoutChange); }
void TField::SetDisplayLabel(const std::string& Value) { FDisplayLabel = Value; Changed(); }
void TField::SetDisplayWidth(int Value) { FDisplayWidth = Value; Changed(); }
void TField::SetVisible(bool Value) { FVisible = Value; Changed(); }
void TField::SetAlignment(TAlignment Value) { FAlignment = Value; Changed(); }
void TField::SetDisplayFormat(const std::string& Value) { FDisplayFormat = Value; Changed(); }

const TFieldValue& TField::CurrentValue() const {
  FDataSet->CheckActive();
  static const TFieldValue none;
  int pos = FDataSet->RecordPosition();
  return pos < 0 ? none : FDataSet->RecordValue(pos, FIndex);
}

bool TField::IsNull() const { return std::holds_alternative<std::monostate>(CurrentValue()); }

std::string TField::AsString() const {
  const TFieldValue& v = CurrentValue();
  // A memo's or blob's string is its content, not the "(MEMO)" it shows.
  if (auto* s = std::get_if<std::string>(&v)) return *s;
  return FormatValue(v, false);
}

double TField::AsFloat() const {
  const TFieldValue& v = CurrentValue();
  if (auto* d = std::get_if<double>(&v)) return *d;
  if (auto* i = std::get_if<int64_t>(&v)) return static_cast<double>(*i);
  if (auto* b = std::get_if<bool>(&v)) return *b ? 1 : 0;
  if (auto* s = std::get_if<std::string>(&v)) return StrToFloat(*s);
  return 0;
}

int TField::AsInteger() const {
  const TFieldValue& v = CurrentValue();
  if (auto* i = std::get_if<int64_t>(&v)) return static_cast<int>(*i);
  if (auto* s = std::get_if<std::string>(&v)) return StrToInt(*s);
  return static_cast<int>(std::llround(AsFloat()));
}

bool TField::AsBoolean() const {
  const TFieldValue& v = CurrentValue();
  if (auto* b = std::get_if<bool>(&v)) return *b;
  if (auto* s = std::get_if<std::string>(&v)) {
    if (SameText(*s, "True") || SameText(*s, "T") || SameText(*s, "Yes")) return true;
    if (SameText(*s, "False") || SameText(*s, "F") || SameText(*s, "No") || s->empty()) return false;
    throw EConvertError("'" + *s + "' is not a valid boolean value");
  }
  return AsFloat() != 0;
}

TDateTime TField::AsDateTime() const {
  const TFieldValue& v = CurrentValue();
  if (auto* s = std::get_if<std::string>(&v)) return StrToDateTime(*s);
  return AsFloat();
}

std::string TField::FormatValue(const TFieldValue& Value, bool Display) const {
  const TTypeInfo& info = Info(FDataType);
  bool null = std::holds_alternative<std::monostate>(Value);
  if (info.Storage == TStorage::Blob) {
    std::string name = std::string("(") + info.BlobName + ")";
    bool empty = null || (std::holds_alternative<std::string>(Value) && std::get<std::string>(Value).empty());
    return empty ? name : Upper(name);
  }
  if (null) return "";
  bool formatted = Display && !FDisplayFormat.empty();
  if (auto* s = std::get_if<std::string>(&Value)) return *s;
  if (auto* b = std::get_if<bool>(&Value)) return *b ? "True" : "False";
  if (auto* i = std::get_if<int64_t>(&Value))
    return formatted ? FormatFloat(FDisplayFormat, static_cast<double>(*i)) : IntToStr(*i);
  double d = std::get<double>(Value);
  switch (FDataType) {
    case ftDate: return formatted ? FormatDateTime(FDisplayFormat, d) : DateToStr(d);
    case ftTime: return formatted ? FormatDateTime(FDisplayFormat, d) : TimeToStr(d);
    case ftDateTime: return formatted ? FormatDateTime(FDisplayFormat, d) : DateTimeToStr(d);
    case ftCurrency:
      if (formatted) return FormatFloat(FDisplayFormat, d);
      return FloatToStrF(d, Display ? ffCurrency : ffFixed, 15, FormatSettings.CurrencyDecimals);
    default: return formatted ? FormatFloat(FDisplayFormat, d) : FloatToStr(d);
  }
}

// ---------------------------------------------------------------------------------------------
// Field definitions and value conversion

void TFieldDefs::Add(const std::string& Name, TFieldType DataType, int Size) {
  FOwner.CheckInactive();
  if (Trim(Name).empty()) FOwner.DatabaseError("Field name missing");
  if (IndexOf(Name) >= 0) FOwner.DatabaseError("Duplicate field name '" + Name + "'");
  if (Size <= 0 && Info(DataType).DataSize < 0) Size = 20;
  FItems.push_back({Name, DataType, Size});
}

void TFieldDefs::Clear() {
  FOwner.CheckInactive();
  FItems.clear();
}

const TFieldDef& TFieldDefs::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FItems[Index];
}

int TFieldDefs::IndexOf(const std::string& Name) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(FItems[i].Name, Name)) return i;
  return -1;
}

TFieldValue TDataSet::Coerce(const TFieldValue& Value, const TField& Field) const {
  if (std::holds_alternative<std::monostate>(Value)) return Value;
  auto text = [&]() -> std::string {
    if (auto* s = std::get_if<std::string>(&Value)) return *s;
    if (auto* b = std::get_if<bool>(&Value)) return *b ? "True" : "False";
    if (auto* i = std::get_if<int64_t>(&Value)) return IntToStr(*i);
    return FloatToStr(std::get<double>(Value));
  };
  auto number = [&]() -> double {
    if (auto* d = std::get_if<double>(&Value)) return *d;
    if (auto* i = std::get_if<int64_t>(&Value)) return static_cast<double>(*i);
    if (auto* b = std::get_if<bool>(&Value)) return *b ? 1 : 0;
    const std::string& s = std::get<std::string>(Value);
    double d;
    if (TryStrToFloat(s, d)) return d;
    if (Field.DataType() >= ftDate && Field.DataType() <= ftDateTime) return StrToDateTime(s);
    throw EConvertError("'" + s + "' is not a valid value for field '" + Field.FieldName() + "'");
  };
  switch (Info(Field.DataType()).Storage) {
    case TStorage::Text: {
      std::string s = text();
      // A string field holds no more than its size, as a record buffer would.
      if (Field.Size() > 0 && static_cast<int>(s.size()) > Field.Size()) s.resize(Field.Size());
      return s;
    }
    case TStorage::Blob: return text();
    case TStorage::Whole: {
      // A whole number is kept as it is: through a double a large integer would lose digits.
      if (auto* i = std::get_if<int64_t>(&Value)) return *i;
      double d = number();
      if (d != std::trunc(d)) throw EConvertError("'" + text() + "' is not a valid integer value");
      return static_cast<int64_t>(d);
    }
    case TStorage::Real: return number();
    case TStorage::Logical:
      if (auto* s = std::get_if<std::string>(&Value)) {
        if (SameText(*s, "True")) return true;
        if (SameText(*s, "False")) return false;
        throw EConvertError("'" + *s + "' is not a valid boolean value");
      }
      return number() != 0;
    case TStorage::None: break;
  }
  DatabaseError("Field '" + Field.FieldName() + "' is of an unsupported type");
}

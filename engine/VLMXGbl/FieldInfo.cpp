#include "engine/VLMXGbl/FieldInfo.h"

#include <algorithm>
#include <iterator>

#include "engine/VLMXGbl0.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/DB.h"
#include "framework/rtl/SysUtils.h"

namespace {

// A large integer has more digits than a double holds: it is read from its exact text.
long double FieldNumber(const TField& Field) {
  long double Value = 0.0L;
  if (Field.DataType() == ftLargeint && TryStrToFloat(Field.AsString(), Value)) return Value;
  return Field.AsFloat();
}

}  // namespace

bool IsPrintableFieldType(int DataType) {
  return (DataType >= ftSmallint && DataType <= ftAutoInc) || DataType == ftLargeint;
}

bool IsKeptInNumber(char C) {
  return (C >= '0' && C <= '9') || C == '-' || C == FormatSettings.DecimalSeparator;
}

bool IsStringFieldType(int DataType) {
  return DataType == ftString || DataType == ftMemo || DataType == ftFmtMemo ||
         DataType == ftFixedChar;
}

void TvlxFieldInfo::ReportCnvtError(TvlxVellumix* Component, const std::string& FldStr) {
  InCnvtError = true;
  NumValid = false;
  struct TGuard {
    bool& Flag;
    ~TGuard() { Flag = false; }
  } Guard{InCnvtError};
  if (Component && Component->OnCnvtFldError) Component->OnCnvtFldError(Component, FldStr, this);
}

void TvlxFieldInfo::CnvtFldToNum(TvlxVellumix* Component, TField* Field, bool CheckType) {
  if (!CheckType || !Field || !IsPrintableFieldType(Field->DataType())) {
    NumValid = false;
    InCnvtError = false;
    return;
  }
  if (InCnvtError)
    throw eVlxSUError("Cannot call FieldInfo.CnvtFldToNum from TvlxVellumix.OnCnvtFldError event");
  try {
    Values[0] = FieldNumber(*Field);
    NumValid = true;
  } catch (const EConvertError&) {
    ReportCnvtError(Component, "");
  }
}

bool TvlxFieldInfo::CnvtFldStrToNum(TvlxVellumix* Component, const std::string& Text) {
  if (FieldNull) {
    Values[0] = -2.0L;
    NumValid = false;
    InCnvtError = false;
    return false;
  }
  if (InCnvtError)
    throw eVlxSUError(
        "Cannot call TvlxFieldInfo.CnvtFldStrToNum from TvlxVellumix.OnCnvtFldError event");
  // Most texts are kept whole: only one with other characters is copied without them.
  std::string Filtered;
  const bool Whole = std::all_of(Text.begin(), Text.end(), IsKeptInNumber);
  if (!Whole) std::copy_if(Text.begin(), Text.end(), std::back_inserter(Filtered), IsKeptInNumber);
  const std::string& S = Whole ? Text : Filtered;
  if (S.empty()) {
    Values[0] = 0.0L;
    NumValid = true;
    InCnvtError = false;
    return false;
  }
  long double Value = 0.0L;
  if (TryStrToFloat(S, Value)) {
    Values[0] = Value;
    NumValid = true;
    InCnvtError = false;
    return Whole;
  }
  ReportCnvtError(Component, S);
  return false;
}

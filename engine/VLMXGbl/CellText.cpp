// The one place where the engine reads a cell's text out of the printed object: formatted,
// with repeated group values suppressed, handed to the host's OnFieldEdit, converted for the
// column totals and added to them.
#include <algorithm>
#include <limits>

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl0.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/RowSources.h"
#include "engine/VLMXGbl/RptStyles.h"
#include "engine/VLMXText.h"
#include "engine/VLMXUtil.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/DB.h"
#include "framework/rtl/SysUtils.h"

namespace {

int BandRowNdx(const TvlxRunPart& R, int Band) { return R.Styles().BandInfo[Band].RowNdx; }
bool ItemOptOn(const TvlxRunPart& R, unsigned Bit) { return R.Settings().ItemOpt(Bit); }
// Whether a trim would leave S as it is.
bool IsTrimmed(const std::string& S) {
  return S.empty() || (static_cast<unsigned char>(S.front()) > ' ' && static_cast<unsigned char>(S.back()) > ' ');
}

// Samples that stand for a field type's widest value: plain, and with separators.
struct TTypeSample {
  int DataType;
  const char* Plain;
  const char* Separated;
};
const TTypeSample TypeSamples[] = {
    {ftSmallint, "32333", "32,333"},
    {ftInteger, "3333333333", "3,333,333,333"},
    {ftLargeint, "3333333333", "3,333,333,333"},
    {ftWord, "33333", "33,333"},
    {ftBoolean, "yes", "yes"},
    {ftFloat, "123456.78", "123456.78"},
    {ftCurrency, "99999999.99", "$99,999,999.99"},
    {ftBCD, "99999999.9999", "99,999,999.9999"},
};

// Characters that a width given in device units holds in the working font.
int DeviceWidthInChars(const TvlxRunPart& R, int Width) {
  const int CharWidth = R.State().CharWidth;
  return CharWidth > 0 ? Width / CharWidth : 0;
}

// Whether IsNumericStr holds for Text, which the totals' conversion read whole: Text holds only
// digits, "-" and the decimal separator. Such a text reads alike as a double, once it has
// nothing that IsNumericStr strips and, having no exponent, is too short to leave a double's range.
bool ReadAsDouble(const std::string& Text) {
  const std::string& Currency = FormatSettings.CurrencyString;
  return Text.size() <= static_cast<size_t>(std::numeric_limits<double>::max_exponent10) &&
         !IsKeptInNumber(FormatSettings.ThousandSeparator) &&
         (Currency.empty() || !std::all_of(Currency.begin(), Currency.end(), IsKeptInNumber));
}

}  // namespace

void TObjInfo::CheckMark(bool Value, std::string& Text) { Text.assign(1, Value ? 'x' : ' '); }

void TObjInfo::IntToStrSep(int Value, std::string& Text) const {
  Text = FieldFormatOn ? FormatFloat(",#0", Value) : IntToStr(Value);
}

void TObjInfo::MaxDigitsSample(int Level, std::string& Text) const {
  if (Level == bnTitles) {
    Text.assign(1, '#');
    return;
  }
  const int Digits = std::clamp(RowNumDigits, 1, 10);
  IntToStrSep(StrToInt(std::string("2000000000").substr(0, Digits)), Text);
}

void TObjInfo::FieldTypeSample(int DataType, int DataSize, std::string& Text) const {
  Text.clear();
  const bool TextUnits = Settings().IsTextStyleOutput();
  switch (DataType) {
    case ftUnknown:
    case ftString:
    case ftFixedChar:
    case ftWideString: {
      const int Limit = TextUnits ? Settings().MaxStringColWidTxt
                                  : DeviceWidthInChars(*this, Settings().MaxStringColWidDev);
      Text.assign(std::max(std::min(DataSize - 1, Limit), 0), 'x');
      return;
    }
    case ftMemo:
    case ftFmtMemo: {
      const int Chars = TextUnits ? Settings().MaxMemoColWidTxt
                                  : DeviceWidthInChars(*this, Settings().MaxMemoColWidDev);
      Text.assign(std::max(Chars, 0), 'x');
      return;
    }
    case ftDate: Text = DateToStr(Now()); return;
    case ftTime: Text = FormatDateTime(FormatSettings.ShortTimeFormat, Now()); return;
    case ftDateTime:
      Text = DateToStr(Now()) + " " + FormatDateTime(FormatSettings.ShortTimeFormat, Now());
      return;
    case ftAutoInc: Text = Format("%6d", {123456}); return;
    default: break;
  }
  for (const TTypeSample& Sample : TypeSamples)
    if (Sample.DataType == DataType) {
      Text = FieldFormatOn ? Sample.Separated : Sample.Plain;
      return;
    }
}

void TObjInfo::ResetPrevValues() {
  PrevValues.assign(std::max(Settings().NumGrpBrkCols, 0), TPrevValue{});
}

void TObjInfo::SuppressRepeat(const TColsListData& Column, std::string& Text) {
  const int Source = Column.SourceColNdx;
  const int Line = BandRowNdx(*this, 2);
  if (static_cast<int>(PrevValues.size()) <= Source) PrevValues.resize(Source + 1);
  TPrevValue& Prev = PrevValues[Source];
  if (!Prev.Set || !AnsiSameText(Text, Prev.Text)) {
    Prev = {true, Text, Line};
    // A new value in an outer group starts every inner group afresh.
    std::fill(PrevValues.begin() + Source + 1, PrevValues.end(), TPrevValue{});
    return;
  }
  if (Prev.Line >= Line) return;
  if (State().PageTop) {
    FieldInfo->Repeated = true;
    Text = "*" + Text;
  } else {
    FieldInfo->SuppressedText = Text;
    Text = Settings().GrpBrkSameValue;
  }
}

void TObjInfo::GetCellText(int Level, int ColNdx, std::string& Text, bool Accumulate,
                           bool RealData) {
  Text.clear();
  TvlxFieldInfo& Info = *FieldInfo;
  Info.Clear();
  TColsListData* Column = ColsList ? ColsList->Items(ColNdx) : nullptr;
  FW_ASSERT(Column);
  const bool HasTotList = Column->TotList != nullptr;
  Info.HasTotList = HasTotList;
  CurCell.X = Column->FieldNdx;

  const bool Scan = State().PageMode == pmColumnScan;
  const bool GrpHdr = Level == bnData && State().GrpHdrRow;
  TField* Field = nullptr;
  const bool LineNoCol = Column->ColKind == ckLineNo;
  if (LineNoCol && !(GrpHdr && !Scan)) {
    if (Level == bnTitles) {
      const int Row = BandRowNdx(*this, 1);
      if (Row == FixedRows - 1 || Row < 0) Text.assign(1, '#');
    } else if (Level == bnData) {
      const int Counter = State().RecordCounter;
      if (Scan) Text = LineNoSample;
      else IntToStrSep(Counter, Text);
    } else if (BandRowNdx(*this, 3) >= FurtherTotalsLines) {
      ColsList->GetTotalText(ColNdx, FieldFormatOn, Text);
    }
  } else if (!LineNoCol) {
    // Not the line-number column on a group heading line: it has no column of the object.
    if (Level == bnTotals && !FRows->HasOwnTotals()) ColsList->GetTotalText(ColNdx, FieldFormatOn, Text);
    else FRows->ReadText(Level, *Column, RealData, Text, Field);
  }
  TrimInPlace(Text);
  // A blank cell counts as null: it is neither converted nor added to the totals.
  if (Level == bnData && Text.empty()) Info.FieldNull = true;

  if (GrpHdr && ItemOptOn(*this, ioPrtGrpBrkHdrColDesc))
    Text = State().GrpHdrCaption + ":" + Text;
  if (Level == bnData && Field && Column->DataType == ftBoolean && ItemOptOn(*this, ioBoolCheckMark))
    CheckMark(Field->AsBoolean(), Text);
  const int GrpBrkCols = Settings().NumGrpBrkCols;
  if (Level == bnData && Column->SourceColNdx >= 0 && Column->SourceColNdx < GrpBrkCols &&
      !FRows->HasOwnTotals())
    SuppressRepeat(*Column, Text);

  const int RowNdx = BandRowNdx(*this, Level);
  bool ReadWhole = false;  // the totals' conversion read the text as it stands
  // A page whose values are in the totals already, or a line outside the band, adds nothing.
  const uint8_t PassMode =
      Scan ? 0 : State().ReRendering || RowNdx < 0 ? 2 : 1;
  if (RowNdx >= 0 && (OnFieldEdit || OnFieldAlign || HasTotList)) {
    Info.Band = Level - 1;
    Info.LineNo = RowNdx + 1;
    Info.ColNdx = Column->SourceColNdx;
    Info.DataSet = DataSet;
    Info.TotalLines = TotalLines;
    Info.TotalsActive = Column->HasTotals;
    Info.PassMode = PassMode;
    Info.FieldNdx = Column->FieldNdx;
    if (OnFieldEdit) OnFieldEdit(Component, Text, &Info);
    // A read that adds nothing up (a row's height, a group-break test) needs no number, unless
    // a handler is to hear of a value that is none.
    const bool WantNumber = Accumulate || (Component && Component->OnCnvtFldError);
    if (Level == bnData && WantNumber && Info.TotalsActive && PassMode != 2 && !Info.FieldNull &&
        !Info.NumValid) {
      if (Field && !IsStringFieldType(Field->DataType()))
        Info.CnvtFldToNum(Component, Field, HasTotList);
      else
        // A repeated group value printed blank still stands for its value in the totals.
        ReadWhole = Info.CnvtFldStrToNum(Component, Info.SuppressedText.empty() ? Text : Info.SuppressedText);
    }
  }

  // The page loop asks for a row's values once, whichever page across reads it first.
  if (Accumulate && Level == bnData && PassMode != 2 && !Info.FieldNull && HasTotList)
    ColsList->AddValue(ColNdx, TvlxFieldValue{Info.Values[0]}, 0);

  if (Level == bnTotals && HasNoLetters(Text)) Column->HeadingFlag = 1;
  if (Level == bnTitles || Level == bnTotals) {
    std::replace(Text.begin(), Text.end(), '|', '\r');
    if (Level == bnTitles) std::replace(Text.begin(), Text.end(), '~', '\r');
  } else if (Scan && Column->DataType == ftUnknown) {
    if (!(ReadWhole && ReadAsDouble(Text)) && !IsNumericStr(Text)) Column->DataType = ftString;
    else if (!Column->Numeric && Text.find(FormatSettings.DecimalSeparator) != std::string::npos)
      Column->Numeric = true;
  }
}

bool TObjInfo::CanJudgeDataInPlace() const {
  // Each of these may lengthen or reword the text, or is owed the read itself.
  if (OnFieldEdit || (Component && Component->OnCnvtFldError)) return false;
  return State().PageMode != pmColumnScan && !State().GrpHdrRow;
}

const TColsListData* TObjInfo::InPlaceDataColumn(int ColNdx) {
  const TColsListData* Column = ColsList ? ColsList->Items(ColNdx) : nullptr;
  if (!Column || Column->ColKind == ckLineNo || Column->DataType == ftBoolean) return nullptr;
  CurCell.X = Column->FieldNdx;
  return Column;
}

bool TObjInfo::IsOneLineDataCell(int ColNdx, int Width, std::string& Raw) {
  const TColsListData* Column = Width < 1 ? nullptr : InPlaceDataColumn(ColNdx);
  if (!Column) return false;
  // A repeated group value comes back replaced by the setting's text, or at the top of a page
  // marked with "*" (see SuppressRepeat). The read that is skipped here would only have noted
  // the value: the next read notes it alike.
  const bool GroupValue = Column->SourceColNdx >= 0 && Column->SourceColNdx < Settings().NumGrpBrkCols;
  const int Mark = GroupValue && State().PageTop ? 1 : 0;
  const std::string& SameValue = Settings().GrpBrkSameValue;
  if (GroupValue && (static_cast<int>(SameValue.size()) > Width || !IsPlainLine(SameValue))) return false;
  // Looked at in the object where it can be: the print copies it out anyway.
  const std::string* Text = FRows->DataTextRef(*Column);
  if (!Text) {
    TField* Field = nullptr;
    Raw.clear();  // a source with no field for the column leaves the text as it finds it
    FRows->ReadText(bnData, *Column, true, Raw, Field);
    Text = &Raw;
  }
  // Trimming only shortens it; a break or a macro may make more lines.
  return static_cast<int>(Text->size()) + Mark <= Width && IsPlainLine(*Text);
}

std::optional<bool> TObjInfo::IsDataCellText(int ColNdx, const std::string& Value) {
  const TColsListData* Column = InPlaceDataColumn(ColNdx);
  if (!Column) return std::nullopt;
  const std::string* Text = FRows->DataTextRef(*Column);
  if (!Text || !IsTrimmed(*Text)) return std::nullopt;
  const int Source = Column->SourceColNdx;
  if (Source >= 0 && Source < Settings().NumGrpBrkCols && !FRows->HasOwnTotals()) {
    // Only a value seen before on an earlier line is left as SuppressRepeat finds it, and is
    // either kept or replaced by the setting's text; any other value is for the read to note.
    if (Source >= static_cast<int>(PrevValues.size()) || State().PageTop) return std::nullopt;
    const TPrevValue& Prev = PrevValues[Source];
    if (!Prev.Set || !AnsiSameText(*Text, Prev.Text)) return std::nullopt;
    if (Prev.Line < BandRowNdx(*this, 2)) {
      const std::string& SameValue = Settings().GrpBrkSameValue;
      if (!IsTrimmed(SameValue)) return std::nullopt;
      return AnsiSameText(SameValue, Value);
    }
  }
  return AnsiSameText(*Text, Value);
}

#include "engine/Vellumix/SettingsKeys.h"

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <utility>
#include <variant>

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl0.h"
#include "engine/VLMXUtil.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/SysUtils.h"

namespace {

using S = TvlxReportSettings;
using M = TvlxRptMemo;

struct TItemBit {
  TvlxItemOpt Bit;
};

template <class C>
using TFieldOf = std::variant<int C::*, uint8_t C::*, TPrintWhat C::*, TOutputDest C::*, bool C::*,
                              std::string C::*, TDateTime C::*, TRect C::*, TPoint C::*, TItemBit>;

// A field of one byte: a number, or a code stored as its number.
template <class T>
constexpr bool IsByteField = false;
template <class C, class V>
constexpr bool IsByteField<V C::*> = std::is_same_v<V, uint8_t> || std::is_same_v<V, TPrintWhat> ||
                                     std::is_same_v<V, TOutputDest>;

enum TKeyRule : uint8_t {
  krNone = 0,
  krEmptyReadsAsDefault = 1,
  // The object adapter sets the field itself for a decision grid.
  krNotForDecisionGrid = 2,
};

enum class TComputed : uint8_t {
  None, CountNumRcds, HidePages, GroupColumns, NumGrpBrkCols, AdjGrpBrkLines, OutputFileName,
  GrpBrkLines
};

template <class C>
struct TKeyRow {
  const char* Key;
  const char* Default;
  TFieldOf<C> Field;
  uint8_t Rules = krNone;
  std::size_t MaxLen = 0;  // strings only; 0 is unlimited
  TComputed Computed = TComputed::None;
};

constexpr uint8_t EmptyDef = krEmptyReadsAsDefault;

// The keys in the order they are written. A row's position is its property number.
const TKeyRow<S> KeyRows[] = {
    {"CreatedAtRuntime", "0", &S::CreatedAtRuntime},
    {"NewRpt", "1", &S::NewRpt},
    {"ComponentDeleted", "0", &S::ComponentDeleted},
    {"StyleName", "", &S::StyleName},
    {"OutputDest", "0", &S::OutputDest},
    {"PrintWhat", "0", &S::PrintWhat},
    {"SnapShotSize", "CT", &S::SnapShotSize, krNone, SnapShotSizeMaxLen},
    {"StartingReportLineId", "1", &S::StartingReportLineId},
    {"PageRangeFrom", "0,1", &S::PageRangeFrom},
    {"PageRangeTo", "0,99999", &S::PageRangeTo},
    {"SettingsReadOnly", "0", &S::SettingsReadOnly},
    {"PreviewFirst", "1", &S::PreviewFirst},
    {"CountNumRcds", "", &S::CountNumRcds, krNone, 0, TComputed::CountNumRcds},
    {"RcdEstimate", "100000", &S::RcdEstimate},
    {"UseReportViewer", "0", &S::UseReportViewer},
    {"AppendToFile", "0", &S::AppendToFile},
    {"ShrinkToPage", "1", &S::ShrinkToPage},
    {"ExpandToPage", "0", &S::ExpandToPage},
    {"ShowHint", "1", &S::ShowHint},
    {"ExportOnlyPrintableChrs", "1", &S::ExportOnlyPrintableChrs},
    {"DefaultPrinter", "1", &S::DefaultPrinter},
    {"PrinterName", "", &S::PrinterName},
    {"PauseAfterPrinting", "1", &S::PauseAfterPrinting},
    {"DisplayProgressWin", "1", &S::DisplayProgressWin},
    {"HidePages", "", &S::HidePages, EmptyDef, 0, TComputed::HidePages},
    {"ColumnTotals", "", &S::ColumnTotals, EmptyDef},
    {"HideColumns", "", &S::HideColumns, EmptyDef},
    {"GroupColumns", "", &S::GroupColumns, EmptyDef, 0, TComputed::GroupColumns},
    {"DisplayReportOptionsWin", "1", &S::DisplayReportOptionsWin},
    {"CloseWinAfterPrinting", "0", &S::CloseWinAfterPrinting},
    {"PanelsAcrossPage", "1", &S::PanelsAcrossPage},
    {"NumFixedCols", "-1", &S::NumFixedCols},
    {"TextTruncSymbol", "", &S::TextTruncSymbol},
    {"InterPanelGapThous", "250", &S::InterPanelGapThous},
    {"InterPanelGapTxt", "1", &S::InterPanelGapTxt},
    {"HorizLineFreq", "3", &S::HorizLineFreq},
    {"VertHtAdjPer", "100", &S::VertHtAdjPer},
    {"LinesPerpage", "60", &S::LinesPerpage},
    {"TxtCharsPageWid", "80", &S::TxtCharsPageWid},
    {"PageMarginThous", "250,250,250,250", &S::PageMarginThous},
    {"CellMarginThous", "0,0,0,0", &S::CellMarginThous},
    {"PageMarginTxt", "0,1,0,0", &S::PageMarginTxt},
    {"CellMarginTxt", "1,0,0,0", &S::CellMarginTxt},
    {"MaxStringColWidThous", "2000", &S::MaxStringColWidThous},
    {"MaxMemoColWidThous", "2000", &S::MaxMemoColWidThous},
    {"MaxStringColWidTxt", "20", &S::MaxStringColWidTxt},
    {"MaxMemoColWidTxt", "20", &S::MaxMemoColWidTxt},
    {"MaxStringLines", "2", &S::MaxStringLines},
    {"MaxMemoLines", "2", &S::MaxMemoLines},
    {"MaxGrpBrkLines", "2", &S::MaxGrpBrkLines},
    {"GrpBrkOutdentChars", "2", &S::GrpBrkOutdentChars},
    {"NumGrpBrkCols", "", &S::NumGrpBrkCols, krNotForDecisionGrid, 0, TComputed::NumGrpBrkCols},
    {"GrpBrkSameValue", "", &S::GrpBrkSameValue},
    {"AdjGrpBrkLines", "", &S::AdjGrpBrkLines, krNotForDecisionGrid, 0, TComputed::AdjGrpBrkLines},
    {"ExportMaxStrLng", "100", &S::ExportMaxStrLng},
    {"ExportMaxMemoLng", "100", &S::ExportMaxMemoLng},
    {"AutoSizze", "1", &S::AutoSizze},
    {"MaxRowsToAutoSizze", "100", &S::MaxRowsToAutoSizze},
    {"LargestFontSize", "20", &S::LargestFontSize},
    {"SmallestFontSize", "6", &S::SmallestFontSize},
    {"PreviewZoomLevel", "100", &S::PreviewZoomLevel},
    {"FastPrinterText", "0", &S::FastPrinterText},
    {"AllowFastPrinterText", "0", &S::AllowFastPrinterText},
    {"OutputQuality", "1", &S::OutputQuality},
    {"IfOutputFileExists", "0", &S::IfOutputFileExists},
    {"Orientation", "0", &S::Orientation},
    {"ReportAlignment", "2", &S::ReportAlignment},
    {"ColTitleAlignment", "2", &S::ColTitleAlignment},
    {"DMPaperSize", "0", &S::DMPaperSize},
    {"DMCopies", "0", &S::DMCopies},
    {"DMDuplex", "0", &S::DMDuplex},
    {"DMCollate", "0", &S::DMCollate},
    {"TextFontName", "Letter Gothic Line", &S::TextFontName, EmptyDef},
    {"TextFontSize", "10", &S::TextFontSize},
    {"TextFontStyle", "0", &S::TextFontStyle},
    {"TextFontColor", "0", &S::TextFontColor},
    {"ReplFontName", "Arial", &S::ReplFontName, EmptyDef},
    {"ReplFontSize", "10", &S::ReplFontSize},
    {"ReplFontStyle", "0", &S::ReplFontStyle},
    {"ReplFontColor", "0", &S::ReplFontColor},
    {"ExportFieldDelim", "\t", &S::ExportFieldDelim, krNone, ExportDelimMaxLen},
    {"ExportQuote", "\"", &S::ExportQuote, krNone, ExportDelimMaxLen},
    {"CreateDate", "", &S::CreateDate},
    {"LastSaveDate", "", &S::LastSaveDate},
    {"ReportDesc", "", &S::ReportDesc},
    {"RptPW", "", &S::RptPW},
    {"RptOptPW", "", &S::RptOptPW},
    {"RptSetUpPW", "", &S::RptSetUpPW},
    {"OutputFileName", "", &S::OutputFileName, EmptyDef, 0, TComputed::OutputFileName},
    {"MemoDateFormatStr", "", &S::MemoDateFormatStr, EmptyDef},
    {"MemoTimeFormatStr", "", &S::MemoTimeFormatStr, EmptyDef},
    {"MemoPageFormatStr", "", &S::MemoPageFormatStr, EmptyDef},
    {"InitPrinterStr", "", &S::InitPrinterStr, EmptyDef},
    // A form feed in the printer-string notation, three characters. An emptied delimiter, quote
    // or finishing string is a choice (none), kept as such.
    {"FinishPrinterStr", "#12", &S::FinishPrinterStr},
    {"ioFieldFormat", "1", TItemBit{ioFieldFormat}},
    {"ioVerticalLines", "1", TItemBit{ioVerticalLines}},
    {"ioHorizontalLines", "0", TItemBit{ioHorizontalLines}},
    {"ioBorders", "1", TItemBit{ioBorders}},
    {"ioShareAdjBorders", "1", TItemBit{ioShareAdjBorders}},
    {"ioColumnTitles", "1", TItemBit{ioColumnTitles}},
    {"ioColumnTotals", "1", TItemBit{ioColumnTotals}},
    {"ioPrtGrpBrkHdrColDesc", "1", TItemBit{ioPrtGrpBrkHdrColDesc}},
    {"ioFormFeeds", "1", TItemBit{ioFormFeeds}},
    {"ioAskToPrintSelectedRows", "0", TItemBit{ioAskToPrintSelectedRows}},
    {"ioBoolCheckMark", "1", TItemBit{ioBoolCheckMark}},
    {"ioTrimGridDim", "1", TItemBit{ioTrimGridDim}},
    {"ioGrpBrkLines", "", TItemBit{ioGrpBrkLines}, krNone, 0, TComputed::GrpBrkLines},
    {"ioExceptionOnEmpty", "0", TItemBit{ioExceptionOnEmpty}},
};

// The keys of each memo, "Memo," + memo name + "," + field key; property numbers follow the
// plain keys.
const TKeyRow<M> MemoKeyRows[] = {
    {"MemoXPosPer", "10", &M::XPosPer},
    {"MemoWidPer", "80", &M::WidPer},
    {"MemoMarginThous", "0,0,0,0", &M::MarginThous},
    {"MemoMarginTxt", "0,0,0,0", &M::MarginTxt},
    {"MemoAlignment", "2", &M::Alignment},
    {"MemoVisible", "1", &M::Visible},
    {"MemoFontName", "Arial", &M::FontName, EmptyDef},
    {"MemoFontSize", "12", &M::FontSize},
    {"MemoFontStyle", "0", &M::FontStyle},
    {"MemoFontColor", "0", &M::FontColor},
};

const TSettingRange SettingRanges[] = {
    {"PanelsAcrossPage", sWhole, 1, 10, "Panels Across Page", ""},
    {"InterPanelGapThous", sWhole, 0, 3000, "Space Between Panels", "thousands of inch"},
    {"InterPanelGapTxt", sWhole, 0, 10, "Space Between Panels", "text characters"},
    {"HorizLineFreq", sWhole, 1, 255, "Horizontal Line Frequency", ""},
    {"VertHtAdjPer", sWhole, 50, 200, "Vertical Height Adjustment", "%"},
    {"LinesPerpage", sWhole, 10, 999, "Lines Per Page", "lines"},
    {"TxtCharsPageWid", sWhole, 10, 9999, "Text Page Width is invalid", "text characters"},
    {"RcdEstimate", sWhole, 9, INT_MAX, "Record Estimate", "records"},
    // Line numbers count on from here past the last row; the bound leaves them room.
    {"StartingReportLineId", sWhole, 0, 999999999, "Starting Line#", ""},
    {"MaxStringColWidTxt", sWhole, 3, 999, "Max String Column Width", "characters"},
    {"MaxMemoColWidTxt", sWhole, 3, 999, "Max Memo Column Width", "characters"},
    // The same 3 to 999 characters at ten to the inch.
    {"MaxStringColWidThous", sWhole, 300, 99900, "Max String Column Width", "thousands of an inch"},
    {"MaxMemoColWidThous", sWhole, 300, 99900, "Max Memo Column Width", "thousands of an inch"},
    {"MaxStringLines", sWhole, 0, 999, "Max # of String Lines", "lines"},
    {"MaxMemoLines", sWhole, 0, 999, "Max # of Memo Lines", "lines"},
    {"MaxGrpBrkLines", sWhole, 1, 5, "Max # of Break Title", "lines"},
    {"GrpBrkOutdentChars", sWhole, 0, 5, "Group Break Outdent", "chars"},
    {"NumGrpBrkCols", sWhole, 0, 999, "Number of Group Break Columns", "columns"},
    {"AdjGrpBrkLines", sWhole, -1, 999, "Adjacent Group Break Lines", "lines"},
    {"NumFixedCols", sWhole, -1, 999, "Number of Fixed Columns", "columns"},
    {"MaxRowsToAutoSizze", sWhole, 0, INT_MAX, "AutoSizze Row Limit", "rows"},
    {"ExportMaxStrLng", sWhole, 0, INT_MAX, "Max Export String Length", "characters"},
    {"ExportMaxMemoLng", sWhole, 0, INT_MAX, "Max Export Memo Length", "characters"},
    {"TextFontSize", sWhole, 2, 72, "Text Font Size", "Points"},
    {"ReplFontSize", sWhole, 1, 1000, "Replacement Font Size", "Points"},
    {"LargestFontSize", sWhole, 1, 1000, "Largest Font Size", "Points"},
    {"SmallestFontSize", sWhole, 1, 1000, "Smallest Font Size", "Points"},
    {"MemoFontSize", sWhole, 1, 1000, "Memo Font Size", "Points"},
    {"MemoXPosPer", sWhole, 0, 90, "Report Memo Left Margin", "%"},
    {"MemoWidPer", sWhole, 10, 100, "Report Memo Width", "%"},
    {"PageMarginThous", sLeft, 0, 10000, "Page Left Margin", "thousands of an inch"},
    {"PageMarginThous", sTop, 0, 5000, "Page Top Margin", "thousands of an inch"},
    {"PageMarginThous", sRight, 0, 10000, "Page Right Margin", "thousands of an inch"},
    {"PageMarginThous", sBottom, 0, 5000, "Page Bottom Margin", "thousands of an inch"},
    {"PageMarginTxt", sLeft, 0, 100, "Page Left Margin", "characters"},
    {"PageMarginTxt", sTop, 0, 100, "Page Top Margin", "lines"},
    {"PageMarginTxt", sRight, 0, 100, "Page Right Margin", "characters"},
    {"PageMarginTxt", sBottom, 0, 100, "Page Bottom Margin", "lines"},
    {"CellMarginThous", sLeft, 0, 5000, "Cell Left Margin", "thousands of an inch"},
    {"CellMarginThous", sTop, 0, 5000, "Cell Top Margin", "thousands of an inch"},
    {"CellMarginThous", sRight, 0, 5000, "Cell Right Margin", "thousands of an inch"},
    {"CellMarginThous", sBottom, 0, 5000, "Cell Bottom Margin", "thousands of an inch"},
    {"CellMarginTxt", sLeft, 0, 25, "Cell Left Margin", "characters"},
    {"CellMarginTxt", sTop, 0, 10, "Cell Top Margin", "lines"},
    {"CellMarginTxt", sRight, 0, 25, "Cell Right Margin", "characters"},
    {"CellMarginTxt", sBottom, 0, 10, "Cell Bottom Margin", "lines"},
    {"MemoMarginThous", sLeft, 0, 10000, "Memo Left Margin", "thousands of an inch"},
    {"MemoMarginThous", sTop, 0, 3000, "Space Above Memo", "thousands of inch"},
    {"MemoMarginThous", sRight, 0, 10000, "Memo Right Margin", "thousands of an inch"},
    {"MemoMarginThous", sBottom, 0, 3000, "Space Below Memo", "thousands of inch"},
    {"MemoMarginTxt", sLeft, 0, 100, "Memo Left Margin", "characters"},
    {"MemoMarginTxt", sTop, 0, 10, "Space Above Memo", "text lines"},
    {"MemoMarginTxt", sRight, 0, 100, "Memo Right Margin", "characters"},
    {"MemoMarginTxt", sBottom, 0, 10, "Space Below Memo", "text lines"},
};

// Every code the window offers a choice of. The engine also writes an RTF file (destination 3)
// for a caller that fills the settings itself, but the window's list stops at the export: a
// stored 3 would show an empty destination and quietly become the printer at the next print.
const TSettingCode SettingCodes[] = {
    {"OutputDest", 3, "Output Destination"},
    {"PrintWhat", 9, "Print What"},
    {"IfOutputFileExists", 3, "When Output File Exists"},
    {"OutputQuality", 2, "Output Quality"},
    {"Orientation", 3, "Orientation"},
    {"ReportAlignment", 3, "Report Alignment"},
    {"ColTitleAlignment", 3, "Column Title Alignment"},
    {"AutoSizze", 3, "AutoSizing"},
    {"MemoAlignment", 3, "Memo Alignment"},
};

// The field part of a key: the text after the second comma of a memo key, else the key.
std::string FieldKey(const std::string& Key) {
  const size_t First = Key.find(',');
  const size_t Second = First == std::string::npos ? First : Key.find(',', First + 1);
  return Second == std::string::npos ? Key : Key.substr(Second + 1);
}

// Value, or the default when the range refuses it, which is noted for the start to report.
int Ranged(int Value, int Default, const std::string& Key, TSettingSide Side, TvlxReportSettings& Settings) {
  const TSettingRange* Range = FindSettingRange(Key, Side);
  if (!Range || Range->Contains(Value)) return Value;
  Settings.Refused.push_back({Key, Side, IntToStr(Value)});
  return Default;
}

// A code's byte, or the default's when the code is none of the choices, which is noted for the
// start to report.
int Coded(int Byte, int Default, const std::string& Key, TvlxReportSettings& Settings) {
  const TSettingCode* Code = FindSettingCode(Key);
  if (!Code || Code->Contains(Byte)) return Byte;
  Settings.Refused.push_back({Key, sWhole, IntToStr(Byte)});
  return Default;
}

constexpr int KeyRowCount = static_cast<int>(std::size(KeyRows));
constexpr int MemoKeyRowCount = static_cast<int>(std::size(MemoKeyRows));
static_assert(KeyRowCount + MemoKeyRowCount <= 256, "property numbers are bytes");

template <class C>
TrsfForm FormOf(const TFieldOf<C>& Field) {
  return std::visit(
      [](auto P) -> TrsfForm {
        using T = decltype(P);
        if constexpr (std::is_same_v<T, int C::*> || IsByteField<T>) return rfInteger;
        else if constexpr (std::is_same_v<T, bool C::*> || std::is_same_v<T, TItemBit>) return rfBoolean;
        else if constexpr (std::is_same_v<T, std::string C::*>) return rfString;
        else if constexpr (std::is_same_v<T, TDateTime C::*>) return rfDateTime;
        else if constexpr (std::is_same_v<T, TRect C::*>) return rfRect;
        else return rfPair;
      },
      Field);
}

// Stores Value in Row's field of Obj; Settings receives the style option bits and the numbers
// refused as Key's.
template <class C>
void ApplyToField(const TKeyRow<C>& Row, C& Obj, TvlxReportSettings& Settings, const std::string& Key,
                  const std::string& Default, const std::string& StoredValue) {
  // A text the field's form cannot read is told, not quietly replaced: the field takes the
  // default, and the load lists the text as stored for the start to name.
  const bool Readable = ReadsAsStored(FormOf(Row.Field), StoredValue);
  if (!Readable) Settings.Refused.push_back({Key, sWhole, StoredValue});
  const std::string& Value = Readable ? StoredValue : Default;
  std::visit(
      [&](auto P) {
        using T = decltype(P);
        if constexpr (std::is_same_v<T, TItemBit>) {
          Settings.SetItemOpt(P.Bit, TextToBool(Value, Default));
        } else if constexpr (std::is_same_v<T, int C::*>) {
          Obj.*P = Ranged(TextToInt(Value, Default), TextToInt(Default, ""), Key, sWhole, Settings);
        } else if constexpr (IsByteField<T>) {
          using V = std::remove_reference_t<decltype(Obj.*P)>;
          // The low byte is read, as a byte field always has been; a byte outside the choices
          // would select no item and lock the report on a quality it cannot load.
          const int Byte = static_cast<uint8_t>(TextToInt(Value, Default));
          Obj.*P = static_cast<V>(Coded(Byte, static_cast<uint8_t>(TextToInt(Default, "")), Key, Settings));
        } else if constexpr (std::is_same_v<T, bool C::*>) {
          Obj.*P = TextToBool(Value, Default);
        } else if constexpr (std::is_same_v<T, std::string C::*>) {
          std::string Text = Row.Rules & krEmptyReadsAsDefault ? PickValue(Value, Default) : Value;
          if (Row.MaxLen && Text.size() > Row.MaxLen) Text.resize(Row.MaxLen);
          Obj.*P = std::move(Text);
        } else if constexpr (std::is_same_v<T, TDateTime C::*>) {
          Obj.*P = TextToDateTime(Value, Default);
        } else if constexpr (std::is_same_v<T, TRect C::*>) {
          const TRect Read = TextToRect(Value, Default), Def = TextToRect(Default, "");
          Obj.*P = {Ranged(Read.Left, Def.Left, Key, sLeft, Settings),
                    Ranged(Read.Top, Def.Top, Key, sTop, Settings),
                    Ranged(Read.Right, Def.Right, Key, sRight, Settings),
                    Ranged(Read.Bottom, Def.Bottom, Key, sBottom, Settings)};
        } else {
          Obj.*P = TextToPoint(Value, Default);
        }
      },
      Row.Field);
}

template <class C>
std::string FieldText(const TKeyRow<C>& Row, const C& Obj, const TvlxReportSettings& Settings) {
  return std::visit(
      [&](auto P) -> std::string {
        using T = decltype(P);
        if constexpr (std::is_same_v<T, TItemBit>) return Settings.ItemOpt(P.Bit) ? "1" : "0";
        else if constexpr (std::is_same_v<T, int C::*>) return IntToStr(Obj.*P);
        else if constexpr (IsByteField<T>) return IntToStr(int{static_cast<uint8_t>(Obj.*P)});
        else if constexpr (std::is_same_v<T, bool C::*>) return Obj.*P ? "1" : "0";
        else if constexpr (std::is_same_v<T, std::string C::*>) return Obj.*P;
        else if constexpr (std::is_same_v<T, TDateTime C::*>) return DateTimeToText(Obj.*P);
        else if constexpr (std::is_same_v<T, TRect C::*>) return RectToText(Obj.*P);
        else return PointToText(Obj.*P);
      },
      Row.Field);
}

std::string ComputedDefault(TComputed Kind, const TvlxReportSettings* Settings) {
  const bool Grid = ObjInfo && ObjInfo->IsDecisionGrid();
  switch (Kind) {
    case TComputed::CountNumRcds:
      // A query sorts on the server; counting its records would run it twice.
      return ObjInfo && ObjInfo->SortedBySQL ? "0" : "1";
    case TComputed::HidePages: return Grid ? "~Line#" : "";
    case TComputed::GroupColumns: return ObjInfo ? ObjInfo->SortFields : "";
    case TComputed::NumGrpBrkCols:
      return Settings && Grid ? IntToStr(ObjInfo->FixedCols) : "0";
    case TComputed::AdjGrpBrkLines:
      return Settings && Grid ? IntToStr(ObjInfo->FixedCols - 1) : "0";
    case TComputed::OutputFileName:
      return IncludeTrailingPathDelimiter(ExpandFileName(".")) + "Rpt.Txt";
    case TComputed::GrpBrkLines: return Grid ? "1" : "0";
    case TComputed::None: break;
  }
  return "";
}

// The text between the first and the second comma of a memo key.
std::string MemoNameOfKey(const std::string& Key) {
  const size_t First = Key.find(',');
  if (First == std::string::npos) return "";
  const size_t Second = Key.find(',', First + 1);
  return Key.substr(First + 1, Second == std::string::npos ? std::string::npos : Second - First - 1);
}

}  // namespace

// ---- TrsfList --------------------------------------------------------------------------------

void TrsfList::Add(const std::string& Key, const TrsfData& Data) {
  FIndex.emplace(UpperCase(Key), Count());
  FEntries.push_back({Key, Data});
}

const TrsfEntry* TrsfList::Find(const std::string& Key) const {
  const auto It = FIndex.find(UpperCase(Key));
  return It == FIndex.end() ? nullptr : &FEntries[It->second];
}

TrsfEntry* TrsfList::Find(const std::string& Key) {
  return const_cast<TrsfEntry*>(static_cast<const TrsfList*>(this)->Find(Key));
}

// ---- TvlxSettingsKeys ------------------------------------------------------------------------

TvlxSettingsKeys::TvlxSettingsKeys(TvlxReportSettings* Settings) : FSettings(Settings) {
  BuildSettingsKeyList();
}

void TvlxSettingsKeys::BuildSettingsKeyList() {
  if (!FList.Empty()) return;
  for (int I = 0; I < KeyRowCount; ++I) {
    const auto& Row = KeyRows[I];
    AddSetting(Row.Key, FormOf(Row.Field), static_cast<uint8_t>(I),
               Row.Computed == TComputed::None ? Row.Default : ComputedDefault(Row.Computed, FSettings));
  }
  for (int Memo = 0; Memo < RptMemoCount; ++Memo)
    for (int I = 0; I < MemoKeyRowCount; ++I)
      AddSetting("Memo," + RptMemoName(Memo) + "," + MemoKeyRows[I].Key,
                 FormOf(MemoKeyRows[I].Field), static_cast<uint8_t>(KeyRowCount + I),
                 MemoKeyRows[I].Default);
}

void TvlxSettingsKeys::AddSetting(const std::string& Key, TrsfForm Form, uint8_t PropertyNumber,
                                  const std::string& Default) {
  // The value starts as the default so that an entry nothing renders is never written.
  FList.Add(Key, {Form, PropertyNumber, Default, Default});
}

void TvlxSettingsKeys::ApplySetting(uint8_t PropertyNumber, const std::string& Key,
                                    const std::string& Default, const std::string& Value) {
  if (!FSettings) return;
  if (PropertyNumber < KeyRowCount) {
    const auto& Row = KeyRows[PropertyNumber];
    if (Row.Rules & krNotForDecisionGrid && ObjInfo && ObjInfo->IsDecisionGrid()) return;
    ApplyToField(Row, *FSettings, *FSettings, Key, Default, Value);
  } else if (PropertyNumber < KeyRowCount + MemoKeyRowCount) {
    if (TvlxRptMemo* Memo = FSettings->RptMemo(RptMemoIndexOfName(MemoNameOfKey(Key))))
      ApplyToField(MemoKeyRows[PropertyNumber - KeyRowCount], *Memo, *FSettings, Key, Default, Value);
  } else {
    throw eVlxIntError("[ApplySetting] PropertyNumber:" +
                       IntToStr(int{PropertyNumber}) + " is invalid");
  }
}

void TvlxSettingsKeys::ApplyDefaults() {
  if (!FSettings) return;
  FSettings->ItemOpts = 0;
  for (const TrsfEntry& Entry : FList) ApplySetting(Entry, Entry.Data.Default);
  FSettings->Refused.clear();
  // A report loaded into settings that held another one must not keep that one's titles.
  for (int I = 0; I < RptMemoCount; ++I)
    if (TvlxRptMemo* Memo = FSettings->RptMemo(I)) Memo->Text = I == PgNum ? PgNumMemoDefaultText : "";
}

void TvlxSettingsKeys::SettingsToKeyList() {
  if (!FSettings) return;
  for (const TrsfEntry& Entry : FList) {
    const uint8_t Property = Entry.Data.PropertyNumber;
    if (Property < KeyRowCount) {
      SetKeyValueText(Entry.Key, FieldText(KeyRows[Property], *FSettings, *FSettings));
    } else if (Property < KeyRowCount + MemoKeyRowCount) {
      if (const TvlxRptMemo* Memo = FSettings->RptMemo(RptMemoIndexOfName(MemoNameOfKey(Entry.Key))))
        SetKeyValueText(Entry.Key, FieldText(MemoKeyRows[Property - KeyRowCount], *Memo, *FSettings));
    }
  }
}

void TvlxSettingsKeys::SetKeyValueText(const std::string& Key, const std::string& Text) {
  TrsfEntry* Entry = FList.Find(Key);
  if (!Entry)
    throw eVlxSUError("Report settings key \"" + Key + "\" is unknown");
  Entry->Data.Value = Text;
}

// ---- Ranges ----------------------------------------------------------------------------------

std::string TSettingRange::Message(int Limit) const {
  return std::string(Name) + " must be between " + IntToStr(Min) + " and " + IntToStr(std::min(Max, Limit)) + " " +
         Units;
}

const TSettingRange* FindSettingRange(const std::string& Key, TSettingSide Side) {
  const std::string Field = FieldKey(Key);
  for (const TSettingRange& R : SettingRanges)
    if (R.Side == Side && SameText(Field, R.Key)) return &R;
  return nullptr;
}

const TSettingCode* FindSettingCode(const std::string& Key) {
  const std::string Field = FieldKey(Key);
  for (const TSettingCode& C : SettingCodes)
    if (SameText(Field, C.Key)) return &C;
  return nullptr;
}

std::string RefusedMessage(const TRefusedSetting& Refused) {
  if (const TSettingRange* Range = FindSettingRange(Refused.Key, Refused.Side)) return Range->Message();
  const TSettingCode* Code = Refused.Side == sWhole ? FindSettingCode(Refused.Key) : nullptr;
  return (Code ? std::string(Code->Name) : Refused.Key) + " \"" + Refused.Value +
         "\" is invalid. Please choose a different one.";
}

std::string CheckRefusedSettings(const TvlxReportSettings& Settings, const TRefusedSetting** Refused) {
  if (Refused) *Refused = nullptr;
  for (const TRefusedSetting& R : Settings.Refused)
    if (std::string Message = RefusedMessage(R); !R.Told && !Message.empty()) {
      if (Refused) *Refused = &R;
      return Message;
    }
  return "";
}

#include "engine/Vellumix/SettingsKeys.h"

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
    {"ExportFieldDelim", "\t", &S::ExportFieldDelim, EmptyDef, ExportDelimMaxLen},
    {"ExportQuote", "\"", &S::ExportQuote, EmptyDef, ExportDelimMaxLen},
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
    // A form feed in the printer-string notation, three characters.
    {"FinishPrinterStr", "#12", &S::FinishPrinterStr, EmptyDef},
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

// The ranges of the numbers that pages, columns, fonts and buffers are sized from; a rect's
// first range bounds Left and Right, its second Top and Bottom.
const struct {
  const char* Key;
  TValueRange Range, Vert{};
} KeyRanges[] = {
    {"PanelsAcrossPage", {1, 10}},          {"InterPanelGapThous", {0, 3000}},
    {"InterPanelGapTxt", {0, 10}},          {"HorizLineFreq", {1, 255}},
    {"VertHtAdjPer", {50, 200}},            {"LinesPerpage", {10, 999}},
    {"TxtCharsPageWid", {10, 9999}},        {"RcdEstimate", {9, INT_MAX}},
    {"MaxStringColWidTxt", {3, 999}},       {"MaxMemoColWidTxt", {3, 999}},
    {"MaxStringColWidThous", {0, 100000}},  {"MaxMemoColWidThous", {0, 100000}},
    {"MaxStringLines", {0, 999}},           {"MaxMemoLines", {0, 999}},
    {"MaxGrpBrkLines", {1, 5}},             {"GrpBrkOutdentChars", {0, 5}},
    {"NumGrpBrkCols", {0, 999}},            {"AdjGrpBrkLines", {-1, 999}},
    {"NumFixedCols", {-1, 999}},            {"TextFontSize", {2, 72}},
    {"ReplFontSize", {1, 1000}},            {"LargestFontSize", {1, 1000}},
    {"SmallestFontSize", {1, 1000}},        {"MemoFontSize", {1, 1000}},
    {"MemoXPosPer", {0, 90}},               {"MemoWidPer", {10, 100}},
    {"PageMarginThous", {0, 10000}, {0, 5000}}, {"PageMarginTxt", {0, 100}, {0, 100}},
    {"CellMarginThous", {0, 5000}, {0, 5000}},  {"CellMarginTxt", {0, 25}, {0, 10}},
    {"MemoMarginThous", {0, 10000}, {0, 3000}}, {"MemoMarginTxt", {0, 100}, {0, 10}},
};

template <class C>
std::pair<TValueRange, TValueRange> RangesOf(const TKeyRow<C>& Row) {
  for (const auto& R : KeyRanges)
    if (std::strcmp(R.Key, Row.Key) == 0) return {R.Range, R.Vert};
  return {};
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

// Stores Value in Row's field of Obj; Settings receives the style option bits.
template <class C>
void ApplyToField(const TKeyRow<C>& Row, C& Obj, TvlxReportSettings& Settings,
                  const std::string& Default, const std::string& Value) {
  std::visit(
      [&](auto P) {
        using T = decltype(P);
        if constexpr (std::is_same_v<T, TItemBit>) {
          Settings.SetItemOpt(P.Bit, TextToBool(Value, Default));
        } else if constexpr (std::is_same_v<T, int C::*>) {
          Obj.*P = TextToInt(Value, Default, RangesOf(Row).first);
        } else if constexpr (IsByteField<T>) {
          using V = std::remove_reference_t<decltype(Obj.*P)>;
          Obj.*P = static_cast<V>(static_cast<uint8_t>(TextToInt(Value, Default)));  // the low byte
        } else if constexpr (std::is_same_v<T, bool C::*>) {
          Obj.*P = TextToBool(Value, Default);
        } else if constexpr (std::is_same_v<T, std::string C::*>) {
          std::string Text = Row.Rules & krEmptyReadsAsDefault ? PickValue(Value, Default) : Value;
          if (Row.MaxLen && Text.size() > Row.MaxLen) Text.resize(Row.MaxLen);
          Obj.*P = std::move(Text);
        } else if constexpr (std::is_same_v<T, TDateTime C::*>) {
          Obj.*P = TextToDateTime(Value, Default);
        } else if constexpr (std::is_same_v<T, TRect C::*>) {
          const auto [Horz, Vert] = RangesOf(Row);
          Obj.*P = TextToRect(Value, Default, Horz, Vert);
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
    ApplyToField(Row, *FSettings, *FSettings, Default, Value);
  } else if (PropertyNumber < KeyRowCount + MemoKeyRowCount) {
    if (TvlxRptMemo* Memo = FSettings->RptMemo(RptMemoIndexOfName(MemoNameOfKey(Key))))
      ApplyToField(MemoKeyRows[PropertyNumber - KeyRowCount], *Memo, *FSettings, Default, Value);
  } else {
    throw eVlxIntError("[ApplySetting] PropertyNumber:" +
                       IntToStr(int{PropertyNumber}) + " is invalid");
  }
}

void TvlxSettingsKeys::ApplyDefaults() {
  if (!FSettings) return;
  FSettings->ItemOpts = 0;
  for (const TrsfEntry& Entry : FList) ApplySetting(Entry, Entry.Data.Default);
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

// Moving every setting between the setup window's controls and the report settings at once:
// loading when the run starts or the window shows again, writing back after the checks.
// Sizes go through the unit regime in force: text characters and lines, or thousandths of an
// inch.
#include <algorithm>
#include <climits>

#include "engine/VLMXGbl/Memo.h"
#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PageNumbers.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/Run.h"
#include "engine/VLMXGbl/RunStart.h"
#include "engine/VLMXUtil.h"
#include "engine/Vellumix/ReportSettings.h"
#include "engine/Vellumix/SettingsKeys.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Grids.h"
#include "framework/StdCtrls.h"
#include "framework/rtl/DateUtils.h"
#include "framework/rtl/SysUtils.h"
#include "engine/VLMXGbl/ColumnTotals.h"
#include "windows/VLMXMain/VLMXMain.h"

namespace {

using S = TvlxReportSettings;
using F = TfmVlxMain;

// Whole-number edits with their settings keys: decimal text one way; the other way only a
// whole number in the key's range is taken, anything else leaves the last good value.
struct TNumberRow {
  TEdit* F::*Edit;
  int S::*Field;
  const char* Key;
};
const TNumberRow NumberRows[] = {
    {&F::edPanelsAcrossPage, &S::PanelsAcrossPage, "PanelsAcrossPage"},
    {&F::edNumFixedColumns, &S::NumFixedCols, "NumFixedCols"},
    {&F::edHorizLineFreq, &S::HorizLineFreq, "HorizLineFreq"},
    {&F::edVertHtAdjPer, &S::VertHtAdjPer, "VertHtAdjPer"},
    {&F::edLinesPerPage, &S::LinesPerpage, "LinesPerpage"},
    {&F::edTxtCharsPageWid, &S::TxtCharsPageWid, "TxtCharsPageWid"},
    {&F::edMaxStringLines, &S::MaxStringLines, "MaxStringLines"},
    {&F::edMaxMemoLines, &S::MaxMemoLines, "MaxMemoLines"},
    {&F::edMaxRowsToAutoSizze, &S::MaxRowsToAutoSizze, "MaxRowsToAutoSizze"},
    {&F::edLargestFontSize, &S::LargestFontSize, "LargestFontSize"},
    {&F::edSmallestFontSize, &S::SmallestFontSize, "SmallestFontSize"},
    {&F::edTextFontSize, &S::TextFontSize, "TextFontSize"},
    {&F::edReplFontSize, &S::ReplFontSize, "ReplFontSize"},
    {&F::edExportMaxStrLng, &S::ExportMaxStrLng, "ExportMaxStrLng"},
    {&F::edExportMaxMemoLng, &S::ExportMaxMemoLng, "ExportMaxMemoLng"},
    {&F::edMaxGrpBrkLines, &S::MaxGrpBrkLines, "MaxGrpBrkLines"},
    {&F::edGrpBrkOutdentChars, &S::GrpBrkOutdentChars, "GrpBrkOutdentChars"},
    {&F::edNumGrpBrkCols, &S::NumGrpBrkCols, "NumGrpBrkCols"},
    {&F::edAdjGrpBrkLines, &S::AdjGrpBrkLines, "AdjGrpBrkLines"},
    {&F::edStartingReportLineId, &S::StartingReportLineId, "StartingReportLineId"},
};

// Text edits, taken as typed.
struct TTextRow {
  TEdit* F::*Edit;
  std::string S::*Field;
  const char* Key;
};
const TTextRow TextRows[] = {
    {&F::edTextTruncSymbol, &S::TextTruncSymbol, "TextTruncSymbol"},
    {&F::edFastTextPrinterInit, &S::InitPrinterStr, "InitPrinterStr"},
    {&F::edFastTextPrinterFinish, &S::FinishPrinterStr, "FinishPrinterStr"},
    {&F::edTextFontName, &S::TextFontName, "TextFontName"},
    {&F::edReplFontName, &S::ReplFontName, "ReplFontName"},
    {&F::edGrpBrkSameValue, &S::GrpBrkSameValue, "GrpBrkSameValue"},
    {&F::edMemoTimeFormatStr, &S::MemoTimeFormatStr, "MemoTimeFormatStr"},
    {&F::edMemoDateFormatStr, &S::MemoDateFormatStr, "MemoDateFormatStr"},
    {&F::edMemoPageFormatStr, &S::MemoPageFormatStr, "MemoPageFormatStr"},
    {&F::edOutputFileName, &S::OutputFileName, "OutputFileName"},
};

struct TCheckRow {
  TCheckBox* F::*Box;
  bool S::*Field;
  const char* Key;
};
const TCheckRow CheckRows[] = {
    {&F::cbUseReportViewer, &S::UseReportViewer, "UseReportViewer"},
    {&F::cbShrinkToPage, &S::ShrinkToPage, "ShrinkToPage"},
    {&F::cbExpandToPage, &S::ExpandToPage, "ExpandToPage"},
    {&F::cbDefaultPrinter, &S::DefaultPrinter, "DefaultPrinter"},
    {&F::cbExportOnlyPrintableChrs, &S::ExportOnlyPrintableChrs, "ExportOnlyPrintableChrs"},
    {&F::cbFastPrinterText, &S::FastPrinterText, "FastPrinterText"},
    {&F::cbAllowFastPrinterText, &S::AllowFastPrinterText, "AllowFastPrinterText"},
    {&F::cbPauseAfterPrinting, &S::PauseAfterPrinting, "PauseAfterPrinting"},
    {&F::cbDisplayProgressWin, &S::DisplayProgressWin, "DisplayProgressWin"},
    {&F::cbDisplayReportOptionsWin, &S::DisplayReportOptionsWin, "DisplayReportOptionsWin"},
    {&F::cbCloseWinAfterPrinting, &S::CloseWinAfterPrinting, "CloseWinAfterPrinting"},
    {&F::cbShowHint, &S::ShowHint, "ShowHint"},
    {&F::cbSettingsReadOnly, &S::SettingsReadOnly, "SettingsReadOnly"},
    {&F::cbPreviewFirst, &S::PreviewFirst, "PreviewFirst"},
};

// Combo boxes whose item index is the stored code; a text that is no item stores Default, and
// with SetIt also selects it.
struct TCodeRow {
  TComboBox* F::*Combo;
  uint8_t S::*Field;
  int Default;
  bool SetIt;
  const char* Key;
};
const TCodeRow CodeRows[] = {
    {&F::cbxReportAlignment, &S::ReportAlignment, 0, false, "ReportAlignment"},
    {&F::cbxColTitleAlignment, &S::ColTitleAlignment, 0, false, "ColTitleAlignment"},
    {&F::cbxOrientation, &S::Orientation, 0, true, "Orientation"},
    {&F::cbxAutoSizze, &S::AutoSizze, 1, true, "AutoSizze"},
};

// Sizes with one stored value per unit regime, in the order the transfers take them, with the
// key and side of each regime's value.
struct TRegimeRow {
  TEdit* F::*Edit;
  int& (*Field)(S& Settings, bool Text);
  const char* TextKey;
  const char* ThousKey;
  TSettingSide Side = sWhole;
};
int& PageLeft(S& R, bool T) { return (T ? R.PageMarginTxt : R.PageMarginThous).Left; }
int& PageRight(S& R, bool T) { return (T ? R.PageMarginTxt : R.PageMarginThous).Right; }
int& PageTop(S& R, bool T) { return (T ? R.PageMarginTxt : R.PageMarginThous).Top; }
int& PageBottom(S& R, bool T) { return (T ? R.PageMarginTxt : R.PageMarginThous).Bottom; }
int& CellLeft(S& R, bool T) { return (T ? R.CellMarginTxt : R.CellMarginThous).Left; }
int& CellRight(S& R, bool T) { return (T ? R.CellMarginTxt : R.CellMarginThous).Right; }
int& CellTop(S& R, bool T) { return (T ? R.CellMarginTxt : R.CellMarginThous).Top; }
int& CellBottom(S& R, bool T) { return (T ? R.CellMarginTxt : R.CellMarginThous).Bottom; }
int& PanelGap(S& R, bool T) { return T ? R.InterPanelGapTxt : R.InterPanelGapThous; }
int& StringWid(S& R, bool T) { return T ? R.MaxStringColWidTxt : R.MaxStringColWidThous; }
int& MemoWid(S& R, bool T) { return T ? R.MaxMemoColWidTxt : R.MaxMemoColWidThous; }
const TRegimeRow MarginRows[] = {
    {&F::edPageMarginLeft, PageLeft, "PageMarginTxt", "PageMarginThous", sLeft},
    {&F::edPageMarginRight, PageRight, "PageMarginTxt", "PageMarginThous", sRight},
    {&F::edPageMarginTop, PageTop, "PageMarginTxt", "PageMarginThous", sTop},
    {&F::edPageMarginBottom, PageBottom, "PageMarginTxt", "PageMarginThous", sBottom},
    {&F::edCellMarginLeft, CellLeft, "CellMarginTxt", "CellMarginThous", sLeft},
    {&F::edCellMarginRight, CellRight, "CellMarginTxt", "CellMarginThous", sRight},
    {&F::edCellMarginTop, CellTop, "CellMarginTxt", "CellMarginThous", sTop},
    {&F::edCellMarginBottom, CellBottom, "CellMarginTxt", "CellMarginThous", sBottom},
};
const TRegimeRow WidthRows[] = {
    {&F::edMaxStringColWid, StringWid, "MaxStringColWidTxt", "MaxStringColWidThous"},
    {&F::edMaxMemoColWid, MemoWid, "MaxMemoColWidTxt", "MaxMemoColWidThous"},
};
const TRegimeRow GapRow = {&F::edInterPanelGap, PanelGap, "InterPanelGapTxt", "InterPanelGapThous"};

// The selected memo's numbers: key (after "Memo," and the memo's name) and side.
struct TMemoRow {
  TEdit* F::*Edit;
  const char* TextKey;
  const char* ThousKey;
  TSettingSide Side;
};
const TMemoRow MemoRows[] = {
    {&F::edMemoXPosPer, "MemoXPosPer", "MemoXPosPer", sWhole},
    {&F::edMemoWidPer, "MemoWidPer", "MemoWidPer", sWhole},
    {&F::edMemoSpacesAbove, "MemoMarginTxt", "MemoMarginThous", sTop},
    {&F::edMemoSpacesBelow, "MemoMarginTxt", "MemoMarginThous", sBottom},
};

const std::vector<std::string> DelimNames = {"Tab", "Comma"};
const std::vector<std::string> DelimValues = {"\t", ","};
const std::vector<std::string> QuoteNames = {"Double Quote", "Single Quote"};
const std::vector<std::string> QuoteValues = {"\"", "'"};

bool TextRegime() { return PrintSettings->UnitSet == usText; }

// Field := the edit's number when it is one that Key's range holds; the load's refusal of the
// key is settled then. Anything else leaves the field as it was: the checks that ran told the
// user, and no check that was skipped may put a number the settings cannot keep.
void Store(const TEdit* Edit, int& Field, const std::string& Key, TSettingSide Side) {
  int Value = 0;
  const std::string Text = Trim(Edit->Text());
  if (!Text.empty() && !TryStrToInt(Text, Value)) return;
  if (const TSettingRange* Range = FindSettingRange(Key, Side); Range && !Range->Contains(Value)) return;
  auto& Refused = RptSettings->Refused;
  const auto OfKey = [&](const TRefusedSetting& R) { return R.Side == Side && SameText(R.Key, Key); };
  // The edit shows a refused text as stored; one the window would take (an empty one reads as
  // 0) waits until the user has heard of it.
  if (std::any_of(Refused.begin(), Refused.end(), [&](const TRefusedSetting& R) { return OfKey(R) && !R.Told; }))
    return;
  Field = Value;
  Refused.erase(std::remove_if(Refused.begin(), Refused.end(), OfKey), Refused.end());
}

std::string MemoKey(int Memo, const char* Field) { return "Memo," + RptMemoName(Memo) + "," + Field; }

int SpinnerValue(int Value) { return std::clamp(Value, SHRT_MIN, SHRT_MAX); }

}  // namespace

void TfmVlxMain::SettingsToForm() {
  TvlxReportSettings& R = *RptSettings;
  const bool WasModified = R.Modified;
  FSkipValidation = FSkipOutputRefresh = FSuppressEvents = true;
  struct TClosing {
    TfmVlxMain& Form;
    bool WasModified;
    ~TClosing() {
      Form.FSkipValidation = Form.FSkipOutputRefresh = Form.FSuppressEvents = false;
      Form.ClearEditsModified();
      if (RptSettings) RptSettings->Modified = WasModified;
    }
  } Closing{*this, WasModified};

  for (int I = 0; I < gbPrintWhat->ControlCount(); ++I) {
    auto* Radio = dynamic_cast<TRadioButton*>(gbPrintWhat->Controls(I));
    if (Radio && Radio->Tag == R.PrintWhat) {
      Radio->SetChecked(true);
      break;
    }
  }
  cmbSnapshotSize->SetText(TvlxReportSettings::PreviewSizeText(R.SnapShotSize));
  PrintSettings->SetTextMode();
  const bool Text = TextRegime();
  if (ObjInfo && ObjInfo->ColsList) {
    LoadColumnTotals(*ObjInfo->ColsList, R);
    ObjInfo->CountTotalLines();
    SizeColumnsGrid();
    dgColumns->Invalidate();
  }
  cbxOutputDest->SetItemIndex(R.OutputDest < cbxOutputDest->Items().Count() ? R.OutputDest : -1);
  cmbPrinters->SetText(R.PrinterName);
  for (const TCheckRow& Row : CheckRows) (this->*Row.Box)->SetChecked(R.*Row.Field);
  for (const TNumberRow& Row : NumberRows) (this->*Row.Edit)->SetText(IntToStr(R.*Row.Field));
  for (const TTextRow& Row : TextRows) (this->*Row.Edit)->SetText(R.*Row.Field);
  edInterPanelGap->SetText(IntToStr(PanelGap(R, Text)));
  rbCountNumRcds->SetChecked(R.CountNumRcds);
  rbEstimateNumRcds->SetChecked(!rbCountNumRcds->Checked());
  edRcdEstimate->SetText(IntToStr(R.RcdEstimate));
  edPageRangeFrom->SetText(TvlxReportSettings::PairToText(R.PageRangeFrom));
  edPageRangeTo->SetText(TvlxReportSettings::PairToText(R.PageRangeTo));
  for (const TCodeRow& Row : CodeRows) {
    TComboBox* Combo = this->*Row.Combo;
    const int Code = R.*Row.Field;
    Combo->SetItemIndex(Code < Combo->Items().Count() ? Code : -1);
  }
  for (const TRegimeRow& Row : MarginRows) (this->*Row.Edit)->SetText(IntToStr(Row.Field(R, Text)));
  for (const TRegimeRow& Row : WidthRows) (this->*Row.Edit)->SetText(IntToStr(Row.Field(R, Text)));
  if (cbxOutputQuality->OnDropDown) cbxOutputQuality->OnDropDown(this);
  const std::string Letters = "AI";
  SelectComboByLetter(cbxOutputQuality, R.OutputQuality < Letters.size() ? Letters.substr(R.OutputQuality, 1) : "",
                      "A");
  SelectComboText(R.ExportFieldDelim, cmbExportFieldDelim, DelimValues);
  SelectComboText(R.ExportQuote, cmbExportQuote, QuoteValues);
  spNumGrpBrkCols->SetMax(SpinnerValue(ObjInfo ? ObjInfo->ColCount : 0));
  spNumGrpBrkCols->SetPosition(SpinnerValue(R.NumGrpBrkCols));
  spAdjGrpBrkLines->SetPosition(SpinnerValue(R.AdjGrpBrkLines));
  cbRptPW->SetChecked(!R.RptPW.empty());
  cbRptSetupPW->SetChecked(!R.RptSetUpPW.empty());
  cbRptOptPW->SetChecked(!R.RptOptPW.empty());
  if (PrintSettings) {
    const TDateTime When = Now();
    PrintSettings->RunTimeText = FormatMemoDateTime(edMemoTimeFormatStr->Text(), "t", When);
    PrintSettings->RunDateText = FormatMemoDateTime(edMemoDateFormatStr->Text(), "ddddd", When);
  }
  HiddenPagesToBoxes(R.HidePages);
  ApplyTabVisibility(false);
  // The style options and the selected memo have their own loading, run here so that a reload
  // (after the preview) shows the settings as they now are.
  FillStyleOptsList(true);
  LoadMemoControls();
  // A stored number the load refused shows as stored, for the checks to name it.
  for (const TRefusedSetting& Refused : R.Refused)
    if (TEdit* Edit = NumberEditOfKey(Refused.Key, Refused.Side)) Edit->SetText(Refused.Value);
}

bool TfmVlxMain::SettingKeyOfEdit(const TControl* Edit, std::string& Key, TSettingSide& Side) const {
  const bool Text = TextRegime();
  Side = sWhole;
  for (const TNumberRow& Row : NumberRows)
    if (this->*Row.Edit == Edit) {
      Key = Row.Key;
      return true;
    }
  const auto Find = [&](const TRegimeRow* Begin, const TRegimeRow* End) -> const TRegimeRow* {
    for (const TRegimeRow* Row = Begin; Row != End; ++Row)
      if (this->*Row->Edit == Edit) return Row;
    return nullptr;
  };
  const TRegimeRow* Row = Find(std::begin(MarginRows), std::end(MarginRows));
  if (!Row) Row = Find(std::begin(WidthRows), std::end(WidthRows));
  if (!Row) Row = Find(&GapRow, &GapRow + 1);
  if (Row) {
    Side = Row->Side;
    Key = Text ? Row->TextKey : Row->ThousKey;
    return true;
  }
  if (Edit == edRcdEstimate) {
    Key = "RcdEstimate";
    return true;
  }
  const int Memo = lbxMemoLocation->ItemIndex();
  for (const TMemoRow& M : MemoRows)
    if (this->*M.Edit == Edit && Memo >= 0 && Memo < RptMemoCount) {
      Side = M.Side;
      Key = MemoKey(Memo, Text ? M.TextKey : M.ThousKey);
      return true;
    }
  return false;
}

TControl* TfmVlxMain::SettingControl(const std::string& Key, TSettingSide Side) const {
  if (TEdit* Edit = NumberEditOfKey(Key, Side)) return Edit;
  if (Side != sWhole) return nullptr;
  std::vector<std::pair<TControl*, const char*>> Controls = {
      {cbxOutputDest, "OutputDest"},       {cbxOutputQuality, "OutputQuality"},
      {cbxIfOutputFileExists, "IfOutputFileExists"}, {cmbPrinters, "PrinterName"},
      {cmbSnapshotSize, "SnapShotSize"},   {cmbExportFieldDelim, "ExportFieldDelim"},
      {cmbExportQuote, "ExportQuote"},     {edPageRangeFrom, "PageRangeFrom"},
      {edPageRangeTo, "PageRangeTo"},      {rbCountNumRcds, "CountNumRcds"},
      {gbPrintWhat, "PrintWhat"}};
  for (const TTextRow& Row : TextRows) Controls.push_back({this->*Row.Edit, Row.Key});
  for (const TCheckRow& Row : CheckRows) Controls.push_back({this->*Row.Box, Row.Key});
  for (const TCodeRow& Row : CodeRows) Controls.push_back({this->*Row.Combo, Row.Key});
  for (const auto& [Control, Name] : Controls)
    if (SameText(Key, Name)) return Control;
  return nullptr;
}

TEdit* TfmVlxMain::NumberEditOfKey(const std::string& Key, TSettingSide Side) const {
  std::vector<TEdit*> Edits = {edRcdEstimate, edInterPanelGap};
  for (const TNumberRow& Row : NumberRows) Edits.push_back(this->*Row.Edit);
  for (const TRegimeRow& Row : MarginRows) Edits.push_back(this->*Row.Edit);
  for (const TRegimeRow& Row : WidthRows) Edits.push_back(this->*Row.Edit);
  for (const TMemoRow& Row : MemoRows) Edits.push_back(this->*Row.Edit);
  std::string EditKey;
  TSettingSide EditSide;
  for (TEdit* Edit : Edits)
    if (SettingKeyOfEdit(Edit, EditKey, EditSide) && EditSide == Side && SameText(EditKey, Key)) return Edit;
  return nullptr;
}

void TfmVlxMain::FormToSettings() {
  TvlxReportSettings& R = *RptSettings;
  TvlxPrintSettings& Run = *PrintSettings;
  TObjInfo& Info = *ObjInfo;
  const bool WasSuppressed = FSuppressEvents;
  FSuppressEvents = true;
  struct TClosing {
    TfmVlxMain& Form;
    bool WasSuppressed;
    ~TClosing() { Form.FSuppressEvents = WasSuppressed; }
  } Closing{*this, WasSuppressed};

  R.PrintWhat = pwAll;
  for (int I = 0; I < gbPrintWhat->ControlCount(); ++I) {
    auto* Radio = dynamic_cast<TRadioButton*>(gbPrintWhat->Controls(I));
    if (Radio && Radio->Checked()) {
      R.PrintWhat = static_cast<TPrintWhat>(Radio->Tag);
      break;
    }
  }
  R.SnapShotSize = TvlxReportSettings::PreviewSizeCodeFromText(cmbSnapshotSize->Text()).substr(0, 2);
  R.OutputDest = static_cast<TOutputDest>(ComboIndexOfText(cbxOutputDest, 0, false));
  R.OutputQuality = static_cast<uint8_t>(ComboIndexOfText(cbxOutputQuality, 0, false));
  R.IfOutputFileExists = static_cast<uint8_t>(ComboIndexOfText(cbxIfOutputFileExists, 0, false));
  R.PrinterName = cmbPrinters->Text();
  for (const TCheckRow& Row : CheckRows) R.*Row.Field = (this->*Row.Box)->Checked();
  for (const TNumberRow& Row : NumberRows) Store(this->*Row.Edit, R.*Row.Field, Row.Key, sWhole);
  if (Info.DataSet) {
    R.CountNumRcds = rbCountNumRcds->Checked();
    Store(edRcdEstimate, R.RcdEstimate, "RcdEstimate", sWhole);
    if (!R.CountNumRcds) Info.RowCount = R.RcdEstimate;
  }
  Info.FieldFormatOn = R.ItemOpt(ioFieldFormat);
  Info.ColumnTotalsOn = R.ItemOpt(ioColumnTotals);
  SizeLineNumbers(Run.Run());
  for (const TTextRow& Row : TextRows) R.*Row.Field = (this->*Row.Edit)->Text();
  // The run's fixed-column count stays the one the last column layout settled on: the layout
  // may have dropped the repetition for want of room, and pages composed with the count asked
  // for over columns placed without it would print repeated columns twice. A change of the
  // fixed columns takes effect when the columns are laid out again, as every print does first.
  // The gap goes to the regime the controls were loaded in, the margins and widths to the one
  // that the new destination, print-what and quality choices put in force.
  const auto StoreRegime = [&](const TRegimeRow& Row, bool Text) {
    Store(this->*Row.Edit, Row.Field(R, Text), Text ? Row.TextKey : Row.ThousKey, Row.Side);
  };
  StoreRegime(GapRow, TextRegime());
  Run.SetTextMode();
  const bool Text = TextRegime();
  for (const TRegimeRow& Row : MarginRows) StoreRegime(Row, Text);
  for (const TRegimeRow& Row : WidthRows) StoreRegime(Row, Text);
  for (const TCodeRow& Row : CodeRows)
    R.*Row.Field = static_cast<uint8_t>(ComboIndexOfText(this->*Row.Combo, Row.Default, Row.SetIt));
  R.ConvertMarginsToDevice();
  bool Error = false;
  for (auto [Edit, Pair] : {std::pair{edPageRangeFrom, &R.PageRangeFrom}, std::pair{edPageRangeTo, &R.PageRangeTo}})
    *Pair = {PageNoPartToInt(Edit->Text(), false, Error), PageNoPartToInt(Edit->Text(), true, Error)};
  R.ExportFieldDelim = LookupComboValue(cmbExportFieldDelim, DelimNames, DelimValues).substr(0, 3);
  R.ExportQuote = LookupComboValue(cmbExportQuote, QuoteNames, QuoteValues).substr(0, 3);
  if (Info.ColsList) {
    const TColumnStringsChanged Changed = SaveColumnTotals(*Info.ColsList, R);
    FColumnsChanged = FColumnsChanged || Changed.Columns;
    FTotalsChanged = FTotalsChanged || Changed.Totals;
    Info.CountTotalLines();
  }

  const int Memo = lbxMemoLocation->ItemIndex();
  if (Memo < 0 || Memo >= RptMemoCount) return;
  TvlxRptMemo& M = *R.RptMemo(Memo);
  M.Text = memRptMemo->Text();
  TRect& Margin = Text ? M.MarginTxt : M.MarginThous;
  int* const MemoFields[] = {&M.XPosPer, &M.WidPer, &Margin.Top, &Margin.Bottom};
  for (size_t I = 0; I < std::size(MemoRows); ++I)
    Store(this->*MemoRows[I].Edit, *MemoFields[I], MemoKey(Memo, Text ? MemoRows[I].TextKey : MemoRows[I].ThousKey),
          MemoRows[I].Side);
  M.Alignment = rbRptMemoCenterJustify->Checked() ? 2 : rbRptMemoRightJustify->Checked() ? 1 : 0;
  M.Visible = cbMemoVisible->Checked();
}

std::string TfmVlxMain::LookupComboValue(TComboBox* Combo, const std::vector<std::string>& Names,
                                         const std::vector<std::string>& Values) {
  const int Last = std::min(Combo->Items().Count() - 1, static_cast<int>(Names.size()) - 1);
  for (int I = 0; I <= Last; ++I)
    if (SameText(Combo->Text(), Names[I])) return Values[I];
  return Combo->Text();
}

void TfmVlxMain::SelectComboByLetter(TComboBox* Combo, const std::string& Code, const std::string& Fallback) {
  const auto Letter = [](const std::string& Text) {
    return std::string(1, Text.empty() ? ' ' : static_cast<char>(UpperCase(Text.substr(0, 1))[0]));
  };
  const std::string Fall = Letter(Fallback);
  int Found = -1;
  for (int I = 0; I < Combo->Items().Count(); ++I) {
    const std::string L = Letter(Combo->Items()[I]);
    if (L == Code) {
      Found = I;
      break;
    }
    if (L == Fall) Found = I;
  }
  Combo->SetItemIndex(Found);
}

void TfmVlxMain::ClearEditsModified() {
  for (int I = 0; I < ComponentCount(); ++I)
    if (auto* Edit = dynamic_cast<TCustomEdit*>(Components(I))) Edit->SetModified(false);
  if (RptSettings) RptSettings->Modified = false;
}

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

// Whole-number edits: decimal text one way, 0 for a text that is no whole number the other.
struct TNumberRow {
  TEdit* F::*Edit;
  int S::*Field;
};
const TNumberRow NumberRows[] = {
    {&F::edPanelsAcrossPage, &S::PanelsAcrossPage},   {&F::edNumFixedColumns, &S::NumFixedCols},
    {&F::edHorizLineFreq, &S::HorizLineFreq},         {&F::edVertHtAdjPer, &S::VertHtAdjPer},
    {&F::edLinesPerPage, &S::LinesPerpage},           {&F::edTxtCharsPageWid, &S::TxtCharsPageWid},
    {&F::edMaxStringLines, &S::MaxStringLines},       {&F::edMaxMemoLines, &S::MaxMemoLines},
    {&F::edMaxRowsToAutoSizze, &S::MaxRowsToAutoSizze}, {&F::edLargestFontSize, &S::LargestFontSize},
    {&F::edSmallestFontSize, &S::SmallestFontSize},   {&F::edTextFontSize, &S::TextFontSize},
    {&F::edReplFontSize, &S::ReplFontSize},           {&F::edExportMaxStrLng, &S::ExportMaxStrLng},
    {&F::edExportMaxMemoLng, &S::ExportMaxMemoLng},   {&F::edMaxGrpBrkLines, &S::MaxGrpBrkLines},
    {&F::edGrpBrkOutdentChars, &S::GrpBrkOutdentChars}, {&F::edNumGrpBrkCols, &S::NumGrpBrkCols},
    {&F::edAdjGrpBrkLines, &S::AdjGrpBrkLines},
};

// Text edits, taken as typed.
struct TTextRow {
  TEdit* F::*Edit;
  std::string S::*Field;
};
const TTextRow TextRows[] = {
    {&F::edTextTruncSymbol, &S::TextTruncSymbol},       {&F::edFastTextPrinterInit, &S::InitPrinterStr},
    {&F::edFastTextPrinterFinish, &S::FinishPrinterStr}, {&F::edTextFontName, &S::TextFontName},
    {&F::edReplFontName, &S::ReplFontName},             {&F::edGrpBrkSameValue, &S::GrpBrkSameValue},
    {&F::edMemoTimeFormatStr, &S::MemoTimeFormatStr},   {&F::edMemoDateFormatStr, &S::MemoDateFormatStr},
    {&F::edMemoPageFormatStr, &S::MemoPageFormatStr},   {&F::edOutputFileName, &S::OutputFileName},
};

struct TCheckRow {
  TCheckBox* F::*Box;
  bool S::*Field;
};
const TCheckRow CheckRows[] = {
    {&F::cbUseReportViewer, &S::UseReportViewer},
    {&F::cbShrinkToPage, &S::ShrinkToPage},
    {&F::cbExpandToPage, &S::ExpandToPage},
    {&F::cbDefaultPrinter, &S::DefaultPrinter},
    {&F::cbExportOnlyPrintableChrs, &S::ExportOnlyPrintableChrs},
    {&F::cbFastPrinterText, &S::FastPrinterText},
    {&F::cbAllowFastPrinterText, &S::AllowFastPrinterText},
    {&F::cbPauseAfterPrinting, &S::PauseAfterPrinting},
    {&F::cbDisplayProgressWin, &S::DisplayProgressWin},
    {&F::cbDisplayReportOptionsWin, &S::DisplayReportOptionsWin},
    {&F::cbCloseWinAfterPrinting, &S::CloseWinAfterPrinting},
    {&F::cbShowHint, &S::ShowHint},
    {&F::cbSettingsReadOnly, &S::SettingsReadOnly},
    {&F::cbPreviewFirst, &S::PreviewFirst},
};

// Combo boxes whose item index is the stored code; a text that is no item stores Default, and
// with SetIt also selects it.
struct TCodeRow {
  TComboBox* F::*Combo;
  uint8_t S::*Field;
  int Default;
  bool SetIt;
};
const TCodeRow CodeRows[] = {
    {&F::cbxReportAlignment, &S::ReportAlignment, 0, false},
    {&F::cbxColTitleAlignment, &S::ColTitleAlignment, 0, false},
    {&F::cbxOrientation, &S::Orientation, 0, true},
    {&F::cbxAutoSizze, &S::AutoSizze, 1, true},
};

// Sizes with one stored value per unit regime, in the order the transfers take them.
struct TRegimeRow {
  TEdit* F::*Edit;
  int& (*Field)(S& Settings, bool Text);
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
    {&F::edPageMarginLeft, PageLeft}, {&F::edPageMarginRight, PageRight}, {&F::edPageMarginTop, PageTop},
    {&F::edPageMarginBottom, PageBottom}, {&F::edCellMarginLeft, CellLeft}, {&F::edCellMarginRight, CellRight},
    {&F::edCellMarginTop, CellTop}, {&F::edCellMarginBottom, CellBottom},
};
const TRegimeRow WidthRows[] = {{&F::edMaxStringColWid, StringWid}, {&F::edMaxMemoColWid, MemoWid}};

const std::vector<std::string> DelimNames = {"Tab", "Comma"};
const std::vector<std::string> DelimValues = {"\t", ","};
const std::vector<std::string> QuoteNames = {"Double Quote", "Single Quote"};
const std::vector<std::string> QuoteValues = {"\"", "'"};

int Number(const TEdit* Edit) {
  bool Error = false;
  return StrToIntChecked(Edit->Text(), Error);
}

bool TextRegime() { return PrintSettings->UnitSet == usText; }

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
  edStartingReportLineId->SetText(IntToStr(R.StartingReportLineId));
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
  if (Info.DataSet) {
    R.CountNumRcds = rbCountNumRcds->Checked();
    bool Error = false;
    R.RcdEstimate = StrToIntChecked(edRcdEstimate->Text(), Error);
    if (!Error && !R.CountNumRcds) Info.RowCount = R.RcdEstimate;
  }
  R.StartingReportLineId = Number(edStartingReportLineId);
  Info.FieldFormatOn = R.ItemOpt(ioFieldFormat);
  Info.ColumnTotalsOn = R.ItemOpt(ioColumnTotals);
  SizeLineNumbers(Run.Run());
  for (const TNumberRow& Row : NumberRows) R.*Row.Field = Number(this->*Row.Edit);
  for (const TTextRow& Row : TextRows) R.*Row.Field = (this->*Row.Edit)->Text();
  Run.FixedColCount = R.NumFixedCols + (Info.ObjType == otDecisionGrid ? 1 : 0);
  // The gap goes to the regime the controls were loaded in, the margins and widths to the one
  // that the new destination, print-what and quality choices put in force.
  PanelGap(R, TextRegime()) = Number(edInterPanelGap);
  Run.SetTextMode();
  const bool Text = TextRegime();
  for (const TRegimeRow& Row : MarginRows) Row.Field(R, Text) = Number(this->*Row.Edit);
  for (const TRegimeRow& Row : WidthRows) Row.Field(R, Text) = Number(this->*Row.Edit);
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
  M.XPosPer = Number(edMemoXPosPer);
  M.WidPer = Number(edMemoWidPer);
  M.Alignment = rbRptMemoCenterJustify->Checked() ? 2 : rbRptMemoRightJustify->Checked() ? 1 : 0;
  M.Visible = cbMemoVisible->Checked();
  TRect& Margin = Text ? M.MarginTxt : M.MarginThous;
  Margin.Top = Number(edMemoSpacesAbove);
  Margin.Bottom = Number(edMemoSpacesBelow);
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

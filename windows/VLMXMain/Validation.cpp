// Checking what the user typed into the setup window: one table of rules over the option
// controls, the numeric-only key filter and the exit handlers that run the rules of the control
// left. Nothing reaches the settings until every rule passed.
#include <algorithm>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PageNumbers.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl0.h"
#include "engine/VLMXUtil.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Grids.h"
#include "framework/StdCtrls.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/SysUtils.h"
#include "windows/VLMXMain/VLMXMain.h"
#include "windows/VLMXPw/VLMXPw.h"

namespace {

// The number a numeric edit holds: blanks around it ignored, anything that is not a whole
// number counts as 0.
int StrToIntZero(const std::string& Text) {
  int Value = 0;
  return TryStrToInt(Trim(Text), Value) ? Value : 0;
}

// The character an export delimiter name stands for; any other text is taken as it is.
std::string DelimiterNameToChar(const std::string& Text) {
  static const std::pair<const char*, const char*> Names[] = {
      {"COMMA", ","}, {"TAB", "\t"}, {"DOUBLE QUOTE", "\""}, {"SINGLE QUOTE", "'"}};
  for (auto& [Name, Char] : Names)
    if (SameText(Text, Name)) return Char;
  return Text;
}

bool RecognisedKind() { return ObjInfo && IsKindInRange(ObjInfo->ObjType); }

struct TRange {
  int Min, Max;
  const char* Units;
};

enum class TRuleSet { Export, Main };

// One row of the option rules. A range row names its control, its field name and a range per
// unit regime (a regime without one skips the row); any other row brings its own check, which
// reports its own failure.
struct TRule {
  TRule(TRuleSet ASet, std::vector<const TObject*> ATriggers, TControl* AField, const char* AName,
        std::optional<TRange> AText, std::optional<TRange> ATypeset, std::function<bool()> AWhen = {})
      : Set(ASet), Triggers(std::move(ATriggers)), Field(AField), Name(AName), Text(AText), Typeset(ATypeset),
        When(std::move(AWhen)) {}
  TRule(TRuleSet ASet, std::vector<const TObject*> ATriggers, std::function<bool()> ACheck, bool AChangeOnly = false,
        bool AEvenAfterFailure = false)
      : Set(ASet), Triggers(std::move(ATriggers)), Check(std::move(ACheck)), ChangeOnly(AChangeOnly),
        EvenAfterFailure(AEvenAfterFailure) {}

  TRuleSet Set;
  std::vector<const TObject*> Triggers;  // empty: the row runs on every call
  TControl* Field = nullptr;
  const char* Name = nullptr;
  std::optional<TRange> Text, Typeset;
  std::function<bool()> When;   // a range row runs only while this holds
  std::function<bool()> Check;  // rows other than range rows
  bool ChangeOnly = false;      // a note on a single change, never with every row
  bool EvenAfterFailure = false;
};

}  // namespace

bool TfmVlxMain::ChkFldIntRange(TControl* Control, int Min, bool Focus, const std::string& Units,
                                const std::string& FieldName, int Max) {
  if (!dynamic_cast<TCustomEdit*>(Control) && !dynamic_cast<TCustomComboBox*>(Control))
    throw eVlxIntError("[ChkFldIntRange]**\rField:" + (Control ? Control->Name() : std::string()));
  if (!Control->Enabled() || !Control->Visible()) return true;
  const int Value = StrToIntZero(Control->Text());
  if (Value >= Min && (Max < Min || Value <= Max)) return true;
  ShowFieldError(Control, Focus,
                 FieldName + " must be between " + std::to_string(Min) + " and " + std::to_string(Max) + " " + Units);
  return false;
}

void TfmVlxMain::ShowFieldError(TControl* Control, bool Focus, const std::string& Message) {
  if (!AskReportPassword(RptSettings->ReportTitle, "Enter Report Options Password:", RptSettings->RptOptPW,
                         PasswordCache.RptOptPW, false))
    throw eVlxSUError("Report Options Password Violation");
  // Every page on the way comes to the front: a control of the Style page's own pages needs
  // both its sheet and the Style page shown.
  for (TControl* C = Control; C; C = C->Parent())
    if (auto* Sheet = dynamic_cast<TTabSheet*>(C))
      if (Sheet->PageControl()) Sheet->PageControl()->SetActivePage(Sheet);
  if (Focus && Screen->ActiveForm() == this && Control->Enabled() && Control->Visible())
    if (auto* Win = dynamic_cast<TWinControl*>(Control)) {
      try {
        Win->SetFocus();
      } catch (const std::exception&) {
        // A control that cannot take the focus now leaves it where it is.
      }
    }
  if (!Message.empty()) ShowStatusMsg(paMsg, Message, smkWarning, Timer1, FStartPending ? 15 : 5);
}

bool TfmVlxMain::ValidateOptions(TObject* ChangedControl, bool CheckAll, bool FocusOnError) {
  if (FSkipValidation) return false;
  // A normal message never replaces a coloured one unless told so by a negative time-out.
  const auto ClearWarning = [this] {
    if (paMsg->Color() != clBtnFace) ShowStatusMsg(paMsg, "", smkNormal, Timer1, -1);
  };
  ClearWarning();
  TvlxReportSettings& S = *RptSettings;
  const bool Focus = FocusOnError;
  const bool Printer = PrintSettings->OutPrinter;
  const auto Fail = [&](TControl* Control, bool WithFocus, const std::string& Message) {
    ShowFieldError(Control, WithFocus, Message);
    return false;
  };
  const auto Note = [&](const std::string& Message, TTimer* Timer, int Seconds) {
    ShowStatusMsg(paMsg, Message, smkWarning, Timer, Seconds);
  };
  using E = TRuleSet;

  const std::vector<TRule> Rules = {
      // ---- ASCII export ----
      {E::Export, {cmbExportFieldDelim}, cmbExportFieldDelim, "Export Field Delimiter Character",
       TRange{0, 255, "(Ascii Code)"}, TRange{0, 255, "(Ascii Code)"},
       [this] { return IsNumericStr(cmbExportFieldDelim->Text()); }},
      {E::Export, {cmbExportQuote}, cmbExportQuote, "Export Quote Character", TRange{0, 255, "(Ascii Code)"},
       TRange{0, 255, "(Ascii Code)"}, [this] { return IsNumericStr(cmbExportQuote->Text()); }},
      {E::Export, {}, [&] {
         if (!SameText(DelimiterNameToChar(cmbExportFieldDelim->Text()), DelimiterNameToChar(cmbExportQuote->Text())))
           return true;
         return Fail(cmbExportFieldDelim, true,
                     "Export Field Delimeter and Export Quote fields cannot have the same value");
       }},
      // ---- printed and file output ----
      {E::Main, {edLinesPerPage, edPageMarginTop, edPageMarginBottom}, edLinesPerPage, "Lines Per Page",
       TRange{10, 999, "lines"}, TRange{10, 999, "lines"}},
      // The margins as typed, not as last stored: the check must see the values about to be
      // taken into the settings.
      {E::Main, {edLinesPerPage, edPageMarginTop, edPageMarginBottom}, [&] {
         const int Top = StrToIntZero(edPageMarginTop->Text()), Bottom = StrToIntZero(edPageMarginBottom->Text());
         bool TooLarge;
         if (S.IsTextStyleOutput()) {
           // A disabled lines edit keeps the text page's length; the printer's page is the one
           // printed on.
           const int PageLines = PrintSettings->PageHeight > 0 ? PrintSettings->PageHeight : S.LinesPerpage;
           const int Lines = edLinesPerPage->Enabled() ? StrToIntZero(edLinesPerPage->Text()) : PageLines;
           TooLarge = Top + Bottom > Lines - 5;
         } else {
           const TPageGeometry& G = *PrintSettings;
           TooLarge = G.PageHeight > 0 && G.ToUnits(Top, false, false, 1) + G.ToUnits(Bottom, false, false, 1) >
                                              G.PageHeight - G.ToUnits(1000, false, false, 1);
         }
         if (!TooLarge) return true;
         FValidationFailed = true;
         return Fail(edPageMarginTop, false, "Page Top Margin + Bottom Margin are too large for page length");
       }},
      {E::Main, {}, [&] {
         if (S.ItemOpt(ioGrpBrkLines) && S.ItemOpt(ioHorizontalLines)) S.SetItemOpt(ioHorizontalLines, false);
         return true;
       }},
      {E::Main, {}, edTxtCharsPageWid, "Text Page Width is invalid", TRange{10, 9999, "text characters"},
       TRange{10, 9999, "text characters"}},
      {E::Main, {cbxReportAlignment, edTxtCharsPageWid}, [&] {
         if (cbxReportAlignment->ItemIndex() != 0 && StrToIntZero(edTxtCharsPageWid->Text()) > 255)
           Note("Note: Page Width may be too wide for Report Alignment", Timer1, 5);
         return true;
       }, true},
      {E::Main, {cbFastPrinterText, cbAllowFastPrinterText}, [&] {
         S.FastPrinterText = cbFastPrinterText->Checked() && cbAllowFastPrinterText->Checked();
         return true;
       }, false, true},
      {E::Main, {edTextTruncSymbol}, [&] {
         return edTextTruncSymbol->Text().size() <= 3 ||
                Fail(edTextTruncSymbol, Focus, "Text Truncation Symbol cannot exceed 3 characters");
       }},
      {E::Main, {edInterPanelGap}, edInterPanelGap, "Space Between Panels", TRange{0, 10, "text characters"},
       TRange{0, 3000, "thousands of inch"}},
      {E::Main, {edMemoSpacesAbove}, edMemoSpacesAbove, "Space Above Memo", TRange{0, 10, "text lines"},
       TRange{0, 3000, "thousands of inch"}},
      {E::Main, {edMemoSpacesBelow}, edMemoSpacesBelow, "Space Below Memo", TRange{0, 10, "text lines"},
       TRange{0, 3000, "thousands of inch"}},
      {E::Main, {edTextFontName, buTextFontName}, [&] {
         if (!S.IsTextStyleOutput() || !Trim(edTextFontName->Text()).empty()) return true;
         FValidationFailed = true;
         return Fail(edTextFontName, Focus, "Font Name is missing");
       }},
      {E::Main, {edTextFontName, buTextFontName}, edTextFontSize, "Text Font Size", TRange{2, 72, "Points"},
       std::nullopt},
      {E::Main, {edMaxStringColWid}, edMaxStringColWid, "Max String Column Width", TRange{3, 999, "characters"},
       TRange{3, 999, "characters"}},
      {E::Main, {edMaxMemoColWid}, edMaxMemoColWid, "Max Memo Column Width", TRange{3, 999, "characters"},
       TRange{3, 999, "characters"}},
      {E::Main, {edRcdEstimate}, edRcdEstimate, "Record Estimate", TRange{9, 2147483647, "records"},
       TRange{9, 2147483647, "records"}},
      {E::Main, {edMaxGrpBrkLines}, edMaxGrpBrkLines, "Max # of Break Title", TRange{1, 5, "lines"},
       TRange{1, 5, "lines"}},
      {E::Main, {edGrpBrkOutdentChars}, edGrpBrkOutdentChars, "Group Break Outdent", TRange{0, 5, "chars"},
       TRange{0, 5, "chars"}},
      {E::Main, {edNumGrpBrkCols}, edNumGrpBrkCols, "Number of Group Break Columns",
       TRange{0, ObjInfo->ColCount, "columns"}, TRange{0, ObjInfo->ColCount, "columns"}},
      {E::Main, {dgColumns}, [&] {
         return !RecognisedKind() || !ObjInfo->NoColPrinted() || Fail(dgColumns, Focus, "No columns are visible.");
       }},
      {E::Main, {edHorizLineFreq}, edHorizLineFreq, "Horizontal Line Frequency", TRange{1, 255, ""},
       TRange{1, 255, ""}, RecognisedKind},
      {E::Main, {edVertHtAdjPer}, edVertHtAdjPer, "Vertical Height Adjustment", TRange{50, 200, "%"},
       TRange{50, 200, "%"}, [Printer] { return Printer; }},
      {E::Main, {edPanelsAcrossPage}, edPanelsAcrossPage, "Panels Across Page", TRange{1, 10, ""},
       TRange{1, 10, ""}},
      {E::Main, {edNumFixedColumns}, [&] {
         int Fixed = 0;
         if (!TryStrToInt(edNumFixedColumns->Text(), Fixed)) Fixed = 0;
         const int Last = ObjInfo->ColCount - 1;
         if (Fixed < 0 || Fixed > Last) edNumFixedColumns->SetText(std::to_string(Last));
         return true;
       }},
      {E::Main, {edPageMarginTop}, edPageMarginTop, "Page Top Margin", TRange{0, 100, "lines"},
       TRange{0, 5000, "thousands of an inch"}},
      {E::Main, {edPageMarginBottom}, edPageMarginBottom, "Page Bottom Margin", TRange{0, 100, "lines"},
       TRange{0, 5000, "thousands of an inch"}},
      {E::Main, {edPageMarginLeft}, edPageMarginLeft, "Page Left Margin", TRange{0, 100, "characters"},
       TRange{0, 10000, "thousands of an inch"}},
      {E::Main, {edPageMarginRight}, edPageMarginRight, "Page Right Margin", TRange{0, 100, "characters"},
       TRange{0, 10000, "thousands of an inch"}},
      {E::Main, {edCellMarginTop}, edCellMarginTop, "Cell Top Margin", TRange{0, 10, "lines"},
       TRange{0, 5000, "thousands of an inch"}},
      {E::Main, {edCellMarginBottom}, edCellMarginBottom, "Cell Bottom Margin", TRange{0, 10, "lines"},
       TRange{0, 5000, "thousands of an inch"}},
      {E::Main, {edCellMarginLeft}, edCellMarginLeft, "Cell Left Margin", TRange{0, 25, "characters"},
       TRange{0, 5000, "thousands of an inch"}},
      {E::Main, {edCellMarginRight}, edCellMarginRight, "Cell Right Margin", TRange{0, 25, "characters"},
       TRange{0, 5000, "thousands of an inch"}},
      {E::Main, {edPageRangeFrom, edPageRangeTo}, [&] {
         return !rbPrintWhatPageRange->Checked() || ValidatePageRangeEdits(true, edPageRangeFrom, edPageRangeTo);
       }},
      {E::Main, {}, [&] {
         S.OutputQuality = static_cast<uint8_t>(std::max(cbxOutputQuality->ItemIndex(), 0));
         return true;
       }},
      {E::Main, {cbxOutputDest, cbxOutputQuality}, [&] {
         if (Printer || PrintSettings->OutRtfFile || S.IsTextStyleOutput()) return true;
         Note("Output Quality \"" + cbxOutputQuality->Text() + "\" only valid when using printer", nullptr, 0);
         return false;
       }},
      {E::Main, {}, [&] {
         if (cbDefaultPrinter->Checked()) return true;
         const std::string Name = cmbPrinters->Text();
         return (!Name.empty() && FindPrinterIndex(Name) >= 0) ||
                Fail(cmbPrinters, Focus, "Printer Name is invalid. Please choose a different printer.");
       }},
      {E::Main, {edMemoXPosPer, edMemoWidPer}, edMemoXPosPer, "Report Memo Left Margin", TRange{0, 90, "%"},
       TRange{0, 90, "%"}},
      {E::Main, {edMemoXPosPer, edMemoWidPer}, edMemoWidPer, "Report Memo Width", TRange{10, 100, "%"},
       TRange{10, 100, "%"}},
      {E::Main, {edMemoXPosPer, edMemoWidPer, lbxMemoLocation}, [&] {
         const char* const TooWide = "Report memo's \"Left Margin\" + \"Memo Width\" must be <= 100%";
         bool Error = false;
         const int Sum = StrToIntChecked(edMemoXPosPer->Text(), Error) + StrToIntChecked(edMemoWidPer->Text(), Error);
         if (Sum > 100) {
           Note(TooWide, nullptr, 0);
           return false;
         }
         // The memos not shown may hold a sum read from a file or left behind: the first one
         // out of range is brought up to be corrected before anything is printed or saved.
         const int Bad = CheckAll ? FirstMemoOutOfPage() : -1;
         if (Bad < 0) return true;
         lbxMemoLocation->SetItemIndex(Bad);
         lbxMemoLocationClick(lbxMemoLocation);
         return Fail(edMemoWidPer, Focus, TooWide);
       }},
      {E::Main, {edOutputFileName}, [&] {
         if (!PrintSettings->OutAnyFile) return true;
         const std::string Name = edOutputFileName->Text();
         // Windows takes "/" as well as "\\"; a name after a bare drive ("C:r.txt") lies in that
         // drive's current folder, which always exists.
         const size_t Cut = Name.find_last_of("\\/:");
         const std::string Dir = Cut == std::string::npos || Name[Cut] == ':' ? std::string() : Name.substr(0, Cut);
         return Dir.empty() || DirExists(Dir) ||
                Fail(edOutputFileName, Focus,
                     "Directory does not exist for output file. Use Browse button to create directory.");
       }},
  };

  bool Ok = true;
  if (!PrintSettings->OutSnapshot) {
    const TRuleSet Set = PrintSettings->OutAsciiFile ? TRuleSet::Export : TRuleSet::Main;
    const bool TextRegime = S.IsTextStyleOutput();
    for (const TRule& Rule : Rules) {
      if (Rule.Set != Set || (!Ok && !Rule.EvenAfterFailure) || (Rule.ChangeOnly && CheckAll)) continue;
      if (!CheckAll && !Rule.Triggers.empty() &&
          std::find(Rule.Triggers.begin(), Rule.Triggers.end(), ChangedControl) == Rule.Triggers.end())
        continue;
      bool Passed = true;
      if (Rule.Check) {
        Passed = Rule.Check();
      } else if (const auto& Range = TextRegime ? Rule.Text : Rule.Typeset; Range && (!Rule.When || Rule.When())) {
        Passed = ChkFldIntRange(Rule.Field, Range->Min, Focus, Range->Units, Rule.Name, Range->Max);
      }
      Ok = Ok && Passed;
    }
  }
  if (Ok) {
    ClearWarning();
    // What passed is stored at once: the next check, the page fitting and a move to another
    // memo all read the settings.
    FormToSettings();
    ShowReportWidthStatus();
  }
  return Ok;
}

void TfmVlxMain::edNumericOnlyKeyPress(TObject* Sender, char& Key) {
  if (Key == '\r') {
    ValidateOptions(Sender, false, true);
    if (Sender == edLargestFontSize || Sender == edSmallestFontSize) ApplyFontScaling(false);
    if (Sender == edNumGrpBrkCols) dgColumns->Invalidate();
    return;
  }
  if (Key == '\b' || Key == 27 || (Key >= '0' && Key <= '9')) return;
  Key = 0;
  Beep(0);
}

void TfmVlxMain::edNumericOnlyExit(TObject* Sender) {
  auto* Edit = dynamic_cast<TCustomEdit*>(Sender);
  if (FSuppressEvents || !Edit || !Edit->Modified()) return;
  if (ValidateOptions(Sender, false, true)) {
    if (Sender == edRcdEstimate) {
      ObjInfo->Remeasure(paPagesAcross, false, FColumnsChanged);
    } else if (Sender == edNumGrpBrkCols || Sender == edGrpBrkSameValue) {
      ObjInfo->ColumnScan(this, paPagesAcross, FColumnsChanged);
      dgColumns->Invalidate();
    }
    const TObject* Rescaling[] = {edTxtCharsPageWid, edLinesPerPage,     edTextFontSize,
                                  edSmallestFontSize, edLargestFontSize, edPanelsAcrossPage,
                                  edNumFixedColumns,  edInterPanelGap,   edRcdEstimate};
    if (std::find(std::begin(Rescaling), std::end(Rescaling), Sender) != std::end(Rescaling)) ApplyFontScaling(false);
  }
  RptSettings->Modified = true;
  Edit->SetModified(false);
}

void TfmVlxMain::cbxGenericExit(TObject* Sender) {
  auto* Combo = dynamic_cast<TCustomComboBox*>(Sender);
  if (FSuppressEvents || !Combo) return;
  if (Combo->ItemIndex() >= 0) {
    if (Combo->Tag == 1) {
      if (Combo->OnChange) Combo->OnChange(Combo);
      Combo->Tag = 0;
    }
    return;
  }
  Beep(64);
  ShowFieldError(Combo, true, "Value is missing or invalid");
  FValidationFailed = true;
}

void TfmVlxMain::BindValidationHandlers() {
  PublishedMethod("edNumericOnlyKeyPress",
                  TKeyPressEvent([this](TObject* Sender, char& Key) { edNumericOnlyKeyPress(Sender, Key); }));
  PublishedMethod("edNumericOnlyExit", TNotifyEvent([this](TObject* Sender) { edNumericOnlyExit(Sender); }));
  PublishedMethod("cbxGenericExit", TNotifyEvent([this](TObject* Sender) { cbxGenericExit(Sender); }));
}

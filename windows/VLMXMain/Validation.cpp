// Checking what the user typed into the setup window: one table of rules over the option
// controls, the numeric-only key filter and the exit handlers that run the rules of the control
// left. Nothing reaches the settings until every rule passed.
#include <algorithm>
#include <climits>
#include <functional>
#include <utility>
#include <vector>

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PageNumbers.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl0.h"
#include "engine/VLMXUtil.h"
#include "engine/Vellumix/ReportSettings.h"
#include "engine/Vellumix/SettingsKeys.h"
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

// The narrowest page body the page margins may leave in text units: five lines down, and across
// the narrowest text page the window takes.
constexpr int MinTextBodyLines = 5;
constexpr int MinTextBodyWidth = 10;

bool RecognisedKind() { return ObjInfo && IsKindInRange(ObjInfo->ObjType); }

// The export rows run for an ASCII export, the main rows for any other output; a number edit's
// range runs for both (a disabled edit passes anyway).
enum class TRuleSet { Export, Main, Any };

// One row of the option rules. A range row names its number edit: the settings key the edit
// shows in the regime in force gives the range, the field name and the units, Limit may lower
// the maximum, and When may skip the row. Any other row brings its own check, which reports its
// own failure.
struct TRule {
  TRule(TRuleSet ASet, std::vector<const TObject*> ATriggers, TControl* AField, std::function<bool()> AWhen = {},
        int ALimit = INT_MAX)
      : Set(ASet), Triggers(std::move(ATriggers)), Field(AField), When(std::move(AWhen)), Limit(ALimit) {}
  TRule(TRuleSet ASet, std::vector<const TObject*> ATriggers, std::function<bool()> ACheck, bool AChangeOnly = false,
        bool AEvenAfterFailure = false)
      : Set(ASet), Triggers(std::move(ATriggers)), Check(std::move(ACheck)), ChangeOnly(AChangeOnly),
        EvenAfterFailure(AEvenAfterFailure) {}

  TRuleSet Set;
  std::vector<const TObject*> Triggers;  // empty: the row runs on every call
  TControl* Field = nullptr;
  std::function<bool()> When;   // a range row runs only while this holds
  int Limit = INT_MAX;
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
  // Empty counts as 0; any other text that is no whole number (letters, too many digits) is
  // as wrong as a number outside the range.
  int Value = 0;
  const std::string Text = Trim(Control->Text());
  if ((Text.empty() || TryStrToInt(Text, Value)) && Value >= Min && (Max < Min || Value <= Max)) return true;
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
  if (TWinControl* Win = Focus ? FieldToFocus(Control) : nullptr) {
    try {
      Win->SetFocus();
    } catch (const std::exception&) {
      // A control that cannot take the focus now leaves it where it is.
    }
  }
  // The preview's user acts after the start, even when the start opened the preview.
  TPanel* Panel = MessagePanel();
  if (!Message.empty()) ShowStatusMsg(Panel, Message, smkWarning, Timer1, FStartPending && Panel == paMsg ? 15 : 5);
}

bool TfmVlxMain::ValidateOptions(TObject* ChangedControl, bool CheckAll, bool FocusOnError) {
  if (FSkipValidation) return false;
  // A normal message never replaces a coloured one unless told so by a negative time-out.
  const auto ClearWarning = [this] {
    if (TPanel* Panel = MessagePanel(); Panel->Color() != clBtnFace) ShowStatusMsg(Panel, "", smkNormal, Timer1, -1);
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
    ShowStatusMsg(MessagePanel(), Message, smkWarning, Timer, Seconds);
  };
  // A refused value is shown where the user can change it: a memo's with its memo selected, a
  // number in its edit, a code or a Boolean on its control's page, a margin that cannot be read
  // at all at its first side's edit; one no control shows (the other unit regime's) is named in
  // the panel.
  const auto TellRefused = [&](const TRefusedSetting& Refused, const std::string& Message, bool WithFocus) {
    const bool OfMemo = SameText(Refused.Key.substr(0, 5), "Memo,");
    if (OfMemo) {
      const int Memo = RptMemoIndexOfName(GetToken(Refused.Key, 2, ",", ""));
      if (Memo != lbxMemoLocation->ItemIndex()) {
        lbxMemoLocation->SetItemIndex(Memo);
        LoadMemoControls();
      }
    }
    TControl* Control = SettingControl(Refused.Key, Refused.Side);
    for (const TSettingSide Side : {sLeft, sTop, sRight, sBottom})
      if (!Control && Refused.Side == sWhole) Control = SettingControl(Refused.Key, Side);
    if (TEdit* Edit = NumberEditOfKey(Refused.Key, Refused.Side)) Edit->SetText(Refused.Value);
    if (!Control && OfMemo) Control = lbxMemoLocation;
    if (Control) return Fail(Control, WithFocus, Message);
    Note(Message, Timer1, 15);
    return false;
  };
  // Whether two opposite page margins, as typed, leave the page less than its narrowest body:
  // in text units the page's lines or characters (the edit's when it is enabled, else the
  // printer's page), in device units the page less an inch.
  const auto MarginsLeaveNoBody = [&](TEdit* First, TEdit* Second, bool Across) {
    const int A = StrToIntZero(First->Text()), B = StrToIntZero(Second->Text());
    const TPageGeometry& G = *PrintSettings;
    const int Page = Across ? G.PageWidth : G.PageHeight;
    if (S.IsTextStyleOutput()) {
      TEdit* Size = Across ? edTxtCharsPageWid : edLinesPerPage;
      const int Stored = Across ? S.TxtCharsPageWid : S.LinesPerpage;
      const int Units = Size->Enabled() ? StrToIntZero(Size->Text()) : Page > 0 ? Page : Stored;
      return A + B > Units - (Across ? MinTextBodyWidth : MinTextBodyLines);
    }
    const int Axis = Across ? 0 : 1;
    return Page > 0 &&
           G.ToUnits(A, false, false, Axis) + G.ToUnits(B, false, false, Axis) > Page - G.ToUnits(1000, false, false, Axis);
  };
  using E = TRuleSet;
  const bool TextRegime = S.IsTextStyleOutput();
  // An export delimiter or quote typed as a number is a character code.
  const auto AsciiCode = [&](TComboBox* Combo, const char* Name) {
    return !IsNumericStr(Combo->Text()) || ChkFldIntRange(Combo, 0, Focus, "(Ascii Code)", Name, 255);
  };
  // A delimiter or quote other than one of the list's names is kept as typed, and only to its
  // first characters: a longer one cannot be taken.
  const auto ShortDelimiter = [&](TComboBox* Combo, const std::string& Name) {
    return Combo->Items().IndexOf(Combo->Text()) >= 0 || Combo->Text().size() <= ExportDelimMaxLen ||
           Fail(Combo, Focus, Name + " cannot exceed " + std::to_string(ExportDelimMaxLen) + " characters");
  };

  const std::vector<TRule> Rules = {
      // ---- ASCII export ----
      {E::Export, {cmbExportFieldDelim}, [&] { return AsciiCode(cmbExportFieldDelim, "Export Field Delimiter Character"); }},
      {E::Export, {cmbExportQuote}, [&] { return AsciiCode(cmbExportQuote, "Export Quote Character"); }},
      {E::Export, {}, [&] {
         if (!SameText(DelimiterNameToChar(cmbExportFieldDelim->Text()), DelimiterNameToChar(cmbExportQuote->Text())))
           return true;
         return Fail(cmbExportFieldDelim, true,
                     "Export Field Delimeter and Export Quote fields cannot have the same value");
       }},
      {E::Export, {cmbExportFieldDelim}, [&] { return ShortDelimiter(cmbExportFieldDelim, "Export Field Delimiter"); }},
      {E::Export, {cmbExportQuote}, [&] { return ShortDelimiter(cmbExportQuote, "Export Quote"); }},
      {E::Any, {edExportMaxStrLng}, edExportMaxStrLng},
      {E::Any, {edExportMaxMemoLng}, edExportMaxMemoLng},
      // ---- printed and file output ----
      {E::Any, {edLinesPerPage, edPageMarginTop, edPageMarginBottom}, edLinesPerPage},
      // The margins as typed, not as last stored: the check must see the values about to be
      // taken into the settings.
      {E::Main, {edLinesPerPage, edPageMarginTop, edPageMarginBottom}, [&] {
         if (!MarginsLeaveNoBody(edPageMarginTop, edPageMarginBottom, false)) return true;
         FValidationFailed = true;
         return Fail(edPageMarginTop, false, "Page Top Margin + Bottom Margin are too large for page length");
       }},
      {E::Main, {}, [&] {
         if (S.ItemOpt(ioGrpBrkLines) && S.ItemOpt(ioHorizontalLines)) S.SetItemOpt(ioHorizontalLines, false);
         return true;
       }},
      {E::Any, {}, edTxtCharsPageWid},
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
      {E::Any, {edInterPanelGap}, edInterPanelGap},
      {E::Any, {edMemoSpacesAbove}, edMemoSpacesAbove},
      {E::Any, {edMemoSpacesBelow}, edMemoSpacesBelow},
      {E::Main, {edTextFontName, buTextFontName}, [&] {
         if (!S.IsTextStyleOutput() || !Trim(edTextFontName->Text()).empty()) return true;
         FValidationFailed = true;
         return Fail(edTextFontName, Focus, "Font Name is missing");
       }},
      {E::Main, {edTextFontName, buTextFontName, edTextFontSize}, edTextFontSize, [&] { return TextRegime; }},
      // An empty name would read back as the default font's.
      {E::Main, {edReplFontName}, [&] {
         return !edReplFontName->Enabled() || !edReplFontName->Visible() || !Trim(edReplFontName->Text()).empty() ||
                Fail(edReplFontName, Focus, "Font Name is missing");
       }},
      {E::Any, {edMaxStringColWid}, edMaxStringColWid},
      {E::Any, {edMaxMemoColWid}, edMaxMemoColWid},
      {E::Any, {edRcdEstimate}, edRcdEstimate},
      {E::Any, {edMaxGrpBrkLines}, edMaxGrpBrkLines},
      {E::Any, {edGrpBrkOutdentChars}, edGrpBrkOutdentChars},
      {E::Main, {edNumGrpBrkCols}, edNumGrpBrkCols, nullptr, ObjInfo->ColCount},
      {E::Main, {dgColumns}, [&] {
         return !RecognisedKind() || !ObjInfo->NoColPrinted() || Fail(dgColumns, Focus, "No columns are visible.");
       }},
      {E::Main, {edHorizLineFreq}, edHorizLineFreq, RecognisedKind},
      {E::Main, {edVertHtAdjPer}, edVertHtAdjPer, [Printer] { return Printer; }},
      {E::Any, {edPanelsAcrossPage}, edPanelsAcrossPage},
      // A number of fixed columns the object does not have becomes its last column; what is no
      // number at all is refused below.
      {E::Main, {edNumFixedColumns}, [&] {
         int Fixed = 0;
         const int Last = ObjInfo->ColCount - 1;
         if (TryStrToInt(Trim(edNumFixedColumns->Text()), Fixed) && (Fixed < 0 || Fixed > Last))
           edNumFixedColumns->SetText(std::to_string(Last));
         return true;
       }},
      {E::Any, {edNumFixedColumns}, edNumFixedColumns},
      {E::Any, {edPageMarginTop}, edPageMarginTop},
      {E::Any, {edPageMarginBottom}, edPageMarginBottom},
      {E::Any, {edPageMarginLeft}, edPageMarginLeft},
      {E::Any, {edPageMarginRight}, edPageMarginRight},
      // Across the page as down it: the side margins must leave room for the columns.
      {E::Main, {edTxtCharsPageWid, edPageMarginLeft, edPageMarginRight}, [&] {
         if (!MarginsLeaveNoBody(edPageMarginLeft, edPageMarginRight, true)) return true;
         FValidationFailed = true;
         return Fail(edPageMarginLeft, false, "Page Left Margin + Right Margin are too large for page width");
       }},
      {E::Any, {edCellMarginTop}, edCellMarginTop},
      {E::Any, {edCellMarginBottom}, edCellMarginBottom},
      {E::Any, {edCellMarginLeft}, edCellMarginLeft},
      {E::Any, {edCellMarginRight}, edCellMarginRight},
      // The numbers the rows above leave unchecked, each against its setting's range.
      {E::Any, {edStartingReportLineId}, edStartingReportLineId},
      {E::Any, {edMaxStringLines}, edMaxStringLines},
      {E::Any, {edMaxMemoLines}, edMaxMemoLines},
      {E::Any, {edMaxRowsToAutoSizze}, edMaxRowsToAutoSizze},
      {E::Any, {edLargestFontSize}, edLargestFontSize},
      {E::Any, {edSmallestFontSize}, edSmallestFontSize},
      {E::Any, {edReplFontSize}, edReplFontSize},
      {E::Any, {edAdjGrpBrkLines}, edAdjGrpBrkLines},
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
      {E::Any, {edMemoXPosPer, edMemoWidPer}, edMemoXPosPer},
      {E::Any, {edMemoXPosPer, edMemoWidPer}, edMemoWidPer},
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
         // The folder keeps its final "\\": a drive's or a share's root is named by it.
         const size_t Cut = Name.find_last_of("\\/:");
         const std::string Dir = Cut == std::string::npos || Name[Cut] == ':' ? std::string() : Name.substr(0, Cut + 1);
         return Dir.empty() || DirExists(Dir) ||
                Fail(edOutputFileName, Focus,
                     "Directory does not exist for output file. Use Browse button to create directory.");
       }},
  };

  bool Ok = true;
  // What the load refused is named before anything else, one value at each full check: the
  // start names the first, and a save or print names the next, until the user has heard of
  // every value a save will write its default over.
  if (CheckAll) {
    const TRefusedSetting* Refused;
    const std::string Message = CheckRefusedSettings(S, &Refused);
    if (!Message.empty()) {
      const TRefusedSetting Told = *Refused;
      const_cast<TRefusedSetting*>(Refused)->Told = true;
      FValidationFailed = true;
      Ok = TellRefused(Told, Message, Focus);
    }
  }
  if (Ok && !PrintSettings->OutSnapshot) {
    const TRuleSet Set = PrintSettings->OutAsciiFile ? TRuleSet::Export : TRuleSet::Main;
    for (const TRule& Rule : Rules) {
      if ((Rule.Set != Set && Rule.Set != TRuleSet::Any) || (!Ok && !Rule.EvenAfterFailure) ||
          (Rule.ChangeOnly && CheckAll))
        continue;
      if (!CheckAll && !Rule.Triggers.empty() &&
          std::find(Rule.Triggers.begin(), Rule.Triggers.end(), ChangedControl) == Rule.Triggers.end())
        continue;
      bool Passed = true;
      std::string Key;
      TSettingSide Side;
      if (Rule.Check) {
        Passed = Rule.Check();
      } else if ((!Rule.When || Rule.When()) && SettingKeyOfEdit(Rule.Field, Key, Side)) {
        const TSettingRange* Range = FindSettingRange(Key, Side);
        Passed = ChkFldIntRange(Rule.Field, Range->Min, Focus, Range->Units, Range->Name,
                                std::min(Range->Max, Rule.Limit));
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
      ObjInfo->Remeasure(paPagesAcross, FColumnsChanged);
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

// The setup window's commands: Print, Save Options and Close with its save question, the File,
// View and Help menus, the printer choice, the option controls that only mark the settings,
// the text font dialog, the window's show and resize events, the tab access from HidePages and
// the diagnostic caption of the pages-across panel.
#include <algorithm>

#include "engine/VLMXGbl/LineDraw.h"
#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/Run.h"
#include "engine/VLMXGbl0.h"
#include "engine/VLMXUtil.h"
#include "engine/Vellumix/FileMgr.h"
#include "engine/Vellumix/ReportSettings.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/Grids.h"
#include "framework/Menus.h"
#include "framework/Printers.h"
#include "framework/StdCtrls.h"
#include "framework/rtl/SysUtils.h"
#include "windows/VLMXMain/VLMXMain.h"
#include "windows/VLMXPrev/VLMXPrev.h"
#include "windows/VLMXPw/VLMXPw.h"

namespace {

const char* const DiagnosticMark = "...";

// The names HidePages uses for the five pages, with their boxes on the Setup page, in order.
struct TPageBox {
  TCheckBox* TfmVlxMain::*Box;
  const char* Page;
};
const TPageBox PageBoxes[] = {
    {&TfmVlxMain::cbShowGeneralPage, "General"}, {&TfmVlxMain::cbShowOutputPage, "Output"},
    {&TfmVlxMain::cbShowStylePage, "Style"},     {&TfmVlxMain::cbShowTitlesPage, "Titles"},
    {&TfmVlxMain::cbShowSetupPage, "Setup"},
};

// A page's name in HidePages: its component name without the leading "ts".
std::string PageName(const TTabSheet* Page) {
  const std::string& Name = Page->Name();
  return Name.compare(0, 2, "ts") == 0 ? Name.substr(2) : Name;
}

}  // namespace

// ---- Shared routines -------------------------------------------------------------------------

TNotifyEvent TfmVlxMain::RunActiveControlExit(bool Detach, TWinControl*& Control) {
  Control = ActiveControl();
  TNotifyEvent Handler;
  const bool Runs = dynamic_cast<TCustomComboBox*>(Control) || dynamic_cast<TCustomEdit*>(Control) ||
                    dynamic_cast<TDrawGrid*>(Control);
  if (!Runs || !Control->OnExit) return Handler;
  Handler = Control->OnExit;
  if (Detach) Control->OnExit = nullptr;
  Handler(Control);
  return Handler;
}

int TfmVlxMain::ComboIndexOfText(TComboBox* Combo, int Default, bool SetIt) {
  const TStrings& Items = Combo->Items();
  for (int I = 0; I < Items.Count(); ++I)
    if (SameText(Items[I], Combo->Text())) return I;
  if (SetIt) Combo->SetItemIndex(Default);
  return Default;
}

bool TfmVlxMain::TabAllowedByName(const std::string& Name) const {
  return FAllPagesShown || !RptSettings || RptSettings->HidePages.find(Name) == std::string::npos;
}

void TfmVlxMain::ApplyTabVisibility(bool ShowAll) {
  TvlxReportSettings& S = *RptSettings;
  if (ShowAll && (!AskReportPassword(S.ReportTitle, "Enter Report Options Password:", S.RptOptPW,
                                     PasswordCache.RptOptPW, false) ||
                  !AskReportPassword(S.ReportTitle, "Enter Setup Password:", S.RptSetUpPW, PasswordCache.RptSetUpPW,
                                     false)))
    return;
  for (int I = 0; I < pcOptions->PageCount(); ++I) {
    TTabSheet* Page = pcOptions->Pages(I);
    Page->SetTabVisible(ShowAll || S.HidePages.find(PageName(Page)) == std::string::npos);
  }
  TTabSheet* Active = pcOptions->ActivePage();
  if (!Active || !Active->TabVisible()) pcOptions->SetActivePage(pcOptions->FindNextPage(Active, true, true));
  if (ShowAll && tsSetup->TabVisible()) {
    // Both passwords were given: the Setup page's contents, hidden by a refusal before, show.
    ShowSetupContents(true);
    pcOptions->SetActivePage(tsSetup);
  }
  Active = pcOptions->ActivePage();
  const bool PageShown = Active && Active->TabVisible();
  pcOptions->SetVisible(PageShown);
  FAllPagesShown = ShowAll || S.HidePages.empty();
  // With every tab hidden the window shrinks to its command bar and status area.
  paMiddle->SetVisible(PageShown);
  SetClientHeight(paTop->ClientHeight() + paBottom->ClientHeight() + (PageShown ? FPaMiddleHeight : 0));
}

bool TfmVlxMain::AnyEditModified(const TWinControl& Control) const {
  for (int I = 0; I < Control.ControlCount(); ++I) {
    const TControl* Child = Control.Controls(I);
    if (const auto* Edit = dynamic_cast<const TCustomEdit*>(Child); Edit && Edit->Modified()) return true;
    if (const auto* Win = dynamic_cast<const TWinControl*>(Child); Win && AnyEditModified(*Win)) return true;
  }
  return false;
}

// ---- Print -----------------------------------------------------------------------------------

void TfmVlxMain::sbPrintClick(TObject*) {
  TWinControl* Control = nullptr;
  RunActiveControlExit(false, Control);
  PrintReport();
}

void TfmVlxMain::PrintReport() {
  // The page loop lets messages through: a second Print meanwhile would run inside the first.
  if (FPrinting) return Beep();
  FPrinting = true;
  struct TDone {
    bool& Printing;
    ~TDone() { Printing = false; }
  } Done{FPrinting};
  TvlxReportSettings& S = *RptSettings;
  TvlxPrintSettings& Run = *PrintSettings;
  if (!AskReportPassword(S.ReportTitle, "Enter Report Password:", S.RptPW, PasswordCache.RptPW, false))
    throw eVlxSUError("Report Password Violation");
  // Nothing invalid reaches the settings: a failed field is shown on its page instead.
  if (!ValidateOptions(nullptr, true, true)) return;
  TSetupWindowSteps Steps(*this);
  PrepareToPrint(Run.Run(), Steps, FColumnsChanged);
  Run.RunResult = Run.Execute(S.PauseAfterPrinting);
  TellRunFailure(Run);
  if (S.CloseWinAfterPrinting) Application->Post(this, [this] { WMDeferredClose(); });
}

void TfmVlxMain::TellRunFailure(const TvlxPrintSettings& Run) {
  if (Run.RunResult == 3 && !Run.FailureText.empty() && Run.FailureText != VlxUserTerminatedMsg)
    MessageDlg(Run.FailureText, TMsgDlgType::mtError, mbOK, 0);
}

void TfmVlxMain::sbPreviewClick(TObject*) {
  if (FPrinting) return Beep();
  TWinControl* Control = nullptr;
  RunActiveControlExit(false, Control);
  PreviewReport();
  SettingsToForm();
  ShowOutputDestOptions(nullptr, true);
}

// ---- Save and close --------------------------------------------------------------------------

void TfmVlxMain::sbSaveOptsClick(TObject*) {
  TWinControl* Control = nullptr;
  RunActiveControlExit(false, Control);
  SaveSettings(true);
}

void TfmVlxMain::SaveSettings(bool Validate) {
  if (!Validate) {
    FormToSettings();
  } else if (!ValidateOptions(ActiveControl(), true, true)) {  // a passing check stores the controls
    return;
  }
  ObjInfo->Component->SaveReportSettings();
  // Every mark goes, not only the focused edit's: what was saved is no change to ask about.
  ClearEditsModified();
  ShowStatusMsg(paMsg, " Saved ", smkWhite, Timer1, 2);
  RptSettings->Modified = false;
}

bool TfmVlxMain::SettingsFileReadOnly() const {
  const TvlxVellumix* Component = ObjInfo ? ObjInfo->Component : nullptr;
  if (!Component) return false;
  return (Component->FileMgr() && Component->FileMgr()->ReadOnly()) ||
         IsFileReadOnly(Component->GetReportSettingsFile());
}

bool TfmVlxMain::AskSaveSettings() {
  TvlxReportSettings& S = *RptSettings;
  TWinControl* Control = nullptr;
  // Detached so that closing does not run it again; a refused close gives it back.
  const TNotifyEvent Exit = RunActiveControlExit(true, Control);
  const auto Result = [&](bool MayClose) {
    if (!MayClose && Exit && Control) Control->OnExit = Exit;
    return MayClose;
  };
  if (FSettingsReadOnly) S.Modified = false;
  else S.Modified = S.Modified || AnyEditModified(*this);
  if (SettingsFileReadOnly()) return Result(true);
  // Parked above the screen counts: a change made in the preview that the start opened first
  // is as much the user's as one made here.
  if (!S.Modified || Top() >= Screen->Height()) return Result(true);
  Beep();
  const int Answer = MessageDlg("Report Settings have been modified.\r\rSave New Report Settings?",
                                TMsgDlgType::mtConfirmation, mbYesNoCancel, 999);
  if (Answer == mrNo) return Result(true);
  if (Answer != mrYes) return Result(false);
  try {
    SaveSettings(true);
  } catch (const std::exception& E) {
    MessageDlg(E.what(), TMsgDlgType::mtError, mbOK, 0);
  }
  if (!S.Modified) return Result(true);
  MessageDlg("Unable to save report settings", TMsgDlgType::mtWarning, mbCancel, 999);
  return Result(false);
}

bool TfmVlxMain::PreviewOpenedByStart() const { return FStartInProgress && fmVlxPreview; }

bool TfmVlxMain::AskSaveClosingPreview() {
  FSaveAnswered = AskSaveSettings();
  return FSaveAnswered;
}

void TfmVlxMain::FormCloseQuery(TObject*, bool& CanClose) {
  // A window whose run objects never came has nothing to ask or put back.
  if (!RptSettings || !ObjInfo) return;
  CanClose = FStartAborted || FSaveAnswered || AskSaveSettings();
  if (!CanClose) {
    Beep();
    return;
  }
  if (!FStartPending) SaveLineDrawStyles(*RptSettings);
  if (ObjInfo->SavedPosn) ObjInfo->SavedPosn->Restore();
  if (ObjInfo->IsDataSetKind()) ObjInfo->EnableControls();
}

void TfmVlxMain::bbCloseClick(TObject*) { Close(); }

void TfmVlxMain::Timer1Timer(TObject*) { ShowStatusMsg(MessagePanel(), "", smkNormal, Timer1, -1); }

// ---- Menus -----------------------------------------------------------------------------------

// An item, and its short cut, are enabled exactly when the button of its command is (the
// printer setup item serves the browse button too); the preview's button is grey for a window
// snapshot as for an export.
void TfmVlxMain::mnFileClick(TObject*) {
  itmPreview->SetEnabled(sbPreview->Enabled());
  itmPrint->SetEnabled(sbPrint->Enabled());
  itmSave->SetEnabled(sbSaveOpts->Enabled());
  itmOutputSetup->SetEnabled(sbPrinterSetup->Enabled() || buBrowseFile->Enabled());
  itmCalcColSIze->SetEnabled(!PrintSettings->OutSnapshot);
}

void TfmVlxMain::mnViewClick(TObject*) {
  const std::pair<TMenuItem*, TTabSheet*> Items[] = {{itmGeneralTab, tsGeneral}, {itmOutputTab, tsOutput},
                                                     {itmStylesTab, tsStyle},     {itmTitlesTab, tsTitles},
                                                     {itmSetupTab, tsSetup}};
  for (const auto& [Item, Page] : Items) Item->SetEnabled(Page->TabVisible());
}

void TfmVlxMain::itmViewPage(TObject* Sender) {
  const auto* Item = dynamic_cast<TMenuItem*>(Sender);
  if (!Item) return;
  const std::string Name = Item == itmStylesTab ? "tsStyle" : "ts" + StringReplace(Item->Caption(), "&", "", true);
  // As a click on the tab: the page left may refuse, and the page entered asks its password.
  for (int I = 0; I < pcOptions->PageCount(); ++I)
    if (SameText(pcOptions->Pages(I)->Name(), Name)) return pcOptions->SelectPage(pcOptions->Pages(I));
}

void TfmVlxMain::itmTogglePagesClick(TObject*) { ApplyTabVisibility(!FAllPagesShown); }

void TfmVlxMain::itmHelp1Click(TObject*) { Application->HelpContext(HelpContext()); }

void TfmVlxMain::itmOutputDestinationClick(TObject*) {
  pcOptions->SetActivePage(tsOutput);
  ShowFieldError(cbxOutputDest, true, "");
}

// ---- Printer choice --------------------------------------------------------------------------

void TfmVlxMain::cmbPrintersDropDown(TObject*) {
  const std::string Text = cmbPrinters->Text();
  cmbPrinters->Items().Assign(Printer()->Printers());
  cmbPrinters->SetText(Text);
}

void TfmVlxMain::cmbPrintersChange(TObject*) {
  if (FSuppressEvents) return;
  RptSettings->Modified = true;
  PrintSettings->PageSetupChanged = true;
}

void TfmVlxMain::cmbPrintersExit(TObject*) {
  if (FSuppressEvents) return;
  if (Trim(cmbPrinters->Text()).empty()) {
    if (!cbDefaultPrinter->Focused()) cbDefaultPrinter->SetChecked(true);
    return;
  }
  if (!PrintSettings->PageSetupChanged) return;
  RptSettings->PrinterName = cmbPrinters->Text();
  SelectPrinterByName(RptSettings->PrinterName);
  ShowOutputDestOptions(cmbPrinters, false);
  if (ValidateOptions(cmbPrinters, false, true)) ApplyFontScaling(false);
}

void TfmVlxMain::cbDefaultPrinterClick(TObject*) {
  if (FSuppressEvents) return;
  RptSettings->Modified = true;
  RptSettings->DefaultPrinter = cbDefaultPrinter->Checked();
  ShowOutputDestOptions(cbDefaultPrinter, false);
  if (!ValidateOptions(cbDefaultPrinter, false, true)) return;
  PrintSettings->PageSetupChanged = true;
  ApplyFontScaling(false);
}

void TfmVlxMain::cbxOrientationChange(TObject*) {
  if (FSuppressEvents || cbxOrientation->ItemIndex() < 0) return;
  RptSettings->Modified = true;
  RptSettings->Orientation = static_cast<uint8_t>(cbxOrientation->ItemIndex());
  PrintSettings->PageSetupChanged = true;
  ApplyFontScaling(true);
}

// ---- Output file and export edits ------------------------------------------------------------

void TfmVlxMain::edOutputFileNameExit(TObject*) {
  if (FSuppressEvents || !edOutputFileName->Modified()) return;
  edOutputFileName->SetModified(false);
  RptSettings->Modified = true;
  RptSettings->OutputFileName = edOutputFileName->Text();
  ShowOutputDestOptions(edOutputFileName, false);
  ValidateOptions(edOutputFileName, false, true);
}

void TfmVlxMain::cmbExportFieldDelimExit(TObject*) {
  if (!FSuppressEvents) ValidateOptions(cmbExportFieldDelim, false, true);
}

void TfmVlxMain::cbFastPrinterTextClick(TObject*) {
  if (FSuppressEvents) return;
  RptSettings->FastPrinterText = cbFastPrinterText->Checked();
  ShowOutputDestOptions(cbFastPrinterText, false);
  if (ValidateOptions(cbFastPrinterText, false, true)) ApplyFontScaling(true);
}

void TfmVlxMain::cbAllowFastPrinterTextClick(TObject*) {
  if (FSuppressEvents || !ValidateOptions(cbAllowFastPrinterText, false, true)) return;
  RptSettings->Modified = true;
  ShowOutputDestOptions(cbAllowFastPrinterText, false);
}

// ---- Option controls that mark the settings --------------------------------------------------

void TfmVlxMain::cbxAutoSizzeChange(TObject*) {
  if (FSuppressEvents) return;
  RptSettings->Modified = true;
  RptSettings->AutoSizze = static_cast<uint8_t>(std::max(cbxAutoSizze->ItemIndex(), 0));
  ShowOutputDestOptions(cbxAutoSizze, false);
}

void TfmVlxMain::rbPrintWhatAllClick(TObject* Sender) {
  const auto* Button = dynamic_cast<TRadioButton*>(Sender);
  if (FSuppressEvents || !Button) return;
  TvlxReportSettings& S = *RptSettings;
  S.Modified = true;
  const TPrintWhat Old = S.PrintWhat;
  S.PrintWhat = static_cast<TPrintWhat>(Button->Tag);
  if (Old == pwSelectedRows || S.PrintWhat == pwSelectedRows) {
    // The rows to print change, and the columns are built and measured over them again.
    ObjInfo->CountSelected();
    const TvlxRunState State = PrintSettings->RunState;
    try {
      PrintSettings->AskSelectedRows();
    } catch (const eVlxUserTermRpt&) {
      // Cancel in the question undoes the choice that asked it: nothing was printed, so nothing
      // ends, and the next Print asks again.
      PrintSettings->RunState = State;
      S.PrintWhat = Old;
      const bool WasSuppressed = FSuppressEvents;
      FSuppressEvents = true;
      for (int I = 0; I < gbPrintWhat->ControlCount(); ++I)
        if (auto* Radio = dynamic_cast<TRadioButton*>(gbPrintWhat->Controls(I)); Radio && Radio->Tag == Old)
          Radio->SetChecked(true);
      FSuppressEvents = WasSuppressed;
      return;
    }
    FColumnsChanged = FTotalsChanged = true;
    // The rebuild scans the rows it now prints and lays the columns out: measuring them again
    // would read the same rows once more for the same widths.
    RebuildColumns();
  }
  ShowOutputDestOptions(Sender, false);
  ApplyFontScaling(false);
}

void TfmVlxMain::cbxColTitleAlignmentChange(TObject*) {
  if (FSuppressEvents) return;
  RptSettings->Modified = true;
  ShowOutputDestOptions(cbxColTitleAlignment, false);
}

void TfmVlxMain::edMaxMemoColWidExit(TObject* Sender) {
  auto* Edit = dynamic_cast<TCustomEdit*>(Sender);
  if (FSuppressEvents || !Edit || !Edit->Modified() || !ValidateOptions(Sender, false, true)) return;
  Edit->SetModified(false);
  RptSettings->Modified = true;
  RelayoutColumns();
}

void TfmVlxMain::edStartingReportLineIdChange(TObject*) {
  if (FSuppressEvents || !edStartingReportLineId->Modified()) return;
  RptSettings->Modified = true;
  if (!ValidateOptions(edStartingReportLineId, false, false)) return;
  RptSettings->StartingReportLineId = StrToIntDef(Trim(edStartingReportLineId->Text()), 0);
  RelayoutColumns();
}

void TfmVlxMain::cbxIfOutputFileExistsChange(TObject*) {
  if (FSuppressEvents) return;
  ValidateOptions(cbxIfOutputFileExists, false, true);
  RptSettings->IfOutputFileExists = static_cast<uint8_t>(ComboIndexOfText(cbxIfOutputFileExists, 0, false));
  RptSettings->Modified = true;
}

void TfmVlxMain::cbxReportAlignmentChange(TObject*) {
  if (!FSuppressEvents) RptSettings->Modified = true;
}

void TfmVlxMain::cbxReportAlignmentExit(TObject*) {
  if (!FSuppressEvents) ValidateOptions(cbxReportAlignment, false, false);
}

void TfmVlxMain::cbCloseWinAfterPrintingClick(TObject*) {
  if (FSuppressEvents) return;
  RptSettings->Modified = true;
  ValidateOptions(cbCloseWinAfterPrinting, false, true);
}

void TfmVlxMain::cbDisplayReportOptionsWinClick(TObject*) {
  if (!FSuppressEvents) RptSettings->Modified = true;
}

void TfmVlxMain::edTextFontNameChange(TObject*) {
  if (FSuppressEvents) return;
  RptSettings->Modified = true;
  if (!ValidateOptions(edTextFontName, false, false)) return;
  RptSettings->TextFontName = edTextFontName->Text();
  ApplyFontScaling(false);
}

void TfmVlxMain::cbShrinkToPageClick(TObject*) {
  if (FSuppressEvents) return;
  RptSettings->Modified = true;
  if (!ValidateOptions(cbShrinkToPage, false, true)) return;
  RptSettings->ShrinkToPage = cbShrinkToPage->Checked();
  RptSettings->ExpandToPage = cbExpandToPage->Checked();
  ApplyFontScaling(false);
}

void TfmVlxMain::cmbSnapshotSizeChange(TObject*) {
  if (!FSuppressEvents) RptSettings->Modified = true;
}

void TfmVlxMain::rbCountNumRcdsClick(TObject* Sender) {
  if (FSuppressEvents) return;
  RptSettings->Modified = true;
  ShowOutputDestOptions(Sender, false);
}

void TfmVlxMain::cbPreviewFirstClick(TObject*) {
  if (FSuppressEvents) return;
  RptSettings->Modified = true;
  RptSettings->PreviewFirst = cbPreviewFirst->Checked();
}

void TfmVlxMain::cbDisplayPagesClick(TObject*) {
  if (FSuppressEvents) return;
  RptSettings->Modified = true;
  RptSettings->HidePages = HiddenPagesOfBoxes();
}

std::string TfmVlxMain::HiddenPagesOfBoxes() const {
  std::string Pages;
  for (const TPageBox& Row : PageBoxes)
    if (!(this->*Row.Box)->Checked()) Pages += std::string(Row.Page) + ",";
  if (!Pages.empty()) Pages.pop_back();
  return Pages;
}

void TfmVlxMain::HiddenPagesToBoxes(const std::string& HidePages) {
  for (const TPageBox& Row : PageBoxes) (this->*Row.Box)->SetChecked(HidePages.find(Row.Page) == std::string::npos);
}

// ---- Text font -------------------------------------------------------------------------------

void TfmVlxMain::buTextFontNameClick(TObject*) {
  TvlxReportSettings& S = *RptSettings;
  TFont& Font = FontDialog1->Font();
  Font.SetName(edTextFontName->Text());
  Font.SetSize(S.ClampFontSize(StrToIntDef(Trim(edTextFontSize->Text()), 0)));
  FontDialog1->SetOptions(fdFixedPitchOnly);
  if (!FontDialog1->Execute()) return;
  edTextFontName->SetText(Font.Name());
  edTextFontSize->SetText(IntToStr(Font.Size()));
  S.TextFontName = Font.Name();
  S.TextFontSize = S.ClampFontSize(Font.Size());
  S.TextFontStyle = FontStylesToInt(Font.Style());
  S.TextFontColor = static_cast<int>(Font.Color());
  if (ValidateOptions(edTextFontSize, false, true)) ApplyFontScaling(false);
}

// ---- Window events ---------------------------------------------------------------------------

void TfmVlxMain::FormResize(TObject*) {
  if (!RptSettings) return;
  // The output file controls take the bar's width from the printer setup button's place on;
  // the existing-file choice keeps to the bar's right edge.
  constexpr int RightGap = 5, ButtonGap = 5, EditGap = 2, EditIndent = 4;
  bvOutputFileName->SetLeft(sbPrinterSetup->Left() - 1);
  edOutputFileName->SetLeft(bvOutputFileName->Left() + EditIndent);
  cbxIfOutputFileExists->SetLeft(paTop->ClientWidth() - RightGap - cbxIfOutputFileExists->Width());
  buBrowseFile->SetLeft(cbxIfOutputFileExists->Left() - ButtonGap - buBrowseFile->Width());
  edOutputFileName->SetWidth(std::max(0, buBrowseFile->Left() - EditGap - edOutputFileName->Left()));
  LayoutMemoMargins();
  LayoutStylePanel();
}

void TfmVlxMain::paPagesAcrossClick(TObject*) {
  const std::string Title = Caption();
  const size_t Mark = Title.find(DiagnosticMark);
  if (Mark != std::string::npos) {
    SetCaption(Title.substr(0, Mark));
    paMsg->SetCaption("");
    return;
  }
  const std::string Object = ObjInfo && ObjInfo->Object ? ObjInfo->Object->Name() : "";
  SetCaption(Title + DiagnosticMark + "ReportId: \"" + RptSettings->ReportId + "\", ObjectToPrint:" + Object);
  const TvlxVellumix* Component = ObjInfo ? ObjInfo->Component : nullptr;
  paMsg->SetCaption(" ReportSettings File: " + (Component ? Component->GetReportSettingsFile() : std::string()));
}

// ---- Binding ---------------------------------------------------------------------------------

void TfmVlxMain::BindCommandHandlers() {
  // A menu item clicks its command's button, never a grey one.
  const auto ClickButton = [this](TSpeedButton* TfmVlxMain::*Button) {
    return TNotifyEvent([this, Button](TObject*) {
      if ((this->*Button)->Enabled()) (this->*Button)->Click();
    });
  };
  BindHandler("sbPrintClick", &TfmVlxMain::sbPrintClick);
  PublishedMethod("itmPrintClick", ClickButton(&TfmVlxMain::sbPrint));
  BindHandler("sbPreviewClick", &TfmVlxMain::sbPreviewClick);
  PublishedMethod("itmPreviewClick", ClickButton(&TfmVlxMain::sbPreview));
  BindHandler("sbSaveOptsClick", &TfmVlxMain::sbSaveOptsClick);
  PublishedMethod("itmSaveClick", ClickButton(&TfmVlxMain::sbSaveOpts));
  BindHandler("bbCloseClick", &TfmVlxMain::bbCloseClick);
  BindHandler("Timer1Timer", &TfmVlxMain::Timer1Timer);
  BindHandler("mnFileClick", &TfmVlxMain::mnFileClick);
  BindHandler("mnViewClick", &TfmVlxMain::mnViewClick);
  BindHandler("itmViewPage", &TfmVlxMain::itmViewPage);
  BindHandler("itmTogglePagesClick", &TfmVlxMain::itmTogglePagesClick);
  BindHandler("itmHelp1Click", &TfmVlxMain::itmHelp1Click);
  BindHandler("itmOutputDestinationClick", &TfmVlxMain::itmOutputDestinationClick);
  BindHandler("cmbPrintersDropDown", &TfmVlxMain::cmbPrintersDropDown);
  BindHandler("cmbPrintersChange", &TfmVlxMain::cmbPrintersChange);
  BindHandler("cmbPrintersExit", &TfmVlxMain::cmbPrintersExit);
  BindHandler("cbDefaultPrinterClick", &TfmVlxMain::cbDefaultPrinterClick);
  BindHandler("cbxOrientationChange", &TfmVlxMain::cbxOrientationChange);
  BindHandler("edOutputFileNameExit", &TfmVlxMain::edOutputFileNameExit);
  BindHandler("cmbExportFieldDelimExit", &TfmVlxMain::cmbExportFieldDelimExit);
  BindHandler("cbFastPrinterTextClick", &TfmVlxMain::cbFastPrinterTextClick);
  BindHandler("cbAllowFastPrinterTextClick", &TfmVlxMain::cbAllowFastPrinterTextClick);
  BindHandler("cbxAutoSizzeChange", &TfmVlxMain::cbxAutoSizzeChange);
  BindHandler("rbPrintWhatAllClick", &TfmVlxMain::rbPrintWhatAllClick);
  BindHandler("cbxColTitleAlignmentChange", &TfmVlxMain::cbxColTitleAlignmentChange);
  BindHandler("edMaxMemoColWidExit", &TfmVlxMain::edMaxMemoColWidExit);
  BindHandler("edStartingReportLineIdChange", &TfmVlxMain::edStartingReportLineIdChange);
  BindHandler("cbxIfOutputFileExistsChange", &TfmVlxMain::cbxIfOutputFileExistsChange);
  BindHandler("cbxReportAlignmentChange", &TfmVlxMain::cbxReportAlignmentChange);
  BindHandler("cbxReportAlignmentExit", &TfmVlxMain::cbxReportAlignmentExit);
  BindHandler("cbCloseWinAfterPrintingClick", &TfmVlxMain::cbCloseWinAfterPrintingClick);
  BindHandler("cbDisplayReportOptionsWinClick", &TfmVlxMain::cbDisplayReportOptionsWinClick);
  BindHandler("edTextFontNameChange", &TfmVlxMain::edTextFontNameChange);
  BindHandler("cbShrinkToPageClick", &TfmVlxMain::cbShrinkToPageClick);
  BindHandler("cmbSnapshotSizeChange", &TfmVlxMain::cmbSnapshotSizeChange);
  BindHandler("rbCountNumRcdsClick", &TfmVlxMain::rbCountNumRcdsClick);
  BindHandler("cbPreviewFirstClick", &TfmVlxMain::cbPreviewFirstClick);
  BindHandler("cbDisplayPagesClick", &TfmVlxMain::cbDisplayPagesClick);
  BindHandler("buTextFontNameClick", &TfmVlxMain::buTextFontNameClick);
  BindHandler("paPagesAcrossClick", &TfmVlxMain::paPagesAcrossClick);
}

// The setup window's life: creating and freeing the run's objects, keeping the application's
// own state aside for the run, the start of the run (message 1126) with its choice between
// showing the window and printing at once, and the deferred close (message 1125).
#include <algorithm>

#include "engine/VLMXFont.h"
#include "engine/VLMXGbl/LineDraw.h"
#include "engine/VLMXGbl/Run.h"
#include "engine/VLMXGbl/RunStart.h"
#include "engine/VLMXGbl0.h"
#include "engine/VLMXUtil.h"
#include "engine/Vellumix/FileMgr.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/CheckLst.h"
#include "framework/ComCtrls.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/Grids.h"
#include "framework/Printers.h"
#include "framework/StdCtrls.h"
#include "framework/rtl/SysUtils.h"
#include "windows/VLMXMain/VLMXMain.h"
#include "windows/VLMXPgrs/VLMXPgrs.h"
#include "windows/VLMXPrev/VLMXPrev.h"
#include "windows/VLMXPw/VLMXPw.h"

namespace {

constexpr int StartHintHidePause = 5000;
const char* const HelpFileName = "VL_USER.HLP";

}  // namespace

// ---- TSaveOrig -------------------------------------------------------------------------------

TSaveOrig::TSaveOrig()
    : FHelpFile(Application->HelpFile()),
      FShowHint(Application->ShowHint()),
      FOnHint(Application->OnHint),
      FHintHidePause(Application->HintHidePause()),
      FCursor(Screen->Cursor()) {
  try {
    FPrinterIndex = Printer()->PrinterIndex();
    FPrinterFont = std::make_unique<TFont>();
    FPrinterFont->Assign(Printer()->Canvas()->Font());
    FPrinterTitle = Printer()->Title();
  } catch (const EPrinter&) {
    FSkipPrinterRestore = true;
    throw eVlxSUError("Windows does not have a Default Printer assigned");
  }
}

TSaveOrig::~TSaveOrig() {
  if (!FSkipPrinterRestore) {
    try {
      Printer()->Canvas()->Font().Assign(*FPrinterFont);
      Printer()->SetPrinterIndex(FPrinterIndex);
      Printer()->SetTitle(FPrinterTitle);
    } catch (const EPrinter&) {
      // The printer went away during the run: there is nothing left to put back on it.
    }
  }
  Application->SetShowHint(FShowHint);
  Application->OnHint = FOnHint;
  Application->SetHelpFile(FHelpFile);
  Application->SetHintHidePause(FHintHidePause);
  Screen->SetCursor(FCursor);
}

// ---- Creation and destruction ----------------------------------------------------------------

void TRunPartFree::operator()(TvlxRun* Run) const { delete Run; }
void TRunPartFree::operator()(TvlxRunScope* Scope) const { delete Scope; }
void TRunPartFree::operator()(TvlxFontLoader* Loader) const { delete Loader; }

void TfmVlxMain::DoCreate() {
  OnShow = [this](TObject*) { FormShow(); };
  OnDestroy = [this](TObject*) { FormDestroy(); };
  OnCreate = [this](TObject*) { FormCreate(); };
  OnCloseQuery = [this](TObject* Sender, bool& CanClose) { FormCloseQuery(Sender, CanClose); };
  OnResize = [this](TObject* Sender) { FormResize(Sender); };
  TForm::DoCreate();
}

bool TfmVlxMain::RunReady() const { return FRun && FRunScope && PrintSettings && RptStyles && ObjInfo && RptSettings; }

int TfmVlxMain::RunResult() const { return PrintSettings ? PrintSettings->RunResult : 3; }

void TfmVlxMain::FormCreate() {
  SetPosition(TPosition::poDesigned);
  FPaMiddleHeight = paMiddle->Height();
  // Modal but out of sight until the start decides whether the user sees the window.
  PlaceForm(this, false);
  FValidationFailed = FSuppressEvents = FSkipOutputRefresh = FSkipValidation = true;
  try {
    FRun.reset(new TvlxRun);
    FRunScope.reset(new TvlxRunScope(*FRun));
    FStartPending = true;
    FStartInProgress = false;
    FSaveOrig = std::make_unique<TSaveOrig>();
    FFontLoader.reset(new TvlxFontLoader(this, "VLXLINEDRAW", "VLMXFONT", "Letter Gothic Line", "LetGothL.TTF"));
    FFontLoader->Install();
  } catch (...) {
    FormDestroy();
    throw;
  }
}

void TfmVlxMain::FormDestroy() {
  delete fmVlxProgress;
  fmVlxProgress = nullptr;
  // The application's state comes back before the run it was saved for goes.
  FSaveOrig.reset();
  FRunScope.reset();
  FRun.reset();
  FFontLoader.reset();
  if (lbxStyleOpts) ClearStyleOptsList();
  ClearPasswordCache();
}

void TfmVlxMain::BindComponent(TvlxVellumix& Component, TCustomForm* ActiveWindow) {
  ObjInfo->Object = Component.ObjectToPrint();
  ObjInfo->ComponentName = Component.Name().empty() ? "TvlxVellumix" : Component.Name();
  ObjInfo->ActiveForm = ActiveWindow;
  ObjInfo->SetupWin = this;
  ObjInfo->Component = &Component;
  ObjInfo->AfterOptionsLoaded = Component.AfterOptionsLoaded;
  RptSettings->ReportId = Component.ReportId();
  RptSettings->ReportTitle = Component.DialogTitle();
  Component.FileMgr()->SetReportSettings(RptSettings);
}

void TfmVlxMain::FormShow() {
  // The start reads the settings file: once it has run, a window shown again (after a preview
  // or a print hid it) shows the settings as they stand, unsaved changes included.
  if (!FStartInProgress && FStartPending) {
    Application->Post(this, [this] { WMStartReport(); });
    return;
  }
  if (RptSettings && PrintSettings) {
    SettingsToForm();
    ShowOutputDestOptions(nullptr, true);
  }
}

void TfmVlxMain::InitAppForReport() {
  // Reaching the printer's canvas makes the printer device ready.
  Printer()->Canvas();
  FSuppressEvents = FSkipOutputRefresh = FSkipValidation = false;
  PrintSettings->PrinterIndex = Printer()->PrinterIndex();
  // The hints follow this machine's default until the report's settings are loaded.
  LoadLineDrawStyles(*RptSettings);
  Application->SetShowHint(RptSettings->ShowHint);
  Application->OnHint = [this](TObject* Sender) { AppHintHandler(Sender); };
  Application->SetHintHidePause(StartHintHidePause);
  std::string Help = HelpFileName;
  Application->SetHelpFile(LocateFile(Help, ObjInfo->Component) ? Help : HelpFileName);
  PrintSettings->RunResult = 0;
}

// ---- The start of the run --------------------------------------------------------------------

void TfmVlxMain::WMStartReport() {
  timTerminate->SetEnabled(true);
  FStartInProgress = true;
  Screen->SetCursor(crHourGlass);
  struct TEndOfStart {
    TfmVlxMain& Form;
    ~TEndOfStart() {
      Form.FStartInProgress = false;
      Screen->SetCursor(crArrow);
      Form.FStartPending = false;
      if (RptSettings) RptSettings->NewRpt = false;
      Form.FValidationFailed = Form.FSuppressEvents = false;
    }
  } EndOfStart{*this};
  try {
    InitAppForReport();
    const TShiftState Keys = KeyboardShiftState();
    const bool CtrlShift = (Keys & ssCtrl) && (Keys & ssShift);
    TSetupWindowSteps Steps(*this);
    FValidationFailed = !StartRun(PrintSettings->Run(), Steps);
    TvlxReportSettings& S = *RptSettings;

    const bool CanPreview = S.PrintWhat != pwSnapshot && S.OutputDest != odAsciiExport;
    bool ShowWindow = S.DisplayReportOptionsWin || CtrlShift || FValidationFailed;
    const bool PreviewFirst = S.PreviewFirst && CanPreview;
    if (PreviewFirst && !CtrlShift && !FValidationFailed) ShowWindow = PreviewReport();
    if (ShowWindow) {
      Screen->SetCursor(crDefault);
      if (!AskReportPassword(S.ReportTitle, "Enter Report Options Password:", S.RptOptPW, PasswordCache.RptOptPW,
                             false))
        throw eVlxSUError("Report Options Password Violation");
      // The output file controls take their places across the command bar before it shows.
      FormResize(this);
      PlaceForm(this, true);
    } else {
      if (!PreviewFirst) PrintReport();
      Application->Post(this, [this] { WMDeferredClose(); });
    }
  } catch (const std::exception& E) {
    Screen->SetCursor(crDefault);
    MessageDlg(E.what(), TMsgDlgType::mtWarning, mbOK, 0);
    AbortReportSetup(E.what());
  }
}

// ---- The window's steps of the start and of each print ------------------------------------------

void TSetupWindowSteps::ObjectIdentified() {
  FForm.dgColumns->SetVisible(!ObjInfo->DecisionGrid);
  FForm.pcOptions->SetActivePage(FForm.tsGeneral);
}

void TSetupWindowSteps::ColumnsBuilt() {
  FForm.FSettingsReadOnly = RptSettings->SettingsReadOnly;
  FForm.FSkipOutputRefresh = FForm.FSkipValidation = false;
  FForm.SettingsToForm();
}

void TSetupWindowSteps::ChooseOutput(TvlxRun&) {
  const std::string& Title = RptSettings->ReportTitle;
  FForm.SetCaption(Title.empty() ? "Report Options" : "Report Options: " + Title);
  FForm.ShowOutputDestOptions(nullptr, true);
}

void TSetupWindowSteps::FitPage(TvlxRun&, bool ShowWidthWarning) { FForm.ApplyFontScaling(ShowWidthWarning); }

bool TSetupWindowSteps::SettingsValid() {
  FForm.FValidationFailed = !FForm.ValidateOptions(nullptr, true, true);
  return !FForm.FValidationFailed;
}

void TSetupWindowSteps::BeforeColumnScan() { FForm.LayoutStylePanel(); }

TControl* TSetupWindowSteps::PagesAcrossLabel() { return FForm.paPagesAcross; }

void TSetupWindowSteps::ColumnsScanned() { FForm.ClearEditsModified(); }

void TfmVlxMain::AbortReportSetup(const std::string& Msg) {
  // The user has seen the one message: the close must neither check a field (the controls may
  // never have been loaded) nor ask a password or a question.
  FStartAborted = true;
  Application->Post(this, [this] { WMDeferredClose(); });
  if (!RptSettings) return;
  RptSettings->Modified = false;
  if (Msg != VlxUserTerminatedMsg)
    throw eVlxSUError("Due to errors, the report: \"" + RptSettings->ReportTitle + "\" cannot be printed");
}

void TfmVlxMain::WMDeferredClose() { Close(); }

void TfmVlxMain::SelectComboText(const std::string& Text, TComboBox* Combo, const std::vector<std::string>& Names) {
  const int Last = std::min(Combo->Items().Count() - 1, static_cast<int>(Names.size()) - 1);
  for (int I = 0; I <= Last; ++I)
    if (Names[I] == Text) {
      Combo->SetItemIndex(I);
      return;
    }
  Combo->SetText(Text);
}

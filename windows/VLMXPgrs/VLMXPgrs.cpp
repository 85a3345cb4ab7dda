#include "windows/VLMXPgrs/VLMXPgrs.h"

#include <iterator>
#include <memory>

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXUtil.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/Buttons.h"
#include "framework/ExtCtrls.h"
#include "framework/Grids.h"
#include "framework/StdCtrls.h"
#include "framework/rtl/DateUtils.h"
#include "framework/rtl/SysUtils.h"

TfmVlxProgress* fmVlxProgress = nullptr;

namespace {

// The windows the running report disabled, from ProgressDisableWindows to ProgressFinish.
std::unique_ptr<TFormsDisabled> GRunDisabled;

constexpr unsigned RefreshMs = 500;
// Ctrl+Pause reaches a program as the Cancel key (Ctrl+Break); a Pause with Ctrl held counts
// the same where the keyboard reports it so.
constexpr unsigned short vkCancel = 3, vkPause = 19, vkEscape = 27;
constexpr int RequestAbort = 3, RequestResume = 5;

// The operation by page mode (index), present and past tense; modes without one read "?".
const char* const PresentTense[] = {"Printing", "Previewing", "Scanning", "Exporting", "?",
                                    "Calculating Column Widths"};
const char* const PastTense[] = {"Report", "Previewed", "Scanned", "Export", "?",
                                 "Calculated Column Widths"};
const char* const RunStateText[] = {" Inactive", " Active", " Completed Normally",
                                    " --Terminated With Error--", " User Cancelled"};

}  // namespace

TfmVlxProgress::TfmVlxProgress(TComponent* AOwner) : TForm(AOwner) {
  Published(lbOutputDestination, "lbOutputDestination");
  Published(paProgressBackground, "paProgressBackground");
  Published(paProgressBar, "paProgressBar");
  Published(lbPageNum, "lbPageNum");
  Published(bbOk, "bbOk");
  Published(bbCancel, "bbCancel");
  Published(bbResumeOper, "bbResumeOper");
  Published(bbAbortOper, "bbAbortOper");
  Published(paStatusBar, "paStatusBar");
  PublishedMethod("FormCreate", TNotifyEvent([this](TObject*) { FormCreate(); }));
  PublishedMethod("FormShow", TNotifyEvent([this](TObject*) {
    MayClose = false;
    if (PrintSettings && (PrintSettings->PageMode == pmPrint || PrintSettings->PageMode == pmAsciiExport))
      lbOutputDestination->SetCaption("Output: " + PrintSettings->DestName);
  }));
  PublishedMethod("FormCloseQuery", TCloseQueryEvent([this](TObject*, bool& CanClose) {
    CanClose = MayClose;
    if (!CanClose) Beep();
  }));
  PublishedMethod("FormKeyDown", TKeyEvent([this](TObject*, unsigned short& Key, TShiftState Shift) {
    FormKeyDown(Key, Shift);
  }));
  PublishedMethod("bbOkClick", TNotifyEvent([this](TObject*) {
    MayClose = true;
    Close();
  }));
  PublishedMethod("bbCancelClick", TNotifyEvent([this](TObject*) { Suspend(); }));
  PublishedMethod("bbResumeOperClick", TNotifyEvent([this](TObject*) { bbResumeOperClick(); }));
  PublishedMethod("bbAbortOperClick", TNotifyEvent([this](TObject*) { bbAbortOperClick(); }));
  CreateFromLayout("TfmVlxProgress");
}

TfmVlxProgress::~TfmVlxProgress() { GRunDisabled.reset(); }

void TfmVlxProgress::FormCreate() {
  bbOk->SetLeft((Width() - bbOk->Width()) / 2);
  bbCancel->SetLeft((Width() - bbCancel->Width()) / 2);
  SetControlsShown({bbOk, bbAbortOper, bbResumeOper}, false);
  lbPageNum->SetCaption("");
  LastTick = TickCount();
}

void TfmVlxProgress::FormKeyDown(unsigned short& Key, TShiftState Shift) {
  const bool Stop = Key == vkEscape || Key == vkCancel || (Key == vkPause && (Shift & ssCtrl));
  // Only a running job can be suspended: the summary and the suspension hide Cancel.
  if (!Stop || !bbCancel->Visible()) return;
  Key = 0;
  Suspend();
}

std::string TfmVlxProgress::OperationText(bool PastTense, bool WithStatus) const {
  const unsigned Mode = PrintSettings ? static_cast<unsigned>(PrintSettings->PageMode) : std::size(PresentTense);
  std::string Text = Mode < std::size(PresentTense) ? (PastTense ? ::PastTense : PresentTense)[Mode] : "?";
  if (WithStatus && PrintSettings && PrintSettings->RunState < std::size(RunStateText))
    Text += RunStateText[PrintSettings->RunState];
  return Text;
}

std::string TfmVlxProgress::CountUnitName() {
  return ObjInfo && IsKindInRange(ObjInfo->ObjType) ? "Rows" : "Records";
}

void TfmVlxProgress::SetStatusLine(TColor Color, TColor FontColor, const std::string& Caption) {
  if (paStatusBar->Color() != Color) paStatusBar->SetColor(Color);
  if (paStatusBar->Font().Color() != FontColor) paStatusBar->Font().SetColor(FontColor);
  paStatusBar->SetCaption(Caption);
}

void TfmVlxProgress::SetProgressStatusBar(bool Suspended) {
  if (Suspended) SetStatusLine(clBlack, clWhite, "-- User Suspended " + OperationText(false, false) + " --");
  else SetStatusLine(clBtnFace, clWindowText, OperationText(false, false) + "...Please Wait!");
}

void TfmVlxProgress::SetControlsShown(std::initializer_list<TControl*> Controls, bool Show) {
  for (TControl* Control : Controls) {
    if (dynamic_cast<TWinControl*>(Control)) Control->SetEnabled(Show);
    Control->SetVisible(Show);
  }
}

// Running: Cancel offered; suspended: Abort and Resume instead.
void TfmVlxProgress::ShowRunning(bool Running) {
  SetControlsShown({bbAbortOper, bbResumeOper}, !Running);
  SetControlsShown({bbCancel}, Running);
}

void TfmVlxProgress::Suspend() {
  ShowRunning(false);
  SetProgressStatusBar(true);
  PendingRequest = 0;
  MayClose = true;
  Close();
  PlaceForm(this, true);
  ShowModal();
  if (PendingRequest == RequestAbort) {
    MayClose = true;
    Close();
    return;
  }
  // Ended any other way than by Abort, the job goes on.
  ShowRunning(true);
  SetProgressStatusBar(false);
  Show();
  Application->ProcessMessages();
}

void TfmVlxProgress::bbResumeOperClick() {
  ShowRunning(true);
  SetProgressStatusBar(false);
  PendingRequest = RequestResume;
  MayClose = true;
  Close();
}

void TfmVlxProgress::bbAbortOperClick() {
  PendingRequest = RequestAbort;
  ShowRunning(true);
  if (PrintSettings) PrintSettings->RunState = rsTerminatedWithError;
  MayClose = true;
  Close();
}

void TfmVlxProgress::ShowBarText(const std::string& Text) {
  // Room for the bevel and a blank on either side of the text.
  const bool Fits = Backend::ScreenTextDevice().TextExtent(Text, paProgressBar->Font()).cx + 8 <= paProgressBar->Width();
  paProgressBar->SetCaption(Fits ? Text : "");
  paProgressBackground->SetCaption(Fits ? "" : Text);
}

void TfmVlxProgress::ShowSummary(const std::string& Msg) {
  MayClose = true;
  Close();
  bbOk->SetDefault(true);
  SetControlsShown({bbOk}, true);
  SetControlsShown({bbCancel}, false);
  bbResumeOper->Hide();
  bbAbortOper->Hide();
  lbPageNum->SetCaption(Msg);
  const TvlxPrintSettings* Run = PrintSettings;
  if (Run && Run->RunState == rsCompletedNormally) {
    paProgressBar->SetWidth(paProgressBackground->Width());
    ShowBarText(Format("%d %s  (%3.0f%%)", {ObjInfo ? ObjInfo->RowsProcessed : 0, CountUnitName(), 100.0}));
    const bool Paged = !Run->OutAsciiFile && (Run->PageMode == pmPrint || Run->PageMode == pmLayoutOnly);
    if (Paged && Run->PagesWritten == 0) {
      const bool Range = RptSettings && RptSettings->PrintWhat == pwPageRange;
      SetStatusLine(clRed, clWhite, Range ? "No pages found for page range" : "No pages printed");
    } else {
      SetStatusLine(clGreen, clWhite, OperationText(true, true));
    }
  } else {
    SetStatusLine(clRed, clWhite, OperationText(true, true));
  }
  PlaceForm(this, true);
  Beep();
  ShowModal();
}

void ProgressStart(bool Show, const std::string& Caption, const std::string& AbortCaption,
                   const std::string& ResumeCaption) {
  if (!Show || (RptSettings && !RptSettings->DisplayProgressWin)) return;
  if (!fmVlxProgress) fmVlxProgress = new TfmVlxProgress(nullptr);
  TfmVlxProgress& Form = *fmVlxProgress;
  Form.SavedCursor = Screen->Cursor();
  Screen->SetCursor(crHourGlass);
  Form.paProgressBar->SetWidth(0);
  Form.ShowBarText("");
  Form.lbPageNum->SetCaption("");
  if (!Caption.empty()) Form.SetCaption(Caption);
  Form.SetProgressStatusBar(false);
  Form.bbAbortOper->SetCaption(AbortCaption);
  Form.bbResumeOper->SetCaption(ResumeCaption);
  TfmVlxProgress::SetControlsShown({Form.bbAbortOper, Form.bbResumeOper}, false);
  TfmVlxProgress::SetControlsShown({Form.bbCancel}, true);
  PlaceForm(&Form, true);
  Form.Show();
  ProgressDisableWindows();
}

void ProgressDisableWindows() {
  if (!GRunDisabled) GRunDisabled = std::make_unique<TFormsDisabled>(fmVlxProgress);
}

void ProgressAdvance(TfmVlxProgress* Form, int Count, int& Total, TPoint PagePanel) {
  if (!Form || TickCount() - Form->LastTick <= RefreshMs) return;
  double Fraction = 0;
  if (Total >= 1) {
    // The bar falls back below full rather than running past its frame.
    if (Count > Total) Total *= 2;
    Fraction = static_cast<double>(Count) / Total;
  }
  Form->paProgressBar->SetWidth(static_cast<int>(Form->paProgressBackground->Width() * Fraction));
  Form->ShowBarText(Format("%d %s (%3.0f%%)", {Count, TfmVlxProgress::CountUnitName(), Fraction * 100}));
  if (PagePanel.Y > 0)
    Form->lbPageNum->SetCaption(
        Format(Form->OperationText(false, false) + ": Page %d-%d", {PagePanel.Y, PagePanel.X}));
  Application->ProcessMessages();
  Form->LastTick = TickCount();
}

void ProgressFinish(bool ShowSummary, const std::string& Msg) {
  // Before the progress window goes, so that the window the user worked in is active again.
  GRunDisabled.reset();
  if (!fmVlxProgress) return;
  // Freed however the summary ends, an exception included.
  std::unique_ptr<TfmVlxProgress> Form(fmVlxProgress);
  struct TClear {
    ~TClear() { fmVlxProgress = nullptr; }
  } Clear;
  Screen->SetCursor(Form->SavedCursor);
  if (ShowSummary) {
    Form->ShowSummary(Msg);
    return;
  }
  Form->MayClose = true;
  Form->Close();
}
